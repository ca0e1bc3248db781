#pragma once
// Tab page "Folders Criteria" (picPaneTab_3): which child folders a setting
// renames, by the start and end of their names (simple pane) or by a regular
// expression (advanced pane); one of the two panes is shown.

#include "ui/window/SettingHost.h"

#include <memory>

class QCheckBox;
class QStackedWidget;

namespace quillbay {

class CriteriaControls;
class SettingWriter;

class FolderCriteriaPage : public SettingPage
{
    Q_OBJECT

public:
    FolderCriteriaPage(SettingWriter &writer, QWidget *parent = nullptr);
    ~FolderCriteriaPage() override;

    void loadSetting() override;
    void resetCriteria();

private:
    QWidget *buildSimplePane();
    QWidget *buildAdvancedPane();

    SettingWriter &m_writer;
    std::unique_ptr<CriteriaControls> m_controls;
    QCheckBox *m_advanced;
    QStackedWidget *m_panes;
};

} // namespace quillbay
