// The automation door: what happens with a request by the program's state,
// the open command, and the object on a private session bus, including a call
// that starts the program.

#include "FakeFolderTarget.h"
#include "TestSessionBus.h"
#include "automation/AutomationService.h"
#include "automation/FolderRequestQueue.h"
#include "automation/LinkCommand.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCall>
#include <QDBusReply>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using quillbay::AutomationService;
using quillbay::FolderRequestQueue;
using Delivery = FakeFolderTarget::Delivery;

namespace {

QDBusConnection callerConnection(const QString &address)
{
    return QDBusConnection::connectToBus(address, QStringLiteral("caller"));
}

// The service runs in this thread, so a blocking call could never be
// answered: call without blocking and let events run until the reply is in.
QDBusPendingCall callApplication(const QDBusConnection &connection, const QString &method,
                                 const QVariantList &arguments, int timeout = -1)
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        AutomationService::serviceName(), AutomationService::objectPath(), AutomationService::interfaceName(), method);
    message.setArguments(arguments);
    return connection.asyncCall(message, timeout);
}

QDBusMessage callAndWait(const QDBusConnection &connection, const QString &method, const QVariantList &arguments)
{
    QDBusPendingCall call = callApplication(connection, method, arguments, 60000);
    if (!QTest::qWaitFor([&] { return call.isFinished(); }, 60000))
        return QDBusMessage::createError(QDBusError::Timeout, QStringLiteral("no reply within a minute"));
    return call.reply();
}

