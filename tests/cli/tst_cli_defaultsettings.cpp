// quillbay-cli without --settings: it reads the settings file of the main
// program in the user's data folder and never writes it.

#include "ProgramRun.h"
#include "TemporaryHome.h"
#include "TestFiles.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace quillbay::test;

class CliDefaultSettingsTest : public QObject
{
    Q_OBJECT

    TemporaryHome m_home;

    QString settingsFile() const { return m_home.dataFolder() + QStringLiteral("/Setting.xml"); }
    QString files() const { return m_home.path(QStringLiteral("files")); }

    ProgramRun cli(const QStringList &arguments)
    {
        return runProgram(QStringLiteral(QUILLBAY_CLI), arguments, m_home.environment());
    }

private slots:
    void init()
    {
        QDir(files()).removeRecursively();
        writeFile(files() + QStringLiteral("/a.txt"), "a");
    }

    void readsTheUsersSettingsFileWithoutWritingIt_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("preview") << QStringLiteral("preview");
        QTest::newRow("run") << QStringLiteral("run");
    }

    void readsTheUsersSettingsFileWithoutWritingIt()
    {
        QFETCH(QString, command);
        const QByteArray content = QStringLiteral("<settings version=\"1.0\" select=\"S\"><setting name=\"S\"><folders>"
                                                  "<folder path=\"%1\"/></folders><newNameRules>"
                                                  "<rule type=\"add\" text=\"x_\" position=\"before\"/>"
                                                  "</newNameRules></setting></settings>")
                                       .arg(files())
                                       .toUtf8();
        writeFile(settingsFile(), content);
        const QDateTime modified = QFileInfo(settingsFile()).lastModified();
        QStringList arguments{command};
        if (command == QLatin1String("run"))
            arguments << QStringLiteral("--report-dir") << m_home.path(QStringLiteral("reports"));
        const ProgramRun r = cli(arguments);
        QCOMPARE(r.exitCode, 0);
        if (command == QLatin1String("preview"))
            QVERIFY2(r.out.contains(QStringLiteral("newName=\"x_a.txt\"")), qPrintable(r.out));
        else
            QCOMPARE(QDir(files()).entryList(QDir::Files), QStringList{"x_a.txt"});
        QCOMPARE(readFile(settingsFile()), content);
        QCOMPARE(QFileInfo(settingsFile()).lastModified(), modified);
        QVERIFY(QDir(QFileInfo(settingsFile()).absolutePath()).entryList(QDir::Files) == QStringList{"Setting.xml"});
    }

    void refusesAFileOfAnotherVersion()
    {
        writeFile(settingsFile(), "<settings version=\"3.0\"><setting name=\"S\"/></settings>");
        const ProgramRun r = cli({QStringLiteral("preview")});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.err.contains(settingsFile()));
    }

    void missingFileIsNamed()
    {
        QFile::remove(settingsFile());
        const ProgramRun r = cli({QStringLiteral("preview")});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.err.contains(settingsFile()));
    }
};

QTEST_GUILESS_MAIN(CliDefaultSettingsTest)

#include "tst_cli_defaultsettings.moc"
