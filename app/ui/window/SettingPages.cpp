#include "ui/window/SettingPages.h"

#include "ui/panes/FileCriteriaPage.h"
#include "ui/panes/FolderCriteriaPage.h"
#include "ui/panes/LookInPage.h"
#include "ui/panes/RulesPage.h"
#include "ui/panes/SettingWriter.h"
#include "ui/window/SettingHost.h"
#include "ui/window/WindowCommands.h"

namespace quillbay {

QList<SettingPage *> createSettingPages(SettingHost &host, WindowCommands &commands)
{
    auto *writer = new SettingWriter(host, &commands);
    auto *lookIn = new LookInPage(*writer);
    auto *fileCriteria = new FileCriteriaPage(*writer);
    auto *fileRules = new RulesPage(RuleKind::File, *writer);
    auto *folderCriteria = new FolderCriteriaPage(*writer);
    auto *folderRules = new RulesPage(RuleKind::Folder, *writer);

    commands.setHandler(Command::FolderAdd, [lookIn] { lookIn->addFolder(); });
    commands.setHandler(Command::FolderRemove, [lookIn] { lookIn->removeFolder(); });
    commands.setHandler(Command::FolderRemoveAll, [lookIn] { lookIn->removeAllFolders(); });
    commands.setHandler(Command::CriteriaReset, [fileCriteria, folderCriteria] {
        fileCriteria->resetCriteria();
        folderCriteria->resetCriteria();
    });
    // Enabled only while one of the two rule pages is shown; it adds to that one.
    commands.setHandler(Command::NamingRuleAdd, [fileRules, folderRules] {
        if (fileRules->isEnabled())
            fileRules->addRule();
        else if (folderRules->isEnabled())
            folderRules->addRule();
    });
    return {lookIn, fileCriteria, fileRules, folderCriteria, folderRules};
}

} // namespace quillbay