QStringList recordedLines(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(in.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class AutomationTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void requestByState_data();
    void requestByState();
    void laterRequestTakesThePendingSlot();
    void requestWhileTheDialogIsOpenOnlyRaises();
    void requestsDuringRenameWaitForItsEnd();
    void openCommand_data();
    void openCommand();

    void replyWaitsUntilTheDialogCloses();
    void linkExecuteOverTheBus();
    void relativePathIsRefused();
    void callToTheNameStartsTheProgram_data();
    void callToTheNameStartsTheProgram();

private:
    std::unique_ptr<TestSessionBus> m_bus;
};

void AutomationTest::initTestCase()
{
    m_bus = std::make_unique<TestSessionBus>();
    QVERIFY2(m_bus->error().isEmpty(), qPrintable(m_bus->error()));
}

void AutomationTest::requestByState_data()
{
    QTest::addColumn<bool>("window");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<bool>("ready");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("deliveredNow");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<bool>("answeredAtOnce");

    QTest::newRow("idle and ready: delivered") << true << false << true << "/photos" << true << false << false;
    QTest::newRow("preview run: only raised") << true << true << true << "/photos" << false << true << true;
    QTest::newRow("start-up before the window: kept") << false << true << false << "/photos" << false << true << false;
    QTest::newRow("start-up with the window: kept") << true << true << false << "/photos" << false << true << false;
    QTest::newRow("window not ready, not busy: kept") << true << false << false << "/photos" << false << true << false;
    QTest::newRow("no window, not busy: nothing") << false << false << false << "/photos" << false << false << true;
    QTest::newRow("empty path during start-up: not kept") << true << true << false << "" << false << false << true;
}

void AutomationTest::requestByState()
{
    QFETCH(bool, window);
    QFETCH(bool, busy);
    QFETCH(bool, ready);
    QFETCH(QString, path);
    QFETCH(bool, deliveredNow);
    QFETCH(bool, kept);
    QFETCH(bool, answeredAtOnce);

    FakeFolderTarget target;
    target.hasWindow = window;
    target.isBusy = busy;
    target.isReady = ready;
    FolderRequestQueue queue(target);
    int answers = 0;
    queue.FolderOpen(path, 0, [&] { ++answers; });

    QCOMPARE(target.raised, window ? 1 : 0);
    QCOMPARE(target.deliveries.size(), deliveredNow ? 1 : 0);
    QCOMPARE(queue.hasPendingRequest(), kept);
    QCOMPARE(answers, answeredAtOnce ? 1 : 0);

    // The end of start-up delivers what was kept; the caller is answered
    // when the dialog has closed.
    target.hasWindow = true;
    target.isBusy = false;
    target.isReady = true;
    queue.DeliverPendingRequest();
    QCOMPARE(queue.hasPendingRequest(), false);
    QCOMPARE(target.deliveries.size(), deliveredNow || kept ? 1 : 0);
    if (!target.deliveries.isEmpty())
        QCOMPARE(target.deliveries.first(), (Delivery{path, 0}));
    while (target.closeDialog()) {
    }
    QCOMPARE(answers, 1);
}

void AutomationTest::laterRequestTakesThePendingSlot()
{
    FakeFolderTarget target;
    target.isBusy = true;
    target.isReady = false;
    FolderRequestQueue queue(target);
    QStringList answered;
    queue.FolderOpen(QStringLiteral("/first"), 0, [&] { answered << QStringLiteral("first"); });
    queue.FolderOpen(QStringLiteral("/second"), 1, [&] { answered << QStringLiteral("second"); });
    QCOMPARE(answered, QStringList{QStringLiteral("first")});
    QCOMPARE(queue.pendingPath(), QStringLiteral("/second"));

    target.isBusy = false;
    target.isReady = true;
    queue.DeliverPendingRequest();
    QCOMPARE(target.deliveries, (QList<Delivery>{{QStringLiteral("/second"), 1}}));
    QVERIFY(target.closeDialog());
    QCOMPARE(answered, (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
}

void AutomationTest::requestWhileTheDialogIsOpenOnlyRaises()
{
    FakeFolderTarget target;
    FolderRequestQueue queue(target);
    int firstAnswers = 0;
    int secondAnswers = 0;
    queue.FolderOpen(QStringLiteral("/first"), 0, [&] { ++firstAnswers; });
    queue.FolderOpen(QStringLiteral("/second"), 0, [&] { ++secondAnswers; });
    QCOMPARE(target.raised, 2);
    QCOMPARE(target.deliveries.size(), 1);
    QCOMPARE(secondAnswers, 1);
    QCOMPARE(firstAnswers, 0);
    QVERIFY(target.closeDialog());
    QCOMPARE(firstAnswers, 1);
    // Only start-up delivers the pending slot: nothing more happens.
    QCOMPARE(target.deliveries.size(), 1);
}

void AutomationTest::requestsDuringRenameWaitForItsEnd()
{
    FakeFolderTarget target;
    target.isRenaming = true;
    FolderRequestQueue queue(target);
    QStringList answered;
    queue.FolderOpen(QStringLiteral("/first"), 0, [&] { answered << QStringLiteral("first"); });
    queue.FolderOpen(QStringLiteral("/second"), 0, [&] { answered << QStringLiteral("second"); });
    QTest::qWait(3 * FolderRequestQueue::RenameCheckMilliseconds);
    QCOMPARE(target.raised, 0);
    QVERIFY(target.deliveries.isEmpty());
    QVERIFY(answered.isEmpty());
    QCOMPARE(queue.heldDuringRenameCount(), 2);

    // When the run has ended they are taken as if they had just come: the
    // first opens the dialog, the second finds the program busy.
    target.isRenaming = false;
    QTRY_COMPARE(answered, QStringList{QStringLiteral("second")});
    QCOMPARE(target.deliveries, (QList<Delivery>{{QStringLiteral("/first"), 0}}));
    QCOMPARE(target.raised, 2);
    QVERIFY(target.closeDialog());
    QCOMPARE(answered, (QStringList{QStringLiteral("second"), QStringLiteral("first")}));
}

void AutomationTest::openCommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("path");

    QTest::newRow("folder") << R"(open("C:\Photos\2004"))" << true << R"(C:\Photos\2004)";
    QTest::newRow("empty quotes") << R"(open(""))" << true << "";
    QTest::newRow("last two characters dropped unseen") << R"(open("/a")x)" << true << R"(/a")";
    QTest::newRow("other letter case") << R"(OPEN("/a"))" << false << "";
    QTest::newRow("no quote") << "open(/a)" << false << "";
    QTest::newRow("other command") << R"(close("/a"))" << false << "";
    QTest::newRow("too short for the closing pair") << R"(open("a)" << false << "";
    QTest::newRow("opening alone") << R"(open(")" << false << "";
}

