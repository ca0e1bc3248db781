#pragma once
// Asks which setting gets a folder handed in from outside, and whether the
// folder replaces the setting's Look-in folders or joins them. Remembers the
// last chosen list position and choice in the options ("FormSelectSetting":
// "SettingIndex", "ReplaceOrAdd"), with its position.

#include <QDialog>
#include <QStringList>

class QComboBox;
class QRadioButton;

namespace quillbay {

class Options;

class frmSelectSetting : public QDialog
{
    Q_OBJECT

public:
    enum Choice { SingleFolder = 0, AddFolder = 1 };

    frmSelectSetting(Options &options, const QStringList &settingNames, QWidget *parent = nullptr);

    bool cancelled() const { return m_cancelled; }
    QString settingName() const { return m_settingName; }
    Choice choice() const { return m_choice; }

    static QString objectNameInOptions() { return QStringLiteral("FormSelectSetting"); }

protected:
    void done(int result) override;

private:
    void load();

    Options &m_options;
    QComboBox *m_settings;
    QRadioButton *m_single;
    QRadioButton *m_add;
    bool m_cancelled = true;
    QString m_settingName;
    Choice m_choice = SingleFolder;
};

} // namespace quillbay
