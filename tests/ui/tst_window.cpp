// The main window driven as a user drives it: menus, toolbar, shortcuts and
// the dialogs they open, with the settings document and the options checked
// after each step.

#include "FileSizeLimit.h"
#include "WindowFixture.h"

#include "settings/SettingsDocument.h"
#include "text/UiText.h"
#include "ui/common/Twips.h"
#include "ui/dialogs/frmSelectSetting.h"
#include "ui/window/FolderRequests.h"
#include "ui/window/SettingEditor.h"
#include "ui/window/WindowCommands.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QUrl>
#include <csignal>
#include <sstream>
#include <sys/resource.h>

using namespace quillbay;
using namespace quillbay::test;

namespace {

const char *kThreeSettings = "<?xml version=\"1.0\"?><settings version=\"2.0\" select=\"beta\">"
                             "<setting name=\"gamma\"/><setting name=\"Alpha\"/><setting name=\"beta\"/></settings>";

QStringList selectorNames(frmMain &window)
{
    auto *selector = child<QComboBox>(&window, "cboSetting");
    QStringList names;
    for (int i = 0; i < selector->count(); ++i)
        names << selector->itemText(i);
    return names;
}

QString documentText(SettingsDocument &settings)
{
    std::ostringstream text;
    settings.document().save(text);
    return QString::fromStdString(text.str());
}

// Records the addresses the window asks the desktop to open.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

} // namespace

class WindowTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<WindowFixture> m_fixture;

    frmMain &openWith(const char *document)
    {
        m_fixture = std::make_unique<WindowFixture>(m_dir.path());
        if (document)
            static_cast<void>(m_fixture->manager.settings().loadText(QString::fromUtf8(document)));
        return m_fixture->open();
    }

