// The Look-in and criteria pages driven as a user drives them: folders added,
// dropped and removed, the depth and days boxes typed into and stepped, the
// criteria filled and reset; the settings document is checked after each
// step, and loading a setting is checked to write exactly what it should.

#include "PageTestSupport.h"

#include "text/UiText.h"
#include "ui/panes/FileCriteriaPage.h"
#include "ui/panes/LookInFolderCheck.h"
#include "ui/window/SettingEditor.h"
#include "ui/window/WindowCommands.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace quillbay;
using namespace quillbay::test;

namespace {

QString attribute(SettingsDocument &settings, const char *element, const char *name)
{
    return toQString(settings.SelectedSetting().child(element).attribute(name));
}

QStringList folderPaths(SettingsDocument &settings)
{
    QStringList paths;
    for (pugi::xml_node f = settings.SelectedSetting().child("folders").child("folder"); f;
         f = f.next_sibling("folder"))
        paths << toQString(f.attribute("path"));
    return paths;
}

QMimeData *fileList(const QStringList &paths)
{
    auto *data = new QMimeData;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    return data;
}

} // namespace

class PagesTest : public QObject
{
    Q_OBJECT

private:
    PageWindow m_page;

    frmMain &openWith(const char *document) { return m_page.open(document); }
    SettingsDocument &settings() { return m_page.settings(); }
    template<typename T>
    T *control(const char *name)
    {
        return m_page.control<T>(name);
    }
    QString folder(const QString &name) { return m_page.folder(name); }

private slots:
    void init() { QVERIFY(m_page.prepare()); }
    void cleanup() { m_page.close(); }

