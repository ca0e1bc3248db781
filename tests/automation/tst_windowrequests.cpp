// Folders handed to the real main window over the session bus: the file
// request that sets the criteria, the missing folder that gives 942 and no
// dialog, the requests that only raise the window while it is busy, and a
// call that starts the program itself.

#include "../ui/WindowFixture.h"
#include "TestSessionBus.h"
#include "automation/AutomationService.h"
#include "automation/FolderRequestQueue.h"
#include "automation/WindowFolderTarget.h"
#include "settings/SettingsSchema.h"

#include <QComboBox>
#include <QDBusConnectionInterface>
#include <QDBusPendingCall>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <memory>
#include <optional>

using namespace quillbay;
using namespace quillbay::test;

namespace {

const char *kTwoSettings = "<?xml version=\"1.0\"?><settings version=\"2.0\" select=\"Photos\">"
                           "<setting name=\"Photos\"/><setting name=\"Scans\"/></settings>";

QDBusPendingCall folderOpen(const QString &busAddress, const QString &path)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(AutomationService::serviceName(), AutomationService::objectPath(),
                                       AutomationService::interfaceName(), QStringLiteral("FolderOpen"));
    call.setArguments({path, 0});
    return QDBusConnection::connectToBus(busAddress, QStringLiteral("caller")).asyncCall(call, 60000);
}

QString attribute(pugi::xml_node node, const char *name)
{
    return QString::fromUtf8(node.attribute(name).value());
}

QStringList lookInFolders(SettingsDocument &settings, const QString &setting)
{
    QStringList folders;
    for (pugi::xml_node f = settings.FindSetting(setting).child(kFolders).child(kFolder); f;
         f = f.next_sibling(kFolder))
        folders << attribute(f, kPath);
    return folders;
}

} // namespace

class WindowRequestsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fileRequestSetsTheCriteria();
    void missingFolderGivesMessageAndNoDialog();
    void requestWhileBusyOnlyRaisesTheWindow_data();
    void requestWhileBusyOnlyRaisesTheWindow();
    void callStartsTheProgram();

private:
    std::unique_ptr<TestSessionBus> m_bus;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<WindowFolderTarget> m_target;
    std::unique_ptr<FolderRequestQueue> m_queue;
    std::unique_ptr<AutomationService> m_service;
};

void WindowRequestsTest::initTestCase()
{
    m_bus = std::make_unique<TestSessionBus>();
    QVERIFY2(m_bus->error().isEmpty(), qPrintable(m_bus->error()));
}

void WindowRequestsTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>(QDir::homePath() + QStringLiteral("/window-XXXXXX"));
    QFile settings(m_dir->filePath(QStringLiteral("Setting.xml")));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write(kTwoSettings);
    settings.close();
    m_fixture = std::make_unique<WindowFixture>(m_dir->path());
    m_fixture->state.setReady();
    frmMain &window = m_fixture->open();
    m_target = std::make_unique<WindowFolderTarget>(m_fixture->state, window);
    m_queue = std::make_unique<FolderRequestQueue>(*m_target);
    m_service = std::make_unique<AutomationService>(*m_queue);
    const Result<void> started = m_service->start();
    QVERIFY2(started, qPrintable(started.error().message));
}

void WindowRequestsTest::cleanup()
{
    m_service.reset();
    m_queue.reset();
    m_target.reset();
    m_fixture.reset();
    m_dir.reset();
}

