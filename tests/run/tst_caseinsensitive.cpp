// Renames on a file system that ignores letter case: a FAT image mounted for
// the test (by the kernel where it can, else through FUSE), or an ext4 image
// with case folding. Where none can be mounted, the tests say so and skip.

#include "RunFixture.h"

#include "run/RenameExecutor.h"
#include "run/TemporaryName.h"
#include "run/Undo.h"
#include "text/UiText.h"

#include <QProcess>
#include <QStandardPaths>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillbay;
using namespace quillbay::test;

namespace {

int runTool(const QString &program, const QStringList &args, QString *output = nullptr)
{
    const QString path = QStandardPaths::findExecutable(program).isEmpty()
        ? QStandardPaths::findExecutable(program, {"/usr/sbin", "/sbin"})
        : QStandardPaths::findExecutable(program);
    if (path.isEmpty()) {
        if (output)
            *output = program + " is not installed";
        return -1;
    }
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(path, args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (output)
        *output = QString::fromLocal8Bit(p.readAll()).trimmed();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

bool isMountPoint(const QString &path)
{
    struct stat inside;
    struct stat parent;
    return ::stat(QFile::encodeName(path).constData(), &inside) == 0
        && ::stat(QFile::encodeName(path + "/..").constData(), &parent) == 0 && inside.st_dev != parent.st_dev;
}

} // namespace

class CaseInsensitiveTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_mount;
    QString m_kind;
    QString m_work; // the folder on the mounted file system the tests use
    QStringList m_whyNot;

    bool tryMount(const QString &kind, const QString &mkfs, const QStringList &mkfsArgs, const QString &mounter,
                  const QStringList &mountArgs)
    {
        const QString image = m_dir.path() + "/" + kind + ".img";
        QFile f(image);
        if (!f.open(QIODevice::WriteOnly) || !f.resize(32 << 20))
            return false;
        f.close();
        QString out;
        if (runTool(mkfs, mkfsArgs + QStringList{image}, &out) != 0) {
            m_whyNot << kind + ": " + mkfs + ": " + out;
            return false;
        }
        if (runTool(mounter, mountArgs + QStringList{image, m_mount}, &out) != 0 || !isMountPoint(m_mount)) {
            m_whyNot << kind + ": " + mounter + ": " + out;
            return false;
        }
        m_kind = kind;
        return true;
    }

    Result<ExecutionSummary> execute(PreviewDocument &doc)
    {
        RenameExecutor executor(ReportFolders::underDataFolder(m_dir.path() + "/data"));
        return executor.ExecuteRenameList(doc);
    }

private slots:
    void initTestCase()
    {
        UiText::setLanguage(UiLanguage::English);
        m_mount = m_dir.path() + "/mnt";
        QDir().mkpath(m_mount);
        const bool mounted =
            (::geteuid() == 0 && tryMount("vfat", "mkfs.vfat", {}, "mount", {"-t", "vfat", "-o", "loop"}))
            || (::geteuid() == 0
                && tryMount("ext4-casefold", "mkfs.ext4", {"-q", "-F", "-O", "casefold"}, "mount", {"-o", "loop"}))
            || tryMount("fusefat", "mkfs.vfat", {}, "fusefat", {"-o", "rw+"});
        if (!mounted)
            QSKIP(qPrintable("No file system that ignores letter case could be mounted here: " + m_whyNot.join("; ")));
        m_work = m_mount + "/work";
        QVERIFY(QDir().mkpath(m_work));
        if (m_kind == "ext4-casefold")
            QCOMPARE(runTool("chattr", {"+F", m_work}), 0);
        // The premise: this file system finds a name under any spelling.
        writeFile(m_work + "/probe.txt", "p");
        QVERIFY2(QFile::exists(m_work + "/PROBE.TXT"), qPrintable(m_kind + " does not ignore case"));
        QVERIFY(QFile::remove(m_work + "/probe.txt"));
        qInfo("Testing on %s", qPrintable(m_kind));
    }

    void cleanupTestCase()
    {
        if (m_kind.isEmpty())
            return;
        if (runTool("umount", {m_mount}) != 0 && runTool("fusermount", {"-u", m_mount}) != 0)
            runTool("umount", {"-l", m_mount});
    }

    void cleanup()
    {
        if (!m_work.isEmpty())
            for (const QString &name : namesIn(m_work))
                QDir(m_work + "/" + name).exists() ? (void)QDir(m_work + "/" + name).removeRecursively()
                                                   : (void)QFile::remove(m_work + "/" + name);
    }

    void caseOnlyFileRename()
    {
        writeFile(m_work + "/readme.txt", "read me");
        PreviewDocument doc;
        doc.AddPreviewEntry("file", m_work, "readme.txt", "README.TXT", true);
        const Result<ExecutionSummary> r = execute(doc);
        QVERIFY(r->allSucceeded);
        QCOMPARE(namesIn(m_work), QStringList({"README.TXT"}));
        QCOMPARE(readFile(m_work + "/README.TXT"), QByteArray("read me"));
        LoadedReport report;
        loadReport(r->report.valueOr({}), report);
        QCOMPARE(attr(report.entry(0), "renamed"), QStringLiteral("yes"));

        PreviewDocument reversal;
        QVERIFY(Undo::UndoFromReport(r->report.valueOr({}), reversal, "En"));
        QVERIFY(execute(reversal)->allSucceeded);
        QCOMPARE(namesIn(m_work), QStringList({"readme.txt"}));
    }

    void caseOnlyFolderRename()
    {
        if (m_kind == "fusefat")
            QSKIP("fusefat empties a folder on any rename of it (plain mv does the same), so folder renames "
                  "cannot be tested on it");
        QVERIFY(QDir(m_work).mkdir("photos"));
        writeFile(m_work + "/photos/a.jpg", "jpeg");
        PreviewDocument doc;
        doc.AddPreviewEntry("file", m_work + "/photos", "a.jpg", "A.JPG", true);
        doc.AddPreviewEntry("folder", m_work, "photos", "Photos", true);
        const Result<ExecutionSummary> r = execute(doc);
        QVERIFY(r->allSucceeded);
        QCOMPARE(namesIn(m_work), QStringList({"Photos"}));
        QCOMPARE(readFile(m_work + "/Photos/A.JPG"), QByteArray("jpeg"));
    }

    void renameOntoAnotherSpellingOfAnotherFileFails()
    {
        writeFile(m_work + "/a.txt", "a");
        writeFile(m_work + "/b.txt", "b");
        PreviewDocument doc;
        doc.AddPreviewEntry("file", m_work, "a.txt", "B.TXT", true);
        const Result<ExecutionSummary> r = execute(doc);
        QCOMPARE(r->failed, 1);
        QCOMPARE(namesIn(m_work), QStringList({"a.txt", "b.txt"}));
        QCOMPARE(readFile(m_work + "/a.txt"), QByteArray("a"));
        QCOMPARE(readFile(m_work + "/b.txt"), QByteArray("b"));
        LoadedReport report;
        loadReport(r->report.valueOr({}), report);
        QCOMPARE(attr(report.entry(0), "error"), QStringLiteral("File already exists"));
    }

    void swapAndPlainRenames()
    {
        writeFile(m_work + "/one.txt", "1");
        writeFile(m_work + "/two.txt", "2");
        writeFile(m_work + "/three.txt", "3");
        TemporaryNameSource names(5);
        const QString tmp = names.MakeTemporaryName(m_work, 100)->name;
        PreviewDocument doc;
        doc.AddPreviewEntry("file", m_work, "one.txt", tmp, true);
        doc.AddPreviewEntry("file", m_work, "two.txt", "one.txt", true);
        doc.AddPreviewEntry("file", m_work, tmp, "two.txt", true);
        doc.AddPreviewEntry("file", m_work, "three.txt", "drei.txt", true);
        const Result<ExecutionSummary> r = execute(doc);
        QVERIFY(r->allSucceeded);
        QCOMPARE(namesIn(m_work), QStringList({"drei.txt", "one.txt", "two.txt"}));
        QCOMPARE(readFile(m_work + "/one.txt"), QByteArray("2"));
        QCOMPARE(readFile(m_work + "/two.txt"), QByteArray("1"));
    }
};

QTEST_GUILESS_MAIN(CaseInsensitiveTest)
#include "tst_caseinsensitive.moc"
