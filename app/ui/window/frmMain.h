#pragma once
// The program's one document window. It shows the settings document one
// setting at a time in the setting editor, or, while a list of proposed
// renames is shown, the preview pane in its place. Every edit goes straight
// into the settings document in memory, which reaches the disk when the
// window closes or when the user saves.
//
// The window is of fixed size: the size its layout asks for at the current
// font, computed again whenever the font changes.

#include "ui/common/ProgramContext.h"
#include "ui/preview/PreviewHost.h"
#include "ui/window/SettingHost.h"

#include <QMainWindow>
#include <memory>

class QStackedWidget;

namespace quillbay {

class FolderRequests;
class PreviewPane;
class ProgramCommands;
class SettingCommands;
class SettingEditor;
class WindowCommands;

class frmMain : public QMainWindow, public SettingHost, public PreviewHost
{
    Q_OBJECT

public:
    explicit frmMain(ProgramContext &context, QWidget *parent = nullptr);
    ~frmMain() override;

    // The start of the window, before it is shown: position, texts, the first
    // tab page, and (off the window's thread) the deletion of old reports.
    void load();

    // SettingHost and PreviewHost
    SettingsDocument &settings() override;
    QString CurrentSettingName() const override;
    void RefreshCurrentSetting() override;
    QWidget *dialogParent() override { return this; }

    void ArrangeControls();
    void FillSettingList();
    void LoadSettingIntoPanes();
    void UpdateCommandStates();
    void ShowTabPage(int index);
    // ArrangeControls, FillSettingList, then the setting the document marks
    // as selected is shown.
    void RefreshSettingList();
    // Stores the options and saves the settings file; after a failure asks
    // (message 932) whether to try again, until it works or the user gives up.
    bool SaveSettingsWithRetry();

    // The two faces: the preview pane in place of the setting editor (the
    // setting and rename menus disabled), and back.
    void showPreviewFace() override;
    void showEditorFace() override;
    bool previewing() const;

    ProgramContext &context() { return m_context; }
    WindowCommands &commands() { return *m_commands; }
    SettingEditor &editor() { return *m_editor; }
    PreviewPane &previewPane() { return *m_previewPane; }
    FolderRequests &folderRequests() { return *m_folderRequests; }
    // A request to end the program from outside (the session ends): open
    // dialogs are closed as if cancelled, and the window closes (saving the
    // settings) as soon as it is not busy.
    void requestClose();

    // Whether the last save at closing succeeded (false when the user gave up).
    bool savedAtClose() const { return m_savedAtClose; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    // Files and text dropped anywhere on the window go to the Look-in page.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool handleWindowKey(QKeyEvent *event);
    void handOverDrag(QDropEvent *event);
    void deleteOldReportsInBackground();
    void deleteOldReportsNow();

    ProgramContext &m_context;
    WindowCommands *m_commands;
    SettingEditor *m_editor;
    PreviewPane *m_previewPane;
    QStackedWidget *m_panes;
    std::unique_ptr<SettingCommands> m_settingCommands;
    std::unique_ptr<ProgramCommands> m_programCommands;
    std::unique_ptr<FolderRequests> m_folderRequests;
    bool m_savedAtClose = true;
    bool m_closeRequested = false;
};

} // namespace quillbay
