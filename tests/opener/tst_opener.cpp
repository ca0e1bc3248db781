// QuillbayOpener: its reading of the command line, and the program itself
// against the automation object on a private session bus.

#include "FakeBusServices.h"
#include "FakeFolderTarget.h"
#include "OpenerArguments.h"
#include "TestSessionBus.h"
#include "automation/AutomationService.h"
#include "automation/FolderRequestQueue.h"
#include "base/Arguments.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using quillbay::AutomationService;
using quillbay::FolderRequestQueue;
using Delivery = FakeFolderTarget::Delivery;

class OpenerTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void pathsFromText_data();
    void pathsFromText();
    void pathsFromArgv_data();
    void pathsFromArgv();

    void twoPathsOneAfterTheOther();
    void endsSilentlyWithoutTheProgram_data();
    void endsSilentlyWithoutTheProgram();
    void failureIsShownAndEndsTheWork_data();
    void failureIsShownAndEndsTheWork();
    void emptyCommandLineStartsTheProgram();

private:
    // Starts the opener; the test's event loop keeps running (the automation
    // object it calls may live in this process).
    std::unique_ptr<QProcess> startOpener(const QStringList &arguments,
                                          const QProcessEnvironment &environment = QProcessEnvironment());

    std::unique_ptr<TestSessionBus> m_bus;
};

void OpenerTest::initTestCase()
{
    m_bus = std::make_unique<TestSessionBus>();
    QVERIFY2(m_bus->error().isEmpty(), qPrintable(m_bus->error()));
}

std::unique_ptr<QProcess> OpenerTest::startOpener(const QStringList &arguments, const QProcessEnvironment &environment)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment.isEmpty() ? m_bus->environment() : environment);
    process->start(QStringLiteral(QUILLBAY_OPENER), arguments);
    return process;
}

void OpenerTest::pathsFromText_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QStringList>("paths");

    QTest::newRow("quoted path, switches, plain path")
        << R"("/My Photos" -x -y /Scans)" << QStringList{"/My Photos", "/Scans"};
    QTest::newRow("runs of spaces") << "   /a    /b  " << QStringList{"/a", "/b"};
    QTest::newRow("empty quotes give an empty path") << R"("")" << QStringList{""};
    QTest::newRow("unclosed quote runs to the end") << R"("/a b)" << QStringList{"/a b"};
    QTest::newRow("quote inside a word stays") << R"(/a"b)" << QStringList{R"(/a"b)"};
    QTest::newRow("relative path against the working folder") << "sub/../photos" << QStringList{"/work/here/photos"};
    QTest::newRow("nothing") << "" << QStringList{};
}

void OpenerTest::pathsFromText()
{
    QFETCH(QString, commandLine);
    QFETCH(QStringList, paths);
    QCOMPARE(quillbay::openerPaths(quillbay::SplitArguments(commandLine), QStringLiteral("/work/here")), paths);
}

