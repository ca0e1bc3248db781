// The preview pane driven as a user drives it: a preview of a real folder
// tree, its check boxes, Start and Close, the messages around a run, the
// reversal of a past run from the menu, and the report windows.

#include "WindowFixture.h"

#include "TestFiles.h"

#include "engine/PreviewTreeText.h"
#include "run/ReportFolders.h"
#include "settings/XmlTools.h"
#include "text/UiText.h"
#include "ui/preview/PreviewEntryDelegate.h"
#include "ui/preview/PreviewListModel.h"
#include "ui/preview/PreviewPane.h"
#include "ui/preview/ReportListModel.h"
#include "ui/preview/ReportTableModel.h"
#include "ui/preview/frmReportList.h"
#include "ui/preview/frmReportViewer.h"
#include "ui/window/SettingEditor.h"
#include "ui/window/WindowCommands.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeView>

using namespace quillbay;
using namespace quillbay::test;

namespace {

// The names in folder and below it ("sub/name"), sorted.
QStringList namesBelow(const QString &folder)
{
    QStringList names;
    for (const QString &name : namesIn(folder)) {
        names << name;
        if (QFileInfo(folder + u'/' + name).isDir())
            for (const QString &inner : namesBelow(folder + u'/' + name))
                names << name + u'/' + inner;
    }
    names.sort();
    return names;
}

// Answers the next file dialog with path, noting its title.
void chooseFile(const QString &path, QString *title = nullptr)
{
    whenModalShows([path, title](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog)
            return;
        if (title)
            *title = dialog->windowTitle();
        // Typed into the name box (selectFile leaves a box that has the focus
        // alone), then OK without waiting for the dialog's view of the folder.
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(path);
        static_cast<QDialog *>(dialog)->done(QDialog::Accepted);
    });
}

// The controls of window that a person reaches with the keyboard and a
// screen reader cannot name.
QStringList unnamedControls(QWidget *window)
{
    QStringList unnamed;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->focusPolicy() == Qt::NoFocus || widget->window() != window)
            continue;
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << widget->objectName() + u'(' + widget->metaObject()->className() + u')';
    }
    return unnamed;
}

} // namespace

class PreviewPaneTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<WindowFixture> m_fixture;
    QString m_tree;

    frmMain &window() { return *m_fixture->window; }
    PreviewPane &pane() { return window().previewPane(); }
    PreviewListModel &model() { return pane().model(); }
    Manager &manager() { return m_fixture->manager; }
    QPushButton *button(const char *name) { return child<QPushButton>(&window(), name); }
    QString label(const char *name) { return child<QLabel>(&window(), name)->text(); }
    QString reportFolder() const { return m_dir.filePath(QStringLiteral("data/Report")); }

    // The window over a setting "T" that looks in the tree with the given rules.
    frmMain &openWith(const QString &fileRules, const QString &folderRules = {},
                      const QString &depth = QStringLiteral("0"))
    {
        m_fixture = std::make_unique<WindowFixture>(m_dir.filePath(QStringLiteral("data")));
        const QString xml =
            QStringLiteral("<settings version=\"2.0\" select=\"T\"><setting name=\"T\"><folders childFolders=\"deep\" "
                           "subFoldersDepth=\"%1\"><folder path=\"%2\"/></folders><newNameRules>%3</newNameRules>"
                           "<newFolderNameRules>%4</newFolderNameRules></setting></settings>")
                .arg(depth, m_tree.toHtmlEscaped(), fileRules, folderRules);
        [&] { QVERIFY(m_fixture->manager.settings().loadText(xml).ok()); }();
        return m_fixture->open();
    }

    // Gives the command and waits until the job it started has been shown.
    bool runJob(const std::function<void()> &start)
    {
        QSignalSpy finished(&pane(), &PreviewPane::jobFinished);
        start();
        return finished.wait(20000);
    }
    bool preview()
    {
        return runJob([this] { QTest::keyClick(&window(), Qt::Key_P, Qt::ControlModifier); });
    }
    bool start()
    {
        return runJob([this] { button("cmdRename")->click(); });
    }

    QStringList listTexts()
    {
        QStringList texts;
        for (int row = 0; row < model().rowCount(); ++row)
            texts << model().index(row).data().toString();
        return texts;
    }
    QList<bool> checks()
    {
        QList<bool> marks;
        for (int row = 0; row < model().rowCount(); ++row)
            marks << (model().index(row).data(Qt::CheckStateRole).toInt() == Qt::Checked);
        return marks;
    }
    // The include marks of the preview document, read as the run reads them.
    QList<bool> documentMarks()
    {
        QList<bool> marks;
        for (pugi::xml_node e = manager().preview().root().first_child(); e; e = e.next_sibling())
            marks << parseFlag(toQString(e.attribute("include"))).value_or(true);
        return marks;
    }
    void toggleRow(int row)
    {
        QTreeView &list = pane().list();
        list.setFocus();
        list.setCurrentIndex(model().index(row));
        QTest::keyClick(&list, Qt::Key_Space);
    }
    QStringList reports() const
    {
        return QDir(reportFolder()).entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name);
    }