    // Dropping a file adds its folder and takes its name as the criteria;
    // every path of a drop is checked on its own, and a refusal stops none
    // of the others.
    void droppedPaths_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("folder list") << "treFolders";
        QTest::newRow("its label") << "lblFoldersList";
        QTest::newRow("criteria page") << "picPaneTab_1";
    }
    void droppedPaths()
    {
        QFETCH(QString, target);
        frmMain &window = openWith(nullptr);
        if (target == QLatin1String("picPaneTab_1"))
            window.ShowTabPage(1);
        const QString photos = folder(QStringLiteral("D"));
        const QString other = folder(QStringLiteral("Other"));
        QFile photo(photos + QStringLiteral("/photo.JPG"));
        QVERIFY(photo.open(QIODevice::WriteOnly));
        photo.close();
        QString refusal;
        answerMessage(QMessageBox::Ok, &refusal);
        std::unique_ptr<QMimeData> data(
            fileList({photo.fileName(), QStringLiteral("/usr/share"), m_page.path(QStringLiteral("gone")), other}));
        QVERIFY(dropAt(window.findChild<QWidget *>(target), *data));
        QCOMPARE(refusal, QStringLiteral("Files in /usr or other system folders cannot be specified."));
        QCOMPARE(folderPaths(settings()), (QStringList{photos, other}));
        QCOMPARE(attribute(settings(), "fileToBeChanged", "startWith"), QStringLiteral("photo"));
        QCOMPARE(attribute(settings(), "fileToBeChanged", "ext"), QStringLiteral("JPG"));
        QCOMPARE(control<QLineEdit>("txtCriteriaFileBaseName")->text(), QStringLiteral("photo"));
        QCOMPARE(control<QLineEdit>("txtCriteriaFileExt")->text(), QStringLiteral("JPG"));
        QCOMPARE(control<QTreeWidget>("treFolders")->topLevelItemCount(), 2);

        // Plain text is one path (the line break after it is the sender's); a
        // folder already listed is not added again.
        window.ShowTabPage(0);
        QMimeData text;
        text.setText(other + u'\n');
        QVERIFY(dropAt(control<QWidget>("treFolders"), text));
        QCOMPARE(folderPaths(settings()), (QStringList{photos, other}));
    }

    void systemAndNetworkFoldersAreRefused_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("refusedAs");
        QTest::newRow("root") << "/"
                              << "/";
        QTest::newRow("below /usr") << "/usr/share/doc"
                                    << "/usr";
        QTest::newRow("/etc itself") << "/etc"
                                     << "/etc";
        QTest::newRow("/lib64 as /lib*") << "/lib64/x"
                                         << "/lib64";
        QTest::newRow("/usr2 is not /usr") << "/usr2/x"
                                           << "";
        QTest::newRow("/variable is not /var") << "/variable"
                                               << "";
        QTest::newRow("home") << "/home/someone/Pictures"
                              << "";
        QTest::newRow("/run/user") << "/run/user/1000/gvfs"
                                   << "/run";
    }
    void systemAndNetworkFoldersAreRefused()
    {
        QFETCH(QString, path);
        QFETCH(QString, refusedAs);
        QCOMPARE(systemFolderOf(path), refusedAs);
    }

    // A link is checked where it leads; the message names the refused folder.
    void linkToASystemFolderIsRefused()
    {
        const QString link = m_page.path(QStringLiteral("settings-link"));
        QVERIFY(QFile::link(QStringLiteral("/etc"), link));
        const LookInCheck check = ValidateLookInFolder(link);
        QVERIFY(!check.accepted);
        QCOMPARE(check.messageId, 940);
        QCOMPARE(check.message, QStringLiteral("Files in /etc or other system folders cannot be specified."));
        QCOMPARE(ValidateLookInFolder(m_page.path(QStringLiteral("nothing"))).messageId, 942);
        const LookInCheck file = ValidateLookInFolder(QStringLiteral("/etc/hostname"));
        QCOMPARE(file.messageId, QFile::exists(QStringLiteral("/etc/hostname")) ? 940 : 942);
    }

    // The mount table says the folder's file system is NFS: 941.
    void folderOnANetworkMountIsRefused()
    {
        const QString share = folder(QStringLiteral("share"));
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(share).constData(), &info), 0);
        const QString canonical = QFileInfo(share).canonicalFilePath();
        QFile table(m_page.path(QStringLiteral("mountinfo")));
        QVERIFY(table.open(QIODevice::WriteOnly));
        table.write(QStringLiteral("22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
                                   "90 22 %1:%2 / %3 rw,relatime shared:50 - nfs4 server:/export rw\n")
                        .arg(major(info.st_dev))
                        .arg(minor(info.st_dev))
                        .arg(QString(canonical).replace(u' ', QStringLiteral("\\040")))
                        .toUtf8());
        table.close();
        const LookInCheck check = ValidateLookInFolder(share + QStringLiteral("/."), table.fileName());
        QCOMPARE(check.messageId, 941);
        QCOMPARE(check.message, QStringLiteral("Network files cannot be specified."));
        QVERIFY(ValidateLookInFolder(share).accepted); // this machine's own table
    }

    void removeKeepsTheNeighbourSelected()
    {
        frmMain &window = openWith(nullptr);
        // Add Folder shows the folder picker; the chosen folder is checked and
        // added, once.
        for (const char *name : {"a", "b", "c", "b"}) {
            const QString chosen = folder(QString::fromLatin1(name));
            whenModalShows([chosen](QWidget *dialog) {
                auto *picker = qobject_cast<QFileDialog *>(dialog);
                picker->setDirectory(chosen); // the folder on show is the one chosen
                QMetaObject::invokeMethod(picker, "accept");
            });
            child<QAction>(&window, "mnuFolderAdd")->trigger();
        }
        QCOMPARE(folderPaths(settings()), (QStringList{folder("a"), folder("b"), folder("c")}));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto *list = control<QTreeWidget>("treFolders");
        list->setCurrentItem(list->topLevelItem(1));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(folderPaths(settings()), (QStringList{folder("a"), folder("c")}));
        QCOMPARE(list->currentItem()->text(0), folder("a")); // the one before
        list->setCurrentItem(list->topLevelItem(0));
        child<QAction>(&window, "mnuFolderRemove")->trigger();
        QCOMPARE(list->currentItem()->text(0), folder("c")); // none before: the one after
        child<QAction>(&window, "mnuFolderRemoveAll")->trigger();
        QVERIFY(folderPaths(settings()).isEmpty());
        QCOMPARE(list->topLevelItemCount(), 0);
    }

    void depthButtonsAndTyping_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("attribute");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("expected");
        QTest::newRow("depth down at 0") << "txtSubFolderDepth"
                                         << "subFoldersDepth"
                                         << "0"
                                         << "cmdSubFolderDepthDown"
                                         << "0";
        QTest::newRow("depth up at 9999") << "txtSubFolderDepth"
                                          << "subFoldersDepth"
                                          << "9999"
                                          << "cmdSubFolderDepthUp"
                                          << "9999";
        QTest::newRow("depth up from 12345") << "txtSubFolderDepth"
                                             << "subFoldersDepth"
                                             << "12345"
                                             << "cmdSubFolderDepthUp"
                                             << "9999";
        QTest::newRow("empty depth up") << "txtSubFolderDepth"
                                        << "subFoldersDepth"
                                        << ""
                                        << "cmdSubFolderDepthUp"
                                        << "1";
        QTest::newRow("empty depth down") << "txtSubFolderDepth"
                                          << "subFoldersDepth"
                                          << ""
                                          << "cmdSubFolderDepthDown"
                                          << "0";
        QTest::newRow("empty days up") << "txtCriteriaFileDateMod"
                                       << "days"
                                       << ""
                                       << "cmdCriteriaFileDateModUp"
                                       << "1";
        QTest::newRow("empty days down") << "txtCriteriaFileDateMod"
                                         << "days"
                                         << ""
                                         << "cmdCriteriaFileDateModDown"
                                         << "1";
        QTest::newRow("days down at 1") << "txtCriteriaFileDateMod"
                                        << "days"
                                        << "1"
                                        << "cmdCriteriaFileDateModDown"
                                        << "1";
        QTest::newRow("days up") << "txtCriteriaFileDateMod"
                                 << "days"
                                 << "7"
                                 << "cmdCriteriaFileDateModUp"
                                 << "8";
    }
    void depthButtonsAndTyping()
    {
        QFETCH(QString, box);
        QFETCH(QString, attribute);
        QFETCH(QString, start);
        QFETCH(QString, button);
        QFETCH(QString, expected);
        frmMain &window = openWith(nullptr);
        window.ShowTabPage(box.startsWith(QLatin1String("txtSub")) ? 0 : 1);
        auto *edit = control<QLineEdit>(box.toLatin1().constData());
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, start); // typing is not clamped
        const char *element = box.startsWith(QLatin1String("txtSub")) ? "folders" : "fileToBeChanged";
        QCOMPARE(::attribute(settings(), element, attribute.toLatin1().constData()), start);
        QTest::mouseClick(control<QToolButton>(button.toLatin1().constData()), Qt::LeftButton);
        QCOMPARE(edit->text(), expected);
        QCOMPARE(::attribute(settings(), element, attribute.toLatin1().constData()), expected);
    }

    // Typed letters are dropped; pasted ones are taken, stored, and read back
    // as "1" (which is then stored) the next time the setting is loaded.
    void lettersInTheDaysBox()
    {
        frmMain &window = openWith(nullptr);
        window.ShowTabPage(1);
        auto *days = control<QLineEdit>("txtCriteriaFileDateMod");
        days->selectAll();
        QTest::keyClicks(days, QStringLiteral("3x"));
        QTest::keyClick(days, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(days->text(), QStringLiteral("3"));
        QGuiApplication::clipboard()->setText(QStringLiteral("ab"));
        days->end(false);
        std::unique_ptr<QMenu> menu(days->createStandardContextMenu());
        for (QAction *action : menu->actions()) {
            if (action->text().startsWith(QLatin1String("&Paste")))
                action->trigger();
        }
        QCOMPARE(days->text(), QStringLiteral("3ab"));
        QCOMPARE(attribute(settings(), "fileToBeChanged", "days"), QStringLiteral("3ab"));
        window.RefreshCurrentSetting();
        QCOMPARE(days->text(), QStringLiteral("1"));
        QCOMPARE(attribute(settings(), "fileToBeChanged", "days"), QStringLiteral("1"));
    }

    // Another value than "all" and "deep" selects the depth option, and is
    // replaced only when loading changes which option is selected.
    void unknownChildFolders()
    {
        openWith("<settings version=\"2.0\" select=\"odd\">"
                 "<setting name=\"odd\"><folders childFolders=\"most\"/></setting>"
                 "<setting name=\"all\"><folders childFolders=\"all\"/></setting>"
                 "<setting name=\"deep\"><folders childFolders=\"deep\"/></setting></settings>");
        QVERIFY(control<QRadioButton>("optSubFolders_1")->isChecked());
        QCOMPARE(attribute(settings(), "folders", "childFolders"), QStringLiteral("deep")); // newly selected
        auto *selector = control<QComboBox>("cboSetting");
        settings().FindSetting(QStringLiteral("odd")).child("folders").attribute("childFolders").set_value("most");
        selector->setCurrentIndex(selector->findText(QStringLiteral("deep")));
        selector->setCurrentIndex(selector->findText(QStringLiteral("odd")));
        QVERIFY(control<QRadioButton>("optSubFolders_1")->isChecked());
        QCOMPARE(attribute(settings(), "folders", "childFolders"), QStringLiteral("most")); // unchanged option
        selector->setCurrentIndex(selector->findText(QStringLiteral("all")));
        QVERIFY(control<QRadioButton>("optSubFolders_0")->isChecked());
        control<QRadioButton>("optSubFolders_1")->click();
        QCOMPARE(attribute(settings(), "folders", "childFolders"), QStringLiteral("deep"));
    }

    // Each box and check box writes as it changes; the advanced way shows
    // the other pane; the image button replaces the extensions; reset
    // clears the criteria of both pages and keeps the date filter.
    void criteriaAreWrittenAndReset()
    {
        frmMain &window = openWith(nullptr);
        window.ShowTabPage(1);
        QTest::keyClicks(control<QLineEdit>("txtCriteriaFileBaseName"), QStringLiteral("IMG"));
        QTest::keyClicks(control<QLineEdit>("txtCriteriaFileExt"), QStringLiteral("raw"));
        QTest::mouseClick(control<QToolButton>("cmdCriteriaFileTypeImage"), Qt::LeftButton);
        QCOMPARE(attribute(settings(), "fileToBeChanged", "ext"), FileCriteriaPage::kImageTypes);
        QTest::mouseClick(control<QToolButton>("cmdCriteriaFileTypeSound"), Qt::LeftButton);
        QCOMPARE(control<QLineEdit>("txtCriteriaFileExt")->text(), FileCriteriaPage::kSoundTypes);
        control<QCheckBox>("chkCriteriaFileRegularExpression")->click();
        QVERIFY(control<QWidget>("picPaneCriteriaFile_1")->isVisible());
        QVERIFY(!control<QWidget>("picPaneCriteriaFile_0")->isVisible());
        QTest::keyClicks(control<QLineEdit>("txtCriteriaFileBaseNameRegExp"), QStringLiteral("^a+"));
        control<QCheckBox>("chkCriteriaFileExtRegExpIC")->click();
        control<QCheckBox>("chkCriteriaFileDateMod")->click();
        window.ShowTabPage(3);
        QTest::keyClicks(control<QLineEdit>("txtCriteriaFolderEnd"), QStringLiteral("_old"));
        control<QCheckBox>("chkCriteriaFolderNameRegExpIC")->click();
        QCOMPARE(attribute(settings(), "fileToBeChanged", "startWith"), QStringLiteral("IMG"));
        QCOMPARE(attribute(settings(), "fileToBeChanged", "regExp"), QStringLiteral("true"));
        QCOMPARE(attribute(settings(), "fileToBeChanged", "regExpBaseName"), QStringLiteral("^a+"));
        QCOMPARE(attribute(settings(), "fileToBeChanged", "regExpExtIgnoreCase"), QStringLiteral("true"));
        QCOMPARE(attribute(settings(), "fileToBeChanged", "dateModified"), QStringLiteral("true"));
        QCOMPARE(attribute(settings(), "folderToBeChanged", "endWith"), QStringLiteral("_old"));
        QCOMPARE(attribute(settings(), "folderToBeChanged", "regExpNameIgnoreCase"), QStringLiteral("true"));

        QTest::keyClick(&window, Qt::Key_B, Qt::ControlModifier);
        for (const char *name : {"startWith", "ext", "regExpBaseName", "regExpExt"})
            QCOMPARE(attribute(settings(), "fileToBeChanged", name), QString());
        for (const char *name : {"regExp", "regExpExtIgnoreCase"})
            QCOMPARE(attribute(settings(), "fileToBeChanged", name), QStringLiteral("false"));
        // A box that was clear already writes nothing: the default document's value stays.
        QCOMPARE(attribute(settings(), "fileToBeChanged", "regExpBaseNameIgnoreCase"), QStringLiteral("False"));
        QCOMPARE(attribute(settings(), "folderToBeChanged", "endWith"), QString());
        QCOMPARE(attribute(settings(), "folderToBeChanged", "regExpNameIgnoreCase"), QStringLiteral("false"));
        QCOMPARE(attribute(settings(), "fileToBeChanged", "dateModified"), QStringLiteral("true"));
        QCOMPARE(attribute(settings(), "fileToBeChanged", "days"), QStringLiteral("1"));
        QVERIFY(control<QCheckBox>("chkCriteriaFileDateMod")->isChecked());
        window.ShowTabPage(1);
        QVERIFY(control<QWidget>("picPaneCriteriaFile_0")->isVisible());
    }

    // Loading each setting of the default document writes only what a
    // control that changes writes: "Setting 1", the first, has no "days",
    // which the days box then shows as 1 and stores; every later setting
    // finds the box at 1 already.
    void loadingTheDefaultDocumentWritesOnlyWhatChanges()
    {
        WindowFixture &fixture = m_page.load(nullptr);
        pugi::xml_document expected;
        expected.reset(settings().document());
        expected.document_element()
            .find_child_by_attribute("setting", "name", "Setting 1")
            .child("fileToBeChanged")
            .append_attribute("days")
            .set_value("1");
        frmMain &window = fixture.open();
        auto *selector = control<QComboBox>("cboSetting");
        for (const char *name : {"MP3", "FUJIFILM CLIP-IT 50", "MS Office", "(C)(R)(TM)"})
            selector->setCurrentIndex(selector->findText(QString::fromLatin1(name)));
        QCOMPARE(window.CurrentSettingName(), QStringLiteral("(C)(R)(TM)"));
        settings().SelectSetting(QStringLiteral("Setting 1"));
        QCOMPARE(flattened(settings()), flattened(expected));
    }

    // Missing and wrong values: what the pages write back, and nothing else.
    void loadingMissingAndInvalidValues()
    {
        const char *document =
            "<settings version=\"2.0\" select=\"A\"><setting name=\"A\">"
            "<folders subFoldersDepth=\"x\"><folder id=\"f1\" path=\"/nowhere\"/></folders>"
            "<fileToBeChanged regExp=\"maybe\" days=\"soon\" startWith=\"s\"/>"
            "<newNameRules><rule id=\"r1\" type=\"numbering\" start=\"-5\" column=\"abc\" position=\"bogus\"/>"
            "<rule id=\"r2\" type=\"unknownType\" x=\"1\"/></newNameRules>"
            "<newFolderNameRules><rule id=\"r3\" type=\"date\"/></newFolderNameRules>"
            "</setting><setting name=\"B\"/></settings>";
        const char *expectedText =
            "<settings version=\"2.0\" select=\"A\"><setting name=\"A\">"
            "<folders subFoldersDepth=\"0\" childFolders=\"deep\"><folder id=\"f1\" path=\"/nowhere\"/></folders>"
            "<fileToBeChanged regExp=\"maybe\" days=\"1\" startWith=\"s\"/>"
            "<newNameRules><rule id=\"r1\" type=\"numbering\" start=\"0\" column=\"2\" position=\"bogus\"/>"
            "<rule id=\"r2\" type=\"unknownType\" x=\"1\"/></newNameRules>"
            "<newFolderNameRules><rule id=\"r3\" type=\"date\" position=\"before\"/></newFolderNameRules>"
            "</setting><setting name=\"B\"><folders childFolders=\"deep\"/><fileToBeChanged startWith=\"\"/>"
            "</setting></settings>";
        frmMain &window = openWith(document);
        auto *selector = control<QComboBox>("cboSetting");
        selector->setCurrentIndex(selector->findText(QStringLiteral("B")));
        selector->setCurrentIndex(selector->findText(QStringLiteral("A")));
        QCOMPARE(window.CurrentSettingName(), QStringLiteral("A"));
        SettingsDocument expected;
        QVERIFY(expected.loadText(QString::fromUtf8(expectedText)));
        QCOMPARE(flattened(settings()), flattened(expected));
    }
};

QTEST_MAIN(PagesTest)
#include "tst_pages.moc"
