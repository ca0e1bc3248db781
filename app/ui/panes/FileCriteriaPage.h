#pragma once
// Tab page "Files Criteria" (picPaneTab_1): which files a setting renames.
// Two panes of which one is shown, the simple one (name start, extensions,
// with buttons that set the common image and sound types) and the advanced
// one (regular expressions), and below them the modification-date filter.

#include "ui/window/SettingHost.h"

#include <memory>

class QCheckBox;
class QLineEdit;
class QStackedWidget;

namespace quillbay {

class CriteriaControls;
class DigitLineEdit;
class SettingWriter;

class FileCriteriaPage : public SettingPage
{
    Q_OBJECT

public:
    FileCriteriaPage(SettingWriter &writer, QWidget *parent = nullptr);
    ~FileCriteriaPage() override;

    void loadSetting() override;
    // Empties the criteria; the date filter stays as it is.
    void resetCriteria();

    static const QString kImageTypes;
    static const QString kSoundTypes;

private:
    QWidget *buildSimplePane();
    QWidget *buildAdvancedPane();
    QLayout *buildDateFilter();
    void showPane(bool advanced);

    SettingWriter &m_writer;
    std::unique_ptr<CriteriaControls> m_controls;
    QCheckBox *m_advanced;
    QStackedWidget *m_panes;
    QLineEdit *m_extensions = nullptr;
    DigitLineEdit *m_days = nullptr;
};

} // namespace quillbay
