#pragma once
// Tab page "Look in" (picPaneTab_0): the folders a setting searches, and how
// deep into their child folders. Folders come from the folder picker or are
// dropped from the file manager onto the list, its label or the window.

#include "ui/dialogs/FolderPicker.h"
#include "ui/window/SettingHost.h"

class QButtonGroup;
class QDropEvent;
class QEvent;
class QLabel;
class QRadioButton;
class QTreeWidget;

namespace quillbay {

class DigitLineEdit;
class SettingWriter;

class LookInPage : public SettingPage
{
    Q_OBJECT

public:
    LookInPage(SettingWriter &writer, QWidget *parent = nullptr);

    void loadSetting() override;
    bool removeSelectedItem() override;

    // The commands of the page (menu, toolbar).
    void addFolder();    // the folder picker, then ValidateLookInFolder and AddLookInFolder
    void removeFolder(); // the selected folder; its neighbour stays selected
    void removeAllFolders();

    void AddLookInFolder(const QString &path);
    // A folder is added; a file adds its folder and sets the files criteria
    // to its name; anything else is ignored.
    void AcceptDroppedPath(const QString &path);
    // Drag events that reach the window (over the list, its label or the bare
    // window): accepts a list of files or text, and on the drop hands every
    // path to AcceptDroppedPath in order. True when the event was taken.
    bool takeDrag(QEvent *event);

private:
    void buildControls();
    void connectWrites();
    void selectFolder(const QString &id);

    SettingWriter &m_writer;
    FolderPicker m_picker; // created with the window, kept for its life
    QLabel *m_label;
    QTreeWidget *m_folders;
    QButtonGroup *m_depthOptions;
    QRadioButton *m_allChildFolders;
    QRadioButton *m_upToDepth;
    DigitLineEdit *m_depth;
};

} // namespace quillbay