private slots:
    void init()
    {
        UiText::setLanguage(UiLanguage::English);
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
    }
    void cleanup() { m_fixture.reset(); }

    void selectorIsSortedWithoutRegardToCase()
    {
        frmMain &window = openWith(kThreeSettings);
        QCOMPARE(selectorNames(window), (QStringList{"Alpha", "beta", "gamma"}));
        QCOMPARE(window.CurrentSettingName(), QStringLiteral("beta"));
        // Picking another setting selects it in the document.
        child<QComboBox>(&window, "cboSetting")->setCurrentIndex(2);
        QCOMPARE(m_fixture->manager.settings().settingName(m_fixture->manager.settings().SelectedSetting()),
                 QStringLiteral("gamma"));
    }

    void removeNeedsTwoSettings_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("menu") << "menu";
        QTest::newRow("toolbar") << "toolbar";
        QTest::newRow("shortcut") << "shortcut";
    }
    void removeNeedsTwoSettings()
    {
        QFETCH(QString, way);
        frmMain &window = openWith("<settings version=\"2.0\"><setting name=\"Only\"/></settings>");
        QAction *menuItem = child<QAction>(&window, "mnuSettingRemove");
        QAction *button = child<QAction>(&window, "tbSettingRemove");
        QVERIFY(!menuItem->isEnabled());
        QVERIFY(!button->isEnabled());
        if (way == "menu")
            menuItem->trigger();
        else if (way == "toolbar")
            button->trigger();
        else
            QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(m_fixture->manager.settings().SettingCount(), 1);
        QVERIFY(!QApplication::activeModalWidget());

        // Adding a second setting (Ctrl+S, answered in the input box) enables both.
        whenModalShows([](QWidget *box) {
            QTest::keyClicks(child<QLineEdit>(box, "txtText"), QStringLiteral("Second"));
            child<QPushButton>(box, "cmdOk")->click();
        });
        QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(selectorNames(window), (QStringList{"Only", "Second"}));
        QCOMPARE(window.CurrentSettingName(), QStringLiteral("Second"));
        QVERIFY(menuItem->isEnabled());
        QVERIFY(button->isEnabled());

        // Remove asks first; OK removes the current setting.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        answerMessage(QMessageBox::Ok);
        if (way == "menu")
            menuItem->trigger();
        else if (way == "toolbar")
            button->trigger();
        else
            QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(selectorNames(window), QStringList{"Only"});
        QVERIFY(!button->isEnabled());
    }

    void settingNamesAreChecked_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expectedError");
        QTest::addColumn<QStringList>("expectedNames");
        const QString taken = QStringLiteral("The name is already used.");
        QTest::newRow("rename to its own name") << "mnuSettingRename"
                                                << "beta" << taken << QStringList{"Alpha", "beta", "gamma"};
        QTest::newRow("rename changing letter case") << "mnuSettingRename"
                                                     << "BETA" << QString() << QStringList{"Alpha", "BETA", "gamma"};
        QTest::newRow("rename to another's name") << "mnuSettingRename"
                                                  << "ALPHA" << taken << QStringList{"Alpha", "beta", "gamma"};
        QTest::newRow("rename re-sorts") << "mnuSettingRename"
                                         << "aardvark" << QString() << QStringList{"aardvark", "Alpha", "gamma"};
        QTest::newRow("add a taken name") << "mnuSettingAdd"
                                          << "Gamma" << taken << QStringList{"Alpha", "beta", "gamma"};
        QTest::newRow("add an empty name") << "mnuSettingAdd"
                                           << "" << QString() << QStringList{"Alpha", "beta", "gamma"};
        QTest::newRow("duplicate") << "mnuSettingDuplicate"
                                   << "delta" << QString() << QStringList{"Alpha", "beta", "delta", "gamma"};
    }
    void settingNamesAreChecked()
    {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        QFETCH(QString, expectedError);
        QFETCH(QStringList, expectedNames);
        frmMain &window = openWith(kThreeSettings);
        QString shownError;
        whenModalShows([&](QWidget *box) {
            auto *text = child<QLineEdit>(box, "txtText");
            text->selectAll();
            QTest::keyClicks(text, answer);
            if (!expectedError.isEmpty())
                answerMessage(QMessageBox::Ok, &shownError);
            QTest::keyClick(text, Qt::Key_Return);
        });
        child<QAction>(&window, command.toLatin1().constData())->trigger();
        QCOMPARE(shownError, expectedError);
        QCOMPARE(selectorNames(window), expectedNames);
        QCOMPARE(m_fixture->manager.settings().SettingNames().size(), expectedNames.size());
    }

    void inputBoxClosedByItsWindowIsCancel()
    {
        frmMain &window = openWith(kThreeSettings);
        whenModalShows([](QWidget *box) {
            QTest::keyClicks(child<QLineEdit>(box, "txtText"), QStringLiteral("Never"));
            box->close();
        });
        child<QAction>(&window, "mnuSettingAdd")->trigger();
        QCOMPARE(selectorNames(window), (QStringList{"Alpha", "beta", "gamma"}));
    }

    void ctrlTabWalksThePagesWithWrapAround()
    {
        frmMain &window = openWith(kThreeSettings);
        auto *tabs = child<QTabWidget>(&window, "tabSetting");
        QCOMPARE(tabs->currentIndex(), 0);
        QTest::keyClick(&window, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(tabs->currentIndex(), 4);
        QVERIFY(window.editor().page(4)->isEnabled());
        QVERIFY(!window.editor().page(0)->isEnabled());
        QVERIFY(!child<QAction>(&window, "mnuFolderAdd")->isEnabled());
        QVERIFY(child<QAction>(&window, "mnuNamingRuleAdd")->isEnabled());
        QTest::keyClick(&window, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), 0);
        QVERIFY(child<QAction>(&window, "tbFolderAdd")->isEnabled());
        QVERIFY(!child<QAction>(&window, "mnuNamingRuleAdd")->isEnabled());
    }

    void deleteInATextBoxEditsTextOnly()
    {
        frmMain &window = openWith(kThreeSettings);
        auto *box = new QLineEdit(window.editor().page(0));
        box->show();
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("abc"));
        QTest::keyClick(box, Qt::Key_Home);
        const QString before = documentText(m_fixture->manager.settings());
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QStringLiteral("bc"));
        QCOMPARE(documentText(m_fixture->manager.settings()), before);
    }

    void closeIsRefusedWhileBusyAndSavesAfterwards()
    {
        frmMain &window = openWith(kThreeSettings);
        m_fixture->state.setBusy(true);
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QVERIFY(!QFile::exists(m_fixture->dataFile(QStringLiteral("Setting.xml"))));
        m_fixture->state.setBusy(false);
        QVERIFY(window.close());
        QVERIFY(window.savedAtClose());
        QFile saved(m_fixture->dataFile(QStringLiteral("Setting.xml")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf16(reinterpret_cast<const char16_t *>(saved.readAll().constData() + 2))
                    .contains(QStringLiteral("name=\"gamma\"")));
    }

    void failedSaveOffersRetryUntilCancel()
    {
        frmMain &window = openWith(kThreeSettings);
        QStringList shown;
        {
            FileSizeLimit full(64);
            whenModalShows([&](QWidget *first) {
                shown << qobject_cast<QMessageBox *>(first)->text();
                whenModalShows([&](QWidget *second) {
                    shown << qobject_cast<QMessageBox *>(second)->text();
                    qobject_cast<QMessageBox *>(second)->button(QMessageBox::Cancel)->click();
                });
                qobject_cast<QMessageBox *>(first)->button(QMessageBox::Retry)->click();
            });
            child<QAction>(&window, "mnuSettingSaveNow")->trigger();
        }
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown[0].startsWith(QStringLiteral("An attempt to write setting information to a file failed.")));
        QVERIFY(!QFile::exists(m_fixture->dataFile(QStringLiteral("Setting.xml"))));
        // With room again, Save Now saves and says so.
        QString said;
        answerMessage(QMessageBox::Ok, &said);
        child<QAction>(&window, "mnuSettingSaveNow")->trigger();
        QVERIFY(said.startsWith(QStringLiteral("All settings has been saved now.")));
        QVERIFY(QFile::exists(m_fixture->dataFile(QStringLiteral("Setting.xml"))));
    }

    void positionThatIsNotANumberStartsAt500Twips()
    {
        m_fixture = std::make_unique<WindowFixture>(m_dir.path());
        m_fixture->options.writePosition(QStringLiteral("FormMain"), QStringLiteral("Left"), 0);
        auto param = m_fixture->options.document().select_node("//object[@name='FormMain']/param[@name='Left']").node();
        param.attribute("value").set_value("abc");
        frmMain &window = m_fixture->open();
        QCOMPARE(window.pos().x(), twipsToPixels(500, window.logicalDpiX()));
        window.move(twipsToPixels(1440, window.logicalDpiX()), window.pos().y());
        QVERIFY(window.close());
        QCOMPARE(m_fixture->options.readPosition(QStringLiteral("FormMain"), QStringLiteral("Left"), 0), 1440);
    }

    void optionsCancelChangesNothing()
    {
        frmMain &window = openWith(kThreeSettings);
        const QString daysBefore = m_fixture->options.table().text(QStringLiteral("ReportHoldingDays"));
        bool applyWasDisabled = false;
        bool applyEnabledAfterTyping = false;
        int pageAfterBacktab = -1;
        whenModalShows([&](QWidget *dialog) {
            auto *apply = child<QPushButton>(dialog, "cmdApply");
            applyWasDisabled = !apply->isEnabled();
            // The keys go to the dialog's focused control once the dialog has the focus.
            (void)QTest::qWaitForWindowActive(dialog);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
            pageAfterBacktab = child<QTabWidget>(dialog, "tabOptions")->currentIndex();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
            auto *days = child<QLineEdit>(dialog, "txtReportDays");
            days->setFocus();
            QTest::keyClicks(days, QStringLiteral("x9"));
            applyEnabledAfterTyping = apply->isEnabled();
            child<QPushButton>(dialog, "cmdCancel")->click();
        });
        child<QAction>(&window, "mnuOptions")->trigger();
        QVERIFY(applyWasDisabled);
        QCOMPARE(pageAfterBacktab, 2);
        QVERIFY(applyEnabledAfterTyping);
        QCOMPARE(m_fixture->options.table().text(QStringLiteral("ReportHoldingDays")), daysBefore);

        // Letters typed are dropped; OK applies what is shown.
        whenModalShows([&](QWidget *dialog) {
            auto *days = child<QLineEdit>(dialog, "txtReportDays");
            days->selectAll();
            QTest::keyClicks(days, QStringLiteral("1a5"));
            child<QPushButton>(dialog, "cmdOK")->click();
        });
        child<QAction>(&window, "mnuOptions")->trigger();
        QCOMPARE(m_fixture->options.table().text(QStringLiteral("ReportHoldingDays")), QStringLiteral("15"));
    }

    void selectSettingRemembersItsChoiceAcrossRuns()
    {
        const QString folder = m_dir.filePath(QStringLiteral("Photos"));
        QVERIFY(QDir().mkpath(folder));
        {
            frmMain &window = openWith(kThreeSettings);
            whenModalShows([](QWidget *dialog) {
                child<QComboBox>(dialog, "cboSetting")->setCurrentIndex(2);
                child<QRadioButton>(dialog, "optReplaceOrAdd_1")->click();
                child<QPushButton>(dialog, "cmdOk")->click();
            });
            window.folderRequests().ReceivePath(folder);
            QCOMPARE(window.CurrentSettingName(), QStringLiteral("beta"));
            QVERIFY(window.close());
        }
        m_fixture.reset();
        m_fixture = std::make_unique<WindowFixture>(m_dir.path());
        frmMain &window = m_fixture->open();
        QCOMPARE(window.CurrentSettingName(), QStringLiteral("beta"));
        int index = -1;
        bool addChosen = false;
        whenModalShows([&](QWidget *dialog) {
            index = child<QComboBox>(dialog, "cboSetting")->currentIndex();
            addChosen = child<QRadioButton>(dialog, "optReplaceOrAdd_1")->isChecked();
            child<QPushButton>(dialog, "cmdCancel")->click();
        });
        window.folderRequests().ReceivePath(folder);
        QCOMPARE(index, 2);
        QVERIFY(addChosen);
    }

    void helpOpensThePageOfTheLanguage_data()
    {
        QTest::addColumn<bool>("japanese");
        QTest::addColumn<QStringList>("pages");
        QTest::addColumn<QString>("opened");
        QTest::newRow("English page") << false << QStringList{"QuillbayEn.html", "Quillbay.html"} << "QuillbayEn.html";
        QTest::newRow("Japanese page") << true << QStringList{"QuillbayJa.html", "Quillbay.html"} << "QuillbayJa.html";
        QTest::newRow("page without language")
            << true << QStringList{"QuillbayEn.html", "Quillbay.html"} << "Quillbay.html";
    }
    void helpOpensThePageOfTheLanguage()
    {
        QFETCH(bool, japanese);
        QFETCH(QStringList, pages);
        QFETCH(QString, opened);
        UiText::setLanguage(japanese ? UiLanguage::Japanese : UiLanguage::English);
        for (const QString &page : pages) {
            QFile file(m_dir.filePath(page));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
        frmMain &window = openWith(kThreeSettings);
        QTest::keyClick(&window, Qt::Key_F1);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(recorder.opened.size(), 1);
        QCOMPARE(recorder.opened[0].toLocalFile(), m_dir.filePath(opened));
    }

    // Every control a person can reach with the keyboard has a name that a
    // screen reader says (its caption, its label's text, or its tooltip), in
    // both languages.
    void everyControlHasAName_data()
    {
        QTest::addColumn<bool>("japanese");
        QTest::newRow("English") << false;
        QTest::newRow("Japanese") << true;
    }
    void everyControlHasAName()
    {
        QFETCH(bool, japanese);
        UiText::setLanguage(japanese ? UiLanguage::Japanese : UiLanguage::English);
        frmMain &window = openWith(kThreeSettings);
        QStringList unnamed;
        const auto check = [&unnamed](QWidget *top) {
            for (QWidget *widget : top->findChildren<QWidget *>()) {
                // Popups of lists are windows of their own; a tab widget is named by its tabs.
                if (widget->focusPolicy() == Qt::NoFocus || widget->window() != top
                    || qobject_cast<QTabWidget *>(widget))
                    continue;
                QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
                if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty())
                    unnamed << top->objectName() + u'/' + widget->objectName() + u'('
                            + widget->metaObject()->className() + u')';
            }
        };
        check(&window);
        for (const char *command : {"mnuOptions", "mnuSettingRename"}) {
            whenModalShows([&](QWidget *dialog) {
                check(dialog);
                dialog->close();
            });
            child<QAction>(&window, command)->trigger();
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u' ')));
    }

    void previewReportsEveryFindingInOneMessage()
    {
        frmMain &window = openWith(kThreeSettings);
        QString said;
        answerMessage(QMessageBox::Ok, &said);
        QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(said, QStringLiteral("No naming rules. Nothing has done.\nThere are no folders in \"Look in\"."));
        QVERIFY(!window.previewing());
    }
};

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