void OpenerTest::pathsFromArgv_data()
{
    QTest::addColumn<QStringList>("argv");
    QTest::addColumn<QString>("joined");
    QTest::addColumn<QStringList>("paths");

    QTest::newRow("as the desktop passes them") << QStringList{"/My Photos", "-x", "/Scans"}
                                                << R"("/My Photos" -x /Scans)" << QStringList{"/My Photos", "/Scans"};
    QTest::newRow("empty argument") << QStringList{""} << R"("")" << QStringList{""};
    // Names that no command-line text can carry come through unchanged.
    QTest::newRow("space and quote in one name")
        << QStringList{R"(/a "b" c)", "/d"} << R"("/a "b" c" /d)" << QStringList{R"(/a "b" c)", "/d"};
    QTest::newRow("name beginning with a quote") << QStringList{R"("x)"} << R"("x)" << QStringList{"/work/here/\"x"};
}

void OpenerTest::pathsFromArgv()
{
    QFETCH(QStringList, argv);
    QFETCH(QString, joined);
    QFETCH(QStringList, paths);
    QCOMPARE(quillbay::joinCommandLine(argv), joined);
    QCOMPARE(quillbay::openerPaths(quillbay::argumentsFromArgv(argv), QStringLiteral("/work/here")), paths);
}

void OpenerTest::twoPathsOneAfterTheOther()
{
    FakeFolderTarget window;
    FolderRequestQueue queue(window);
    AutomationService service(queue);
    const quillbay::Result<void> started = service.start();
    QVERIFY2(started, qPrintable(started.error().message));

    const auto opener = startOpener({QStringLiteral("/first"), QStringLiteral("-s"), QStringLiteral("/second folder")});
    QTRY_COMPARE(window.deliveries.size(), 1);
    // The second path waits until the dialog of the first has closed.
    QTest::qWait(300);
    QCOMPARE(window.deliveries.size(), 1);
    QVERIFY(window.closeDialog());
    QTRY_COMPARE(window.deliveries.size(), 2);
    QCOMPARE(window.deliveries,
             (QList<Delivery>{{QStringLiteral("/first"), 0}, {QStringLiteral("/second folder"), 0}}));
    QCOMPARE(opener->state(), QProcess::Running);
    QVERIFY(window.closeDialog());
    QTRY_COMPARE(opener->state(), QProcess::NotRunning);
    QCOMPARE(opener->exitCode(), 0);
    QCOMPARE(window.raised, 2);
}

void OpenerTest::endsSilentlyWithoutTheProgram_data()
{
    QTest::addColumn<bool>("withBus");
    QTest::newRow("program not found on the bus") << true;
    QTest::newRow("no bus at all") << false;
}

void OpenerTest::endsSilentlyWithoutTheProgram()
{
    QFETCH(bool, withBus);
    QProcessEnvironment environment = m_bus->environment();
    if (!withBus)
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                           QStringLiteral("unix:abstract=quillbay-no-such-bus"));
    const auto opener = startOpener({QStringLiteral("/photos")}, environment);
    QTRY_COMPARE_WITH_TIMEOUT(opener->state(), QProcess::NotRunning, 30000);
    QCOMPARE(opener->exitCode(), 2);
    QCOMPARE(opener->readAllStandardError(), QByteArray());
    QCOMPARE(opener->readAllStandardOutput(), QByteArray());
}

void OpenerTest::failureIsShownAndEndsTheWork_data()
{
    QTest::addColumn<bool>("notifications");
    QTest::newRow("as a desktop notification") << true;
    QTest::newRow("on standard error without one") << false;
}

void OpenerTest::failureIsShownAndEndsTheWork()
{
    QFETCH(bool, notifications);
    FailingFolderService failing;
    QVERIFY(failing.serve());
    FakeNotifications notices;
    if (notifications)
        QVERIFY(notices.serve());

    const auto opener = startOpener({QStringLiteral("/first"), QStringLiteral("/second")});
    QTRY_COMPARE(opener->state(), QProcess::NotRunning);
    failing.withdraw();
    notices.withdraw();
    QCOMPARE(opener->exitCode(), 1);
    QCOMPARE(failing.paths, QStringList{QStringLiteral("/first")});
    const QString standardError = QString::fromLocal8Bit(opener->readAllStandardError());
    if (notifications) {
        QCOMPARE(notices.summaries, QStringList{FailingFolderService::errorMessage()});
        QCOMPARE(standardError, QString());
    } else {
        QVERIFY2(standardError.contains(FailingFolderService::errorMessage()), qPrintable(standardError));
    }
}

void OpenerTest::emptyCommandLineStartsTheProgram()
{
    QTemporaryDir folder(QDir::homePath() + QStringLiteral("/started-XXXXXX"));
    const QString recordFile = folder.filePath(QStringLiteral("record.txt"));
    QVERIFY(m_bus->addService(AutomationService::serviceName(), QStringLiteral(FAKE_QUILLBAY), {recordFile}));

    const auto opener = startOpener({});
    QTRY_COMPARE_WITH_TIMEOUT(opener->state(), QProcess::NotRunning, 30000);
    QCOMPARE(opener->exitCode(), 0);
    QVERIFY(m_bus->ownerPid(AutomationService::serviceName()) > 0);
    QFile record(recordFile);
    QTRY_VERIFY(record.exists());
    QVERIFY(record.open(QIODevice::ReadOnly));
    QCOMPARE(record.readAll(), QByteArray("ready\n"));

    QVERIFY(m_bus->endStartedProgram(AutomationService::serviceName()));
}

QTEST_GUILESS_MAIN(OpenerTest)
#include "tst_opener.moc"
