#include "ui/panes/CriteriaControls.h"

#include "settings/SettingsSchema.h"
#include "settings/XmlTools.h"
#include "ui/common/WindowTexts.h"
#include "ui/panes/PaneWidgets.h"
#include "ui/panes/SettingWriter.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace quillbay {

CriteriaControls::CriteriaControls(SettingWriter &writer, RuleKind kind) : m_writer(writer), m_kind(kind) {}

const char *CriteriaControls::element() const
{
    return m_kind == RuleKind::File ? kFileCriteria : kFolderCriteria;
}

QLineEdit *CriteriaControls::addText(const QString &name, const char *attribute, bool resettable)
{
    auto *box = new QLineEdit;
    box->setObjectName(name);
    QObject::connect(box, &QLineEdit::textChanged, &m_writer,
                     [this, attribute](const QString &text) { m_writer.setAttribute(element(), attribute, text); });
    m_texts.append({box, attribute, resettable});
    return box;
}

QCheckBox *CriteriaControls::addFlag(const QString &name, const char *attribute, const QString &tag, bool resettable)
{
    auto *box = new QCheckBox;
    box->setObjectName(name);
    setTag(box, tag);
    QObject::connect(box, &QCheckBox::toggled, &m_writer,
                     [this, attribute](bool checked) { m_writer.setCriteriaFlag(m_kind, attribute, checked); });
    m_flags.append({box, attribute, resettable});
    return box;
}

void CriteriaControls::load(pugi::xml_node criteria)
{
    for (const Text &text : m_texts)
        text.box->setText(toQString(criteria.attribute(text.attribute)));
    for (const Flag &flag : m_flags)
        flag.box->setChecked(parseFlag(toQString(criteria.attribute(flag.attribute))).value_or(false));
}

void CriteriaControls::reset()
{
    for (const Text &text : m_texts) {
        if (text.resettable)
            text.box->clear();
    }
    for (const Flag &flag : m_flags) {
        if (flag.resettable)
            flag.box->setChecked(false);
    }
}

QWidget *makeCriteriaPane(const QString &name, const QList<CriteriaRow> &rows)
{
    auto *pane = new QWidget;
    pane->setObjectName(name);
    auto *grid = new QGridLayout(pane);
    grid->setContentsMargins(0, 0, 0, 0);
    int afterColumns = 0;
    for (const CriteriaRow &row : rows)
        afterColumns = std::max(afterColumns, int(row.after.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const CriteriaRow &row = rows[r];
        grid->addWidget(makeLabel(QString::fromLatin1(row.label), QString::fromLatin1(row.tag), row.field), r, 0);
        grid->addWidget(row.field, r, 1, 1, 1 + afterColumns - int(row.after.size()));
        for (int i = 0; i < row.after.size(); ++i)
            grid->addWidget(row.after[i], r, 2 + afterColumns - int(row.after.size()) + i);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(int(rows.size()), 1);
    return pane;
}

} // namespace quillbay