void WindowRequestsTest::fileRequestSetsTheCriteria()
{
    const QString folder = m_dir->filePath(QStringLiteral("Camera"));
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/IMG_0001.JPG");
    QFile(file).open(QIODevice::WriteOnly);

    bool answeredWhileOpen = true;
    std::optional<QDBusPendingCall> call;
    whenModalShows([&](QWidget *dialog) {
        answeredWhileOpen = call->isFinished();
        child<QComboBox>(dialog, "cboSetting")->setCurrentIndex(1);
        child<QRadioButton>(dialog, "optReplaceOrAdd_0")->click();
        child<QPushButton>(dialog, "cmdOk")->click();
    });
    call = folderOpen(m_bus->address(), file);
    QTRY_VERIFY(call->isFinished());
    QVERIFY2(!call->isError(), qPrintable(call->error().message()));
    QVERIFY(!answeredWhileOpen);

    SettingsDocument &settings = m_fixture->window->settings();
    QCOMPARE(m_fixture->window->CurrentSettingName(), QStringLiteral("Scans"));
    QCOMPARE(lookInFolders(settings, QStringLiteral("Scans")), QStringList{folder});
    const pugi::xml_node criteria = settings.FindSetting(QStringLiteral("Scans")).child(kFileCriteria);
    QCOMPARE(attribute(criteria, "startWith"), QStringLiteral("IMG_0001"));
    QCOMPARE(attribute(criteria, "ext"), QStringLiteral("JPG"));
    QVERIFY(lookInFolders(settings, QStringLiteral("Photos")).isEmpty());
}

void WindowRequestsTest::missingFolderGivesMessageAndNoDialog()
{
    QString message;
    QString shownDialog;
    whenModalShows([&](QWidget *modal) {
        shownDialog = modal->objectName();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            message = box->text();
            box->button(QMessageBox::Ok)->click();
        } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
            dialog->reject();
        }
    });
    QDBusPendingCall call = folderOpen(m_bus->address(), m_dir->filePath(QStringLiteral("no such folder")));
    QTRY_VERIFY(call.isFinished());
    QVERIFY(!call.isError());
    QCOMPARE(message, QStringLiteral("The folder is not found."));
    QVERIFY(shownDialog != QStringLiteral("frmSelectSetting"));
    QVERIFY(lookInFolders(m_fixture->window->settings(), QStringLiteral("Photos")).isEmpty());
}

void WindowRequestsTest::requestWhileBusyOnlyRaisesTheWindow_data()
{
    QTest::addColumn<bool>("dialogOpen");
    QTest::newRow("preview run") << false;
    QTest::newRow("select-setting dialog open") << true;
}

void WindowRequestsTest::requestWhileBusyOnlyRaisesTheWindow()
{
    QFETCH(bool, dialogOpen);
    const QString second = m_dir->filePath(QStringLiteral("Second"));
    QVERIFY(QDir().mkpath(second));
    m_fixture->window->showMinimized();
    QTRY_VERIFY(m_fixture->window->isMinimized());

    std::optional<QDBusPendingCall> first;
    std::optional<QDBusPendingCall> during;
    bool raisedWhileBusy = false;
    if (dialogOpen) {
        whenModalShows([&](QWidget *dialog) {
            during = folderOpen(m_bus->address(), second);
            QTRY_VERIFY(during->isFinished());
            raisedWhileBusy = !m_fixture->window->isMinimized();
            child<QPushButton>(dialog, "cmdCancel")->click();
        });
        first = folderOpen(m_bus->address(), m_dir->path());
        QTRY_VERIFY(first->isFinished());
    } else {
        BusyScope previewRun(m_fixture->state);
        during = folderOpen(m_bus->address(), second);
        QTRY_VERIFY(during->isFinished());
        raisedWhileBusy = !m_fixture->window->isMinimized();
    }
    QVERIFY(during && !during->isError());
    QVERIFY(raisedWhileBusy);
    QTest::qWait(100);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(lookInFolders(m_fixture->window->settings(), QStringLiteral("Photos")).isEmpty());
    QCOMPARE(m_queue->pendingPath(), second);
}

void WindowRequestsTest::callStartsTheProgram()
{
    // The program itself, started by the bus as the desktop's bus would.
    m_service.reset();
    QVERIFY(m_bus->addService(AutomationService::serviceName(), QStringLiteral(QUILLBAY_PROGRAM)));
    QDBusPendingCall call = folderOpen(m_bus->address(), QString());
    QTRY_VERIFY_WITH_TIMEOUT(call.isFinished(), 60000);
    QVERIFY2(!call.isError(), qPrintable(call.error().message()));
    // A request to end closes the window as the user would, saving.
    QVERIFY(m_bus->endStartedProgram(AutomationService::serviceName()));
}

QTEST_MAIN(WindowRequestsTest)
#include "tst_windowrequests.moc"
