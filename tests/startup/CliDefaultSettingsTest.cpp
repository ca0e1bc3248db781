// quillbay-cli without --settings: it reads the settings file of the main
// program in the user's data folder and never writes it.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

class CliDefaultSettingsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString settingsFile() const { return m_dir.filePath(QStringLiteral("share/Tolvane/Quillbay/Setting.xml")); }
    QString files() const { return m_dir.filePath(QStringLiteral("files")); }

    struct Result {
        int exitCode = -1;
        QString out, err;
    };
    Result cli(const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_dir.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("share")));
        env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(QUILLBAY_CLI_PROGRAM), arguments);
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

private slots:
    void init()
    {
        QDir(files()).removeRecursively();
        QVERIFY(writeAll(files() + QStringLiteral("/a.txt"), "a"));
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
        QVERIFY(writeAll(settingsFile(), content));
        const QDateTime modified = QFileInfo(settingsFile()).lastModified();
        QStringList arguments{command};
        if (command == QLatin1String("run"))
            arguments << QStringLiteral("--report-dir") << m_dir.filePath(QStringLiteral("reports"));
        const Result r = cli(arguments);
        QCOMPARE(r.exitCode, 0);
        if (command == QLatin1String("preview"))
            QVERIFY2(r.out.contains(QStringLiteral("newName=\"x_a.txt\"")), qPrintable(r.out));
        else
            QCOMPARE(QDir(files()).entryList(QDir::Files), QStringList{"x_a.txt"});
        QCOMPARE(readAll(settingsFile()), content);
        QCOMPARE(QFileInfo(settingsFile()).lastModified(), modified);
        QVERIFY(QDir(QFileInfo(settingsFile()).absolutePath()).entryList(QDir::Files) == QStringList{"Setting.xml"});
    }

    void refusesAFileOfAnotherVersion()
    {
        QVERIFY(writeAll(settingsFile(), "<settings version=\"3.0\"><setting name=\"S\"/></settings>"));
        const Result r = cli({QStringLiteral("preview")});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.err.contains(settingsFile()));
    }

    void missingFileIsNamed()
    {
        QFile::remove(settingsFile());
        const Result r = cli({QStringLiteral("preview")});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.err.contains(settingsFile()));
    }
};

int runCliDefaultSettingsTests(int argc, char **argv)
{
    CliDefaultSettingsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CliDefaultSettingsTest.moc"