void AutomationTest::openCommand()
{
    QFETCH(QString, command);
    QFETCH(bool, accepted);
    QFETCH(QString, path);
    const std::optional<QString> result = quillbay::openCommandPath(command);
    QCOMPARE(result.has_value(), accepted);
    if (accepted)
        QCOMPARE(*result, path);
}

void AutomationTest::replyWaitsUntilTheDialogCloses()
{
    FakeFolderTarget target;
    FolderRequestQueue queue(target);
    AutomationService service(queue);
    const quillbay::Result<void> started = service.start();
    QVERIFY2(started, qPrintable(started.error().message));

    QDBusPendingCall call = callApplication(callerConnection(m_bus->address()), QStringLiteral("FolderOpen"),
                                            {QStringLiteral("/photos"), 0});
    QTRY_COMPARE(target.deliveries.size(), 1);
    QTest::qWait(200);
    QVERIFY(!call.isFinished());
    QVERIFY(target.closeDialog());
    QTRY_VERIFY(call.isFinished());
    QVERIFY2(!call.isError(), qPrintable(call.error().message()));
    QCOMPARE(target.deliveries.first(), (Delivery{QStringLiteral("/photos"), 0}));
}

void AutomationTest::linkExecuteOverTheBus()
{
    FakeFolderTarget target;
    target.closeAtOnce = true;
    FolderRequestQueue queue(target);
    AutomationService service(queue);
    QVERIFY(service.start().ok());
    const auto execute = [&](const QString &command) {
        const QDBusReply<bool> reply =
            callAndWait(callerConnection(m_bus->address()), QStringLiteral("LinkExecute"), {command});
        return reply.isValid() && reply.value();
    };
    QVERIFY(execute(QStringLiteral("open(\"/photos/2004\")")));
    QCOMPARE(target.deliveries, (QList<Delivery>{{QStringLiteral("/photos/2004"), 0}}));
    QVERIFY(execute(QStringLiteral("open(\"\")")));
    QVERIFY(!execute(QStringLiteral("open /photos")));
    QVERIFY(!execute(QStringLiteral("open(\"photos\")")));
    QCOMPARE(target.deliveries.size(), 1);
}

void AutomationTest::relativePathIsRefused()
{
    FakeFolderTarget target;
    FolderRequestQueue queue(target);
    AutomationService service(queue);
    QVERIFY(service.start().ok());
    const QDBusMessage reply = callAndWait(callerConnection(m_bus->address()), QStringLiteral("FolderOpen"),
                                           {QStringLiteral("photos/2004"), 0});
    QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
    QCOMPARE(reply.errorName(), QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"));
    QVERIFY(target.deliveries.isEmpty());
    QCOMPARE(target.raised, 0);
}

void AutomationTest::callToTheNameStartsTheProgram_data()
{
    QTest::addColumn<int>("startupMilliseconds");
    QTest::newRow("started at once") << 0;
    QTest::newRow("call arrives during start-up") << 700;
}

void AutomationTest::callToTheNameStartsTheProgram()
{
    QFETCH(int, startupMilliseconds);
    QTemporaryDir folder(QDir::homePath() + QStringLiteral("/started-XXXXXX"));
    const QString recordFile = folder.filePath(QStringLiteral("record.txt"));
    QVERIFY(m_bus->addService(AutomationService::serviceName(), QStringLiteral(FAKE_QUILLBAY),
                              {recordFile, QString::number(startupMilliseconds)}));
    QCOMPARE(m_bus->ownerPid(AutomationService::serviceName()), 0);

    const QDBusMessage reply =
        callAndWait(callerConnection(m_bus->address()), QStringLiteral("FolderOpen"), {QStringLiteral("/scans"), 0});
    QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
    // The reply came only after start-up had delivered the request.
    QCOMPARE(recordedLines(recordFile), (QStringList{QStringLiteral("ready"), QStringLiteral("deliver 0 /scans")}));

    QVERIFY(m_bus->endStartedProgram(AutomationService::serviceName()));
}

QTEST_GUILESS_MAIN(AutomationTest)
#include "tst_automation.moc"
