#pragma once
// The options dialog: how long reports are kept, the font of the windows,
// and whether the file manager's folder menu offers the program. Its
// controls are bound to options through their tags ("o=<key>"); OK and Apply
// copy them into the options table, apply the font to every window and
// write the values the file manager's menu reads. Nothing reaches the disk
// until the settings are saved.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace quillbay {

class DigitLineEdit;
struct ProgramContext;

class frmOptions : public QDialog
{
    Q_OBJECT

public:
    explicit frmOptions(ProgramContext &context, QWidget *parent = nullptr);

    bool changed() const { return m_changed; }
    void apply();

    static QString objectNameInOptions() { return QStringLiteral("FormOptions"); }

protected:
    void done(int result) override;

private:
    QWidget *makeReportPage();
    QWidget *makeFontPage();
    QWidget *makeFileManagerPage();
    void load();
    void markChanged();
    void selectFont();

    ProgramContext &m_context;
    QTabWidget *m_tabs;
    DigitLineEdit *m_reportDays = nullptr;
    QLabel *m_fontName = nullptr;
    QLabel *m_fontSize = nullptr;
    QCheckBox *m_folderMenu = nullptr;
    QComboBox *m_accessKey = nullptr;
    QPushButton *m_apply;
    bool m_changed = false;
    bool m_loading = false;
};

} // namespace quillbay
