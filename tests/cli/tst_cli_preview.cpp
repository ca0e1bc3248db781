// quillbay-cli preview as a user runs it: exit codes, messages, output forms,
// and the settings file left untouched.

#include "ProgramRun.h"
#include "TemporaryHome.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace quillbay::test;

class CliPreviewTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir;

    TemporaryHome m_home;

    ProgramRun cli(const QStringList &args)
    {
        QProcessEnvironment env = m_home.environment();
        env.insert("LANG", "C");
        return runProgram(QStringLiteral(QUILLBAY_CLI), args, env);
    }
    QString writeSettings(const QString &rules, const QString &folder)
    {
        const QString path = dir->filePath("Setting.xml");
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(QStringLiteral("<settings version=\"2.0\" select=\"S\"><setting name=\"S\"><folders>"
                               "<folder path=\"%1\"/></folders><newNameRules>%2</newNameRules></setting>"
                               "<setting name=\"Other\"><folders><folder path=\"%1\"/></folders>"
                               "<newNameRules><rule type=\"add\" text=\"O\"/></newNameRules></setting></settings>")
                    .arg(folder, rules)
                    .toUtf8());
        return path;
    }

private slots:
    void init() { dir = std::make_unique<QTemporaryDir>(); }

    void badUsageAndUnreadableFilesExitWithTwo()
    {
        QCOMPARE(cli({}).exitCode, 2);
        QCOMPARE(cli({"preview"}).exitCode, 2);
        QCOMPARE(cli({"preview", "--settings", dir->filePath("none.xml")}).exitCode, 2);
        QFile junk(dir->filePath("junk.xml"));
        junk.open(QIODevice::WriteOnly);
        junk.write("<settings><unclosed>");
        junk.close();
        const ProgramRun r = cli({"preview", "--settings", junk.fileName()});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(!r.err.isEmpty());
        const QString settings = writeSettings("<rule type=\"add\" text=\"x\"/>", dir->path());
        QCOMPARE(cli({"preview", "--settings", settings, "--setting", "Nope"}).exitCode, 2);
    }

    void failedPreconditionsNameTheMissingFolderAndStop()
    {
        const QString gone = dir->filePath("gone");
        const ProgramRun r = cli({"preview", "--settings", writeSettings({}, gone)});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("Skipped a folder in \"Look in\" that does not exist: " + gone + "\n"),
                 qPrintable(r.err));
        QVERIFY(r.err.indexOf(gone) < r.err.indexOf("No naming rules. Nothing has done."));
        QVERIFY(r.err.indexOf("No naming rules") < r.err.indexOf("There are no folders in"));
        // Nothing was taken out of the settings file, and there is nothing to try again.
        QVERIFY(!r.err.contains("removed") && !r.err.contains("try again"));
    }

    void previewPrintsEntriesAndLeavesTheSettingsFileAlone()
    {
        QDir().mkpath(dir->filePath("files"));
        for (const char *name : {"a.txt", "b.txt", "b_.txt"}) {
            QFile f(dir->filePath(QStringLiteral("files/") + name));
            f.open(QIODevice::WriteOnly);
        }
        const QString settings =
            writeSettings("<rule type=\"regexpBase\" pattern=\"^(a|b)$\" replace=\"$1_\"/>", dir->filePath("files"));
        QFile s(settings);
        s.open(QIODevice::ReadOnly);
        const QByteArray before = s.readAll();
        s.close();
        const QDateTime modified = QFileInfo(settings).lastModified();

        const ProgramRun r = cli({"preview", "--settings", settings});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains("<file name=\"a.txt\" newName=\"a_.txt\""), qPrintable(r.out));
        // b.txt -> b_.txt is blocked by the existing b_.txt
        QVERIFY(r.out.contains("name=\"b.txt\" newName=\"b_.txt\""));
        QVERIFY(r.out.contains("include=\"false\""));
        QVERIFY2(r.err.contains("Left out 1 entry because its new name is not valid."), qPrintable(r.err));
        QVERIFY(!r.err.contains("check box"));

        s.open(QIODevice::ReadOnly);
        QCOMPARE(s.readAll(), before);
        QCOMPARE(QFileInfo(settings).lastModified(), modified);

        const ProgramRun other = cli({"preview", "--settings", settings, "--setting", "Other"});
        QCOMPARE(other.exitCode, 0);
        QVERIFY(other.out.contains("newName=\"Oa.txt\""));
    }

    void outputFileIsUtf16WithTheReportPrologue()
    {
        QDir().mkpath(dir->filePath("files"));
        QFile f(dir->filePath("files/a.txt"));
        f.open(QIODevice::WriteOnly);
        const QString out = dir->filePath("preview.xml");
        const ProgramRun r =
            cli({"preview", "--settings", writeSettings("<rule type=\"add\" text=\"_\"/>", dir->filePath("files")),
                 "--output", out});
        QCOMPARE(r.exitCode, 0);
        QFile o(out);
        QVERIFY(o.open(QIODevice::ReadOnly));
        const QByteArray bytes = o.readAll();
        QVERIFY(bytes.startsWith("\xff\xfe"));
        const QString text =
            QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData() + 2), (bytes.size() - 2) / 2);
        QVERIFY2(
            text.startsWith(
                "<?xml version='1.0' encoding='UTF-16'?><?xml-stylesheet type='text/xsl' href='../ReportEn.xsl' ?><files version=\"1.0\">"),
            qPrintable(text));
        QVERIFY(text.contains("newName=\"_a.txt\""));
    }
};

QTEST_GUILESS_MAIN(CliPreviewTest)
#include "tst_cli_preview.moc"
