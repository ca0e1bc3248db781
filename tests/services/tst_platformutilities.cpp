#include "base/Arguments.h"
#include "base/Conversions.h"
#include "services/SystemIdentity.h"

#include <QTest>

using namespace quillbay;

class ArgumentsTest : public QObject
{
    Q_OBJECT

private slots:
    void splitArguments_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("quoted middle") << QStringLiteral("a \"b c\" d") << QStringList{"a", "b c", "d"};
        QTest::newRow("lone quote") << QStringLiteral("\"x") << QStringList{"x"};
        QTest::newRow("quote inside word") << QStringLiteral("a\"b") << QStringList{"a\"b"};
        QTest::newRow("three spaces") << QStringLiteral("   ") << QStringList{};
        QTest::newRow("empty") << QString() << QStringList{};
        QTest::newRow("empty quotes") << QStringLiteral("\"\" a") << QStringList{"", "a"};
        QTest::newRow("tab is no separator") << QStringLiteral("a\tb c") << QStringList{"a\tb", "c"};
        QTest::newRow("quote right after word") << QStringLiteral("ab\"c d\" e") << QStringList{"ab\"c", "d\"", "e"};
        QTest::newRow("quoted path") << QStringLiteral("\"/home/me/My Files\"") << QStringList{"/home/me/My Files"};
        QTest::newRow("leading and trailing spaces") << QStringLiteral("  -exec  ") << QStringList{"-exec"};
    }

    void splitArguments()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QCOMPARE(SplitArguments(text), expected);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("immediateRun");
        QTest::addColumn<QString>("openPath");
        QTest::newRow("nothing") << QStringList{} << false << QString();
        QTest::newRow("-exec") << QStringList{"-exec"} << true << QString();
        QTest::newRow("/exec") << QStringList{"/exec"} << true << QString();
        QTest::newRow("-EXEC is no switch") << QStringList{"-EXEC"} << false << QString();
        QTest::newRow("unknown switch") << QStringList{"-x"} << false << QString();
        QTest::newRow("absolute path") << QStringList{"/home/me/photos"} << false << QStringLiteral("/home/me/photos");
        QTest::newRow("/EXEC is a path") << QStringList{"/EXEC"} << false << QStringLiteral("/EXEC");
        QTest::newRow("path with spaces") << QStringList{"My Files"} << false << QStringLiteral("My Files");
        QTest::newRow("only the first counts") << QStringList{"-x", "-exec"} << false << QString();
        QTest::newRow("exec first, path ignored") << QStringList{"-exec", "/tmp"} << true << QString();
        QTest::newRow("empty first argument") << QStringList{""} << false << QString();
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, immediateRun);
        QFETCH(QString, openPath);
        const CommandLineRequest request = readCommandLine(arguments);
        QCOMPARE(request.immediateRun, immediateRun);
        QCOMPARE(request.openPath, openPath);
    }

    void identifySystem_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("supported");
        const int nt = int(PlatformFamily::NT);
        const int consumer = int(PlatformFamily::Consumer);
        QTest::newRow("NT 3") << nt << 3 << 51 << "Microsoft Windows NT 3" << 3 << false;
        QTest::newRow("NT 4") << nt << 4 << 0 << "Microsoft Windows NT 4" << 4 << true;
        QTest::newRow("NT 5") << nt << 5 << 1 << "Microsoft Windows 2000/XP" << 5 << true;
        QTest::newRow("NT 6") << nt << 6 << 0 << "Unknown version of Microsoft Windows" << 6 << true;
        QTest::newRow("consumer 4.0") << consumer << 4 << 0 << "Microsoft Windows 95" << 4 << true;
        QTest::newRow("consumer 4.10") << consumer << 4 << 10 << "Microsoft Windows 98" << 5 << true;
        QTest::newRow("consumer 5") << consumer << 5 << 0 << "Microsoft Windows 98" << 5 << true;
        QTest::newRow("consumer 6") << consumer << 6 << 0 << "Microsoft Windows Me" << 6 << true;
        QTest::newRow("consumer 3") << consumer << 3 << 0 << "Microsoft Windows 95" << 4 << true;
        QTest::newRow("Win32s") << int(PlatformFamily::Win32s) << 1 << 0 << "Microsoft Win32s" << 1 << false;
        QTest::newRow("other") << int(PlatformFamily::Other) << 9 << 0 << "" << 0 << false;
    }

    void identifySystem()
    {
        QFETCH(int, family);
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(QString, name);
        QFETCH(int, level);
        QFETCH(bool, supported);
        const SystemIdentity system = quillbay::identifySystem(VersionRecord{PlatformFamily(family), major, minor});
        QCOMPARE(system.name, name);
        QCOMPARE(system.level, level);
        QCOMPARE(system.ntFamily, family == int(PlatformFamily::NT));
        QCOMPARE(systemSupported(system), supported);
        QCOMPARE(windows2000OrLater(system), family == int(PlatformFamily::NT) && major >= 5);
    }

    void noVersionRecordIsUnknown()
    {
        const SystemIdentity system = quillbay::identifySystem(std::nullopt);
        QCOMPARE(system.level, 0);
        QVERIFY(system.name.isEmpty());
        QVERIFY(!systemSupported(system));
    }

    void runningSystemPasses()
    {
        const SystemIdentity system = identifyRunningSystem();
        QVERIFY(systemSupported(system));
        QVERIFY(windows2000OrLater(system));
    }

    void languageParts()
    {
        // 0x0411 Japanese (Japan), 0x0804 Chinese (PRC), 0x0404 Chinese (Taiwan).
        QCOMPARE(primaryLanguage(0x0411), 17);
        QCOMPARE(subLanguage(0x0411), 1);
        QCOMPARE(primaryLanguage(0x0804), 4);
        QCOMPARE(subLanguage(0x0804), 2);
        QCOMPARE(subLanguage(0x0404), 1);
        QCOMPARE(flagToCheckState(true), 1);
        QCOMPARE(flagToCheckState(false), 0);
        QVERIFY(numberToFlag(-1));
        QVERIFY(!numberToFlag(0));
    }
};

QTEST_GUILESS_MAIN(ArgumentsTest)

#include "tst_platformutilities.moc"
