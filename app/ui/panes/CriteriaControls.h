#pragma once
// The text boxes and check boxes of one criteria element (fileToBeChanged or
// folderToBeChanged): each writes its attribute as soon as it changes (texts
// as typed, check boxes "true" or "false"), and is loaded as the user would
// set it, so that only a control whose value changes writes.

#include "settings/SettingsDocument.h"

#include <QList>
#include <QString>

class QCheckBox;
class QLineEdit;
class QWidget;

namespace quillbay {

class SettingWriter;

class CriteriaControls
{
public:
    CriteriaControls(SettingWriter &writer, RuleKind kind);

    // resettable: emptied or cleared by "Reset settings in Files or Folders Criteria".
    QLineEdit *addText(const QString &name, const char *attribute, bool resettable = true);
    QCheckBox *addFlag(const QString &name, const char *attribute, const QString &tag, bool resettable = true);

    // The controls from the element's attributes (a missing one reads as
    // empty or unchecked); nothing is written but by controls that change.
    void load(pugi::xml_node criteria);
    // Empties the resettable text boxes and clears the resettable check boxes.
    void reset();

    const char *element() const;

private:
    struct Text {
        QLineEdit *box;
        const char *attribute;
        bool resettable;
    };
    struct Flag {
        QCheckBox *box;
        const char *attribute;
        bool resettable;
    };
    SettingWriter &m_writer;
    RuleKind m_kind;
    QList<Text> m_texts;
    QList<Flag> m_flags;
};

// One row of a criteria pane: its caption (label name and tag), the field
// that takes the width, and small controls after it.
struct CriteriaRow {
    const char *label;
    const char *tag;
    QWidget *field;
    QList<QWidget *> after;
};

// A criteria pane (picPaneCriteriaFile_N, picPaneCriteriaFolder_N) of rows.
QWidget *makeCriteriaPane(const QString &name, const QList<CriteriaRow> &rows);

} // namespace quillbay
