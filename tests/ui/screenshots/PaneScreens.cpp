// The tab pages with content: a Look-in folder with files, criteria filled
// in, rules in both lists, and the option panes of three kinds of rule with
// the live sample under them.

#include "ScreenshotSession.h"

#include "settings/SettingsDocument.h"
#include "ui/panes/RuleListView.h"
#include "ui/panes/RulesPage.h"
#include "ui/window/SettingEditor.h"

#include <QDir>
#include <QFile>

namespace quillbay::shots {

namespace {

void makeSampleFiles(const QString &folder)
{
    const QStringList names{"IMG_0001.JPG",          "IMG_0002.JPG", "IMG_0003.JPG", "Holiday photo 12.jpeg",
                            "Holiday photo 13.jpeg", "notes.txt",    "写真 2024.png"};
    for (const QString &name : names) {
        QFile file(QDir(folder).filePath(name));
        (void)file.open(QIODevice::WriteOnly);
    }
    QDir(folder).mkpath(QStringLiteral("Trip 2023"));
    QDir(folder).mkpath(QStringLiteral("misc"));
}

// The current setting with a folder, criteria and rules of each list.
void fillSetting(frmMain &window, const QString &folder)
{
    SettingsDocument &settings = window.settings();
    const QString name = window.CurrentSettingName();
    settings.AddFolderEntry(name, folder);
    settings.AddFolderEntry(name, QDir::homePath());
    settings.SetSettingAttribute(name, "folders", "subFoldersDepth", QStringLiteral("1"));
    settings.SetSettingAttribute(name, "fileToBeChanged", "ext", QStringLiteral("jpg jpeg png"));
    settings.SetSettingAttribute(name, "folderToBeChanged", "startWith", QStringLiteral("Trip"));
    pugi::xml_node pattern = settings.AddRule(name, RuleKind::File, QStringLiteral("regexp"));
    pattern.append_attribute("basePattern").set_value("^IMG_");
    pattern.append_attribute("baseReplace").set_value("Photo ");
    pugi::xml_node numbering = settings.AddRule(name, RuleKind::File, QStringLiteral("numbering"));
    numbering.append_attribute("prefix").set_value(" #");
    numbering.append_attribute("position").set_value("after");
    pugi::xml_node date = settings.AddRule(name, RuleKind::File, QStringLiteral("date"));
    date.append_attribute("option").set_value("short date 1");
    date.append_attribute("position").set_value("before");
    settings.AddRule(name, RuleKind::File, QStringLiteral("caseExt"));
    settings.AddRule(name, RuleKind::Folder, QStringLiteral("add"));
    settings.AddRule(name, RuleKind::Folder, QStringLiteral("date"));
    window.RefreshCurrentSetting();
}

void panePages(ScreenshotSession &session)
{
    frmMain &window = session.openWindow();
    makeSampleFiles(session.sampleFolder());
    fillSetting(window, session.sampleFolder());
    for (int page = 0; page < SettingEditor::kPageCount; ++page) {
        window.ShowTabPage(page);
        session.settle(300);
        session.save(&window, QStringLiteral("pages-tab%1").arg(page));
    }
    // Three option panes of the file rules, each with its sample.
    auto *fileRules = static_cast<RulesPage *>(window.editor().page(2));
    window.ShowTabPage(2);
    const QStringList shown{"regexp", "numbering", "date"};
    for (int row = 0; row < shown.size(); ++row) {
        fileRules->SelectRuleNode(fileRules->list()->idAt(row));
        session.settle(500);
        session.save(&window, QStringLiteral("pane-%1").arg(shown[row]));
    }
    window.ShowTabPage(0);
}

} // namespace

QUILLBAY_SCREENS("tab pages and option panes", panePages);

} // namespace quillbay::shots