private slots:
    void init()
    {
        UiText::setLanguage(UiLanguage::English);
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).removeRecursively();
        m_tree = m_dir.filePath(QStringLiteral("tree"));
        QDir().mkpath(m_tree);
    }
    void cleanup()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<frmReportViewer *>(w) || qobject_cast<frmReportList *>(w))
                delete w;
        m_fixture.reset();
    }

    void previewOfAPreparedTree()
    {
        writeFile(m_tree + "/b.txt");
        writeFile(m_tree + "/a.txt");
        writeFile(m_tree + "/sub/c.txt");
        openWith("<rule type=\"add\" text=\"x_\" position=\"before\"/>",
                 "<rule type=\"add\" text=\"_d\" position=\"after\"/>", "1");
        QVERIFY(preview());
        QVERIFY(window().previewing());
        const QString sub = QDir::cleanPath(m_tree + "/sub");
        QCOMPARE(listTexts(),
                 (QStringList{"c.txt -> x_c.txt (in " + sub + ")", "sub\\ -> sub_d\\ (in " + m_tree + ")",
                              "a.txt -> x_a.txt (in " + m_tree + ")", "b.txt -> x_b.txt (in " + m_tree + ")"}));
        QCOMPARE(checks(), (QList<bool>{true, true, true, true}));
        QVERIFY(button("cmdRename")->isEnabled());
        QVERIFY(button("cmdClosePreview")->hasFocus());
        QCOMPARE(label("lblPreviewSummary"), QStringLiteral("4 to rename, 0 cleared"));
        QVERIFY(!m_fixture->state.busy());
        QVERIFY(!window().commands().menuAction(Command::RenameUndo)->isEnabled());
    }

    void emptyResultDisablesStartAndFocusesClose()
    {
        writeFile(m_tree + "/a.txt");
        openWith("<rule type=\"replace\" pattern=\"zzz\" replaceWith=\"y\"/>");
        QVERIFY(preview());
        QVERIFY(window().previewing());
        QCOMPARE(model().rowCount(), 0);
        QVERIFY(!button("cmdRename")->isEnabled());
        QVERIFY(button("cmdClosePreview")->hasFocus());
        button("cmdClosePreview")->click();
        QVERIFY(!window().previewing());
        QVERIFY(window().commands().menuAction(Command::RenameUndo)->isEnabled());
    }

    void invalidNamesAreCountedInOneMessage_data()
    {
        QTest::addColumn<int>("invalid");
        QTest::addColumn<QString>("message");
        QTest::newRow("one") << 1
                             << "The check box of 1 new name was cleared because the new name was found to be invalid.";
        QTest::newRow("three") << 3
                               << "The check boxes of 3 new names were cleared because the new names were found to be "
                                  "invalid.";
    }
    void invalidNamesAreCountedInOneMessage()
    {
        QFETCH(int, invalid);
        QFETCH(QString, message);
        for (int i = 0; i < invalid; ++i)
            writeFile(m_tree + QStringLiteral("/bad%1.txt").arg(i));
        writeFile(m_tree + "/good.txt");
        openWith("<rule type=\"replace\" pattern=\"bad\" replaceWith=\"b:d\"/>"
                 "<rule type=\"add\" text=\"_\" position=\"after\"/>");
        QString said;
        answerMessage(QMessageBox::Ok, &said);
        QVERIFY(preview());
        QCOMPARE(said, message);
        QCOMPARE(model().rowCount(), invalid + 1);
        QCOMPARE(checks().count(false), invalid);
        QCOMPARE(label("lblPreviewSummary"), QStringLiteral("1 to rename, %1 cleared").arg(invalid));
    }

    void checkBoxesAndInvWriteTheDocument()
    {
        for (const char *name : {"a.txt", "b.txt", "c.txt", "d.txt"})
            writeFile(m_tree + u'/' + QLatin1String(name));
        // d -> "n_d:" is invalid: its box starts cleared.
        openWith("<rule type=\"add\" text=\"n_\" position=\"before\"/>"
                 "<rule type=\"replace\" pattern=\"d\" replaceWith=\"d:\"/>");
        answerMessage(QMessageBox::Ok);
        QVERIFY(preview());
        QCOMPARE(checks(), (QList<bool>{true, true, true, false}));
        toggleRow(1); // the user clears b
        QCOMPARE(checks(), (QList<bool>{true, false, true, false}));
        QCOMPARE(documentMarks(), checks());
        QCOMPARE(label("lblPreviewSummary"), QStringLiteral("2 to rename, 1 cleared"));
        button("cmdInverse")->click();
        QCOMPARE(checks(), (QList<bool>{false, true, false, true}));
        QCOMPARE(documentMarks(), checks());
        QCOMPARE(label("lblPreviewSummary"), QStringLiteral("2 to rename, 1 cleared"));
    }

    void startRenamesExactlyTheCheckedEntries()
    {
        for (const char *name : {"a.txt", "b.txt", "c.txt"})
            writeFile(m_tree + u'/' + QLatin1String(name));
        openWith("<rule type=\"add\" text=\"new_\" position=\"before\"/>");
        QVERIFY(preview());
        toggleRow(1);
        QString said;
        // Folders handed over by other programs wait until the run has been
        // reported: the state says "renaming" while its message is open.
        bool renamingWhileTold = false;
        whenModalShows([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (!box)
                return;
            said = box->text();
            renamingWhileTold = m_fixture->state.renaming();
            box->button(QMessageBox::Ok)->click();
        });
        QVERIFY(start());
        QCOMPARE(said, QStringLiteral("Changing names of files or/and folders has been completed."));
        QVERIFY(renamingWhileTold);
        QVERIFY(!m_fixture->state.renaming());
        QCOMPARE(namesBelow(m_tree), (QStringList{"b.txt", "new_a.txt", "new_c.txt"}));
        QVERIFY(!window().previewing());
        QCOMPARE(manager().preview().entryCount(), 0);
        QVERIFY(!m_fixture->state.busy());
        // The report holds the two renames, and names the setting they came from.
        QCOMPARE(reports().size(), 1);
        pugi::xml_document report;
        QVERIFY(XmlTools::loadFile(report, reportFolder() + u'/' + reports().first()));
        QStringList lines;
        for (pugi::xml_node e = report.document_element().first_child(); e; e = e.next_sibling())
            lines << toQString(e.attribute("name")) + u'>' + toQString(e.attribute("newName")) + u':'
                    + toQString(e.attribute("include")) + u':' + toQString(e.attribute("renamed"));
        // The entries the list showed checked carry "True".
        QCOMPARE(lines, (QStringList{"a.txt>new_a.txt:True:yes", "c.txt>new_c.txt:True:yes"}));
        QCOMPARE(toQString(report.document_element().attribute("setting")), QStringLiteral("T"));
        QCOMPARE(pane().lastReportPath(), reportFolder() + u'/' + reports().first());
    }

    void runWithFailuresAsksAboutTheReport_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No closes without the report") << false;
        QTest::newRow("Yes opens the report") << true;
    }
    void runWithFailuresAsksAboutTheReport()
    {
        QFETCH(bool, yes);
        writeFile(m_tree + "/a.txt");
        writeFile(m_tree + "/b.txt");
        openWith("<rule type=\"add\" text=\"new_\" position=\"before\"/>");
        QVERIFY(preview());
        QVERIFY(QFile::remove(m_tree + "/a.txt")); // gone between preview and run
        QString said, summary, note;
        whenModalShows([&](QWidget *modal) {
            // The pane shows the outcome behind the question.
            summary = label("lblPreviewSummary");
            note = model().line(0).note;
            auto *box = qobject_cast<QMessageBox *>(modal);
            said = box->text();
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        QVERIFY(start());
        QCOMPARE(said,
                 QStringLiteral("Some names couldn't be changed for some reason.  Do you want to read the report "
                                "on this?"));
        QCOMPARE(summary, QStringLiteral("Renamed 1, failed 1"));
        QCOMPARE(note, QStringLiteral("File not found"));
        QVERIFY(!window().previewing());
        QCOMPARE(namesBelow(m_tree), QStringList{"new_b.txt"});
        frmReportViewer *viewer = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *v = qobject_cast<frmReportViewer *>(w); v && v->isVisible())
                viewer = v;
        QCOMPARE(viewer != nullptr, yes);
        if (viewer)
            QCOMPARE(viewer->reportPath(), pane().lastReportPath());
    }

    void cancelDuringALongWalkReturnsAtOnceToTheSameTab()
    {
        // Each name takes the pattern a long time to give up on, so the walk
        // over these files lasts many seconds.
        for (int i = 0; i < 400; ++i)
            writeFile(m_tree + QStringLiteral("/%1_%2.txt").arg(QString(34, u'a')).arg(i, 3, 10, QChar(u'0')));
        openWith("<rule type=\"regexpBase\" pattern=\"^(a+)+$\" replace=\"x\"/>");
        window().ShowTabPage(3);
        QSignalSpy finished(&pane(), &PreviewPane::jobFinished);
        QTest::keyClick(&window(), Qt::Key_P, Qt::ControlModifier);
        QTest::qWait(300);
        QVERIFY(pane().working());
        QVERIFY(m_fixture->state.busy());
        // The counts of the walk so far, though it has not finished one item in a hundred.
        QTRY_COMPARE(label("lblPreviewWorkingCounts"),
                     QStringLiteral("Folders examined: 1   Files examined: 400   Entries found: 0"));
        window().close(); // refused while the preview works
        QVERIFY(window().isVisible());
        auto *cancel = child<QPushButton>(&window(), "cmdCancelPreview");
        QVERIFY(cancel->isVisible());
        QElapsedTimer clock;
        clock.start();
        cancel->click();
        QVERIFY(!window().previewing());
        QVERIFY(finished.wait(500));
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(window().editor().currentPage(), 3);
        QVERIFY(!m_fixture->state.busy());
        QCOMPARE(manager().preview().entryCount(), 0);
    }

    void reversalThroughTheMenuRestoresEveryName()
    {
        writeFile(m_tree + "/a.txt");
        writeFile(m_tree + "/b.txt");
        writeFile(m_tree + "/sub/c.txt");
        openWith("<rule type=\"add\" text=\"new_\" position=\"before\"/>",
                 "<rule type=\"add\" text=\"_d\" position=\"after\"/>", "1");
        const QStringList before = namesBelow(m_tree);
        QVERIFY(preview());
        answerMessage(QMessageBox::Ok);
        QVERIFY(start());
        QCOMPARE(namesBelow(m_tree), (QStringList{"new_a.txt", "new_b.txt", "sub_d", "sub_d/new_c.txt"}));

        const QString firstRun = pane().lastReportPath();
        QString title;
        chooseFile(firstRun, &title);
        QVERIFY(runJob([this] { window().commands().menuAction(Command::RenameUndo)->trigger(); }));
        QCOMPARE(title, QStringLiteral("Select a report file"));
        QVERIFY(window().previewing());
        QCOMPARE(model().rowCount(), 4);
        // Newest change first: the folder before what lies in it.
        QCOMPARE(listTexts(),
                 (QStringList{"new_b.txt -> b.txt (in " + m_tree + ")", "new_a.txt -> a.txt (in " + m_tree + ")",
                              "sub_d\\ -> sub\\ (in " + m_tree + ")", "new_c.txt -> c.txt (in " + m_tree + "/sub)"}));
        QVERIFY(button("cmdRename")->isEnabled());
        QVERIFY(button("cmdShowReport")->isVisible());
        QString said;
        answerMessage(QMessageBox::Ok, &said);
        QVERIFY(start());
        QCOMPARE(said, QStringLiteral("Changing names of files or/and folders has been completed."));
        QCOMPARE(namesBelow(m_tree), before);
        // The reversal's own report says what it reversed.
        pugi::xml_document report;
        QVERIFY(XmlTools::loadFile(report, pane().lastReportPath()));
        QCOMPARE(toQString(report.document_element().attribute("reverses")), QFileInfo(firstRun).fileName());
    }

    // An edited report: its entry with a relative folder is refused, and
    // neither a click nor Inv checks it again; the other entry is reversed.
    void aRefusedReversalEntryStaysCleared()
    {
        writeFile(m_tree + "/new_a.txt");
        openWith("<rule type=\"add\" text=\"new_\" position=\"before\"/>");
        QDir().mkpath(reportFolder());
        const QString edited = reportFolder() + "/edited.xml";
        QFile file(edited);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(("<?xml version=\"1.0\"?><files version=\"1.0\" date=\"2026-01-01 10:00:00\">"
                    "<file name=\"a.txt\" newName=\"new_a.txt\" folder=\""
                    + m_tree.toUtf8()
                    + "\" id=\"f1\" renamed=\"yes\"/>"
                      "<file name=\"b.txt\" newName=\"new_b.txt\" folder=\"tree/../elsewhere\" id=\"f2\" "
                      "renamed=\"yes\"/></files>")
                       .constData());
        file.close();
        chooseFile(edited);
        QVERIFY(runJob([this] { window().commands().menuAction(Command::RenameUndo)->trigger(); }));
        QCOMPARE(model().rowCount(), 2);
        QCOMPARE(checks(), (QList<bool>{false, true}));
        toggleRow(0);
        QCOMPARE(checks(), (QList<bool>{false, true}));
        button("cmdInverse")->click();
        QCOMPARE(checks(), (QList<bool>{false, false}));
        button("cmdInverse")->click();
        QCOMPARE(checks(), (QList<bool>{false, true}));
        answerMessage(QMessageBox::Ok);
        QVERIFY(start());
        QCOMPARE(namesBelow(m_tree), QStringList{"a.txt"});
    }

    void aFileThatIsNoReportGives930()
    {
        openWith("<rule type=\"add\" text=\"new_\" position=\"before\"/>");
        QDir().mkpath(reportFolder());
        const QString notes = reportFolder() + "/notes.xml";
        QFile file(notes);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("just some words, not XML");
        file.close();
        chooseFile(notes);
        QString said;
        QSignalSpy finished(&pane(), &PreviewPane::jobFinished);
        window().commands().menuAction(Command::RenameUndo)->trigger();
        answerMessage(QMessageBox::Ok, &said);
        QVERIFY(finished.wait(5000));
        QCOMPARE(said, QStringLiteral("The report file cannot be read because the file's content seems corrupted."));
        QVERIFY(!window().previewing());
        QVERIFY(!m_fixture->state.busy());
    }

    void everyClearedReasonIsShown_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QString>("reason");
        QTest::newRow("invalid character")
            << QStringList{"a.txt"} << "<rule type=\"add\" text=\"?\" position=\"before\"/>"
            << "The new name contains \"?\", which no name can contain.";
        QTest::newRow("too long") << QStringList{"a.txt"}
                                  << "<rule type=\"add\" text=\"" + QString(220, u'x') + "\" position=\"before\"/>"
                                  << "The new name is longer than the file system allows (225 characters, 225 bytes; "
                                     "at most 215 characters and 255 bytes).";
        QTest::newRow("leading space") << QStringList{"a.txt"} << "<rule type=\"add\" text=\" \" position=\"before\"/>"
                                       << "The new name begins with a space.";
        QTest::newRow("taken by another new name")
            << QStringList{"a1.txt", "a2.txt"} << "<rule type=\"regexpBase\" pattern=\"\\d\" replace=\"\"/>"
            << "Another entry of this folder already takes the new name \"a.txt\".";
        QTest::newRow("blocked by a file")
            << QStringList{"a.txt", "b.txt"} << "<rule type=\"regexpBase\" pattern=\"^a$\" replace=\"b\"/>"
            << "A file named \"b.txt\" is already in this folder and keeps its name.";
        QTest::newRow("blocked by a folder")
            << QStringList{"a.txt", "b.txt/inside"} << "<rule type=\"regexpBase\" pattern=\"^a$\" replace=\"b\"/>"
            << "A folder named \"b.txt\" is already in this folder.";
    }
    void everyClearedReasonIsShown()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, rules);
        QFETCH(QString, reason);
        for (const QString &file : files)
            writeFile(m_tree + u'/' + file);
        openWith(rules);
        answerMessage(QMessageBox::Ok);
        QVERIFY(preview());
        pane().list().setCurrentIndex(QModelIndex());
        window().activateWindow(); // as the window manager does when the message box has gone
        QVERIFY(QTest::qWaitForWindowActive(&window()));
        QTest::keyClick(&pane().list(), Qt::Key_F8); // the next problem
        const QModelIndex current = pane().list().currentIndex();
        QVERIFY(current.isValid());
        QCOMPARE(current.data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QVERIFY(current.data(Qt::ToolTipRole).toString().endsWith(u'\n' + reason));
        QVERIFY(!current.data(Qt::DecorationRole).value<QIcon>().isNull());
        QCOMPARE(label("lblPreviewEntryNote"), reason);
        QVERIFY(label("lblPreviewSummary").endsWith(QStringLiteral(", 1 cleared")));
    }

    // What the list marks as changed in a new name: "start+length" per run.
    void changedPartsOfNewNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("newName");
        QTest::addColumn<QString>("marked");
        QTest::newRow("prefix added") << "a.txt"
                                      << "new_a.txt"
                                      << "0+4";
        QTest::newRow("number appended") << "photo.jpg"
                                         << "photo_001.jpg"
                                         << "5+4";
        QTest::newRow("front and extension") << "IMG_0003.JPG"
                                             << "Holiday 0003.jpg"
                                             << "0+8 13+3";
        QTest::newRow("case only") << "readme.txt"
                                   << "README.txt"
                                   << "0+6";
        QTest::newRow("removed text") << "a copy.txt"
                                      << "a.txt"
                                      << "";
        QTest::newRow("short chance agreements are no kept text") << "abcdef"
                                                                  << "xbydez"
                                                                  << "0+6";
    }
    void changedPartsOfNewNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, newName);
        QFETCH(QString, marked);
        QStringList parts;
        for (const ChangedPart &part : changedParts(name, newName))
            parts << QStringLiteral("%1+%2").arg(part.start).arg(part.length);
        QCOMPARE(parts.join(u' '), marked);
    }

    void reportWindowsShowPastRuns()
    {
        writeFile(m_tree + "/a.txt");
        writeFile(m_tree + "/b.txt");
        openWith("<rule type=\"add\" text=\"new_\" position=\"before\"/>");
        QVERIFY(preview());
        QVERIFY(QFile::remove(m_tree + "/a.txt"));
        answerMessage(QMessageBox::No);
        QVERIFY(start());

        window().commands().menuAction(Command::ReportList)->trigger();
        auto *list = qobject_cast<frmReportList *>(QApplication::activeWindow());
        QVERIFY(list || (list = window().findChild<frmReportList *>()));
        QSignalSpy read(list, &frmReportList::figuresRead);
        QVERIFY(read.wait(5000) || !list->reading());
        QCOMPARE(list->model().rowCount(), 1);
        const ReportSummary &summary = list->model().reports().first();
        QCOMPARE(summary.setting, QStringLiteral("T"));
        QCOMPARE(summary.renamed, 1);
        QCOMPARE(summary.failed, 1);
        QCOMPARE(unnamedControls(list), QStringList());

        child<QPushButton>(list, "cmdReportOpen")->click();
        frmReportViewer *viewer = window().findChild<frmReportViewer *>();
        QVERIFY(viewer);
        QSignalSpy loaded(viewer, &frmReportViewer::loadFinished);
        QVERIFY(viewer->loaded() || loaded.wait(5000));
        QCOMPARE(unnamedControls(viewer), QStringList());
        // Failures first.
        QCOMPARE(viewer->filter().rowCount(), 2);
        QCOMPARE(viewer->filter().index(0, ReportTableModel::OldName).data().toString(), QStringLiteral("a.txt"));
        QCOMPARE(viewer->filter().index(0, ReportTableModel::Outcome).data().toString(),
                 QStringLiteral("File not found"));
        child<QCheckBox>(viewer, "chkReportFailuresOnly")->click();
        QCOMPARE(viewer->filter().rowCount(), 1);
        child<QCheckBox>(viewer, "chkReportFailuresOnly")->click();
        child<QLineEdit>(viewer, "txtReportFilter")->setText(QStringLiteral("new_b"));
        QTRY_COMPARE(viewer->filter().rowCount(), 1);
        QCOMPARE(viewer->filter().index(0, ReportTableModel::OldName).data().toString(), QStringLiteral("b.txt"));

        // Reverse this run: its plan in the pane.
        QVERIFY(runJob([viewer] { child<QPushButton>(viewer, "cmdReportReverse")->click(); }));
        QVERIFY(window().previewing());
        QCOMPARE(listTexts(), QStringList{"new_b.txt -> b.txt (in " + m_tree + ")"});
    }
};

QTEST_MAIN(PreviewPaneTest)
#include "tst_preview_pane.moc"
