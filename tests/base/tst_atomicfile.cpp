#include "base/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillbay;

class TestAtomicFile : public QObject
{
    Q_OBJECT

private slots:
    // A written file has the permissions of any new file under the umask in
    // force, and no temporary file is left beside it.
    void newFileFollowsUmask_data()
    {
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("mode");
        QTest::newRow("022") << 022 << 0644;
        QTest::newRow("077") << 077 << 0600;
        QTest::newRow("002") << 002 << 0664;
    }
    void newFileFollowsUmask()
    {
        QFETCH(int, mask);
        QFETCH(int, mode);
        QTemporaryDir dir(QDir::home().filePath(QStringLiteral("atomic-XXXXXX")));
        const QString path = dir.filePath(QStringLiteral("file.xml"));
        const mode_t previous = ::umask(mode_t(mask));
        const Result<void> saved = writeFileAtomically(path, QByteArrayLiteral("first"));
        ::umask(previous);
        QVERIFY2(saved, qPrintable(saved.error().message));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), mode);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("file.xml")});
    }

    // Writing over a file replaces it whole; a write that cannot happen leaves
    // the old file as it was and says why.
    void replacesOrKeeps()
    {
        QTemporaryDir dir(QDir::home().filePath(QStringLiteral("atomic-XXXXXX")));
        const QString path = dir.filePath(QStringLiteral("file.xml"));
        QVERIFY(writeFileAtomically(path, QByteArrayLiteral("first version")));
        QVERIFY(writeFileAtomically(path, QByteArrayLiteral("second")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArrayLiteral("second"));

        const Result<void> failed = writeFileAtomically(dir.filePath(QStringLiteral("missing/file.xml")), "x");
        QVERIFY(!failed);
        QCOMPARE(failed.error().errorNumber, ENOENT);
        QVERIFY(!failed.error().message.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("file.xml")});
    }

    // Whole writes at the position or at an offset; a read stops at the end
    // of the file, and a write that fails says why.
    void readsAndWritesWhole()
    {
        QTemporaryDir dir(QDir::home().filePath(QStringLiteral("atomic-XXXXXX")));
        const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("f")));
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(fd >= 0);
        QCOMPARE(writeAll(fd, "0123456789", 10), 0);
        QCOMPARE(writeAll(fd, "ab", 2, 4), 0);
        char buffer[16] = {};
        QCOMPARE(readAt(fd, buffer, sizeof buffer, 2), std::int64_t(8));
        QCOMPARE(QByteArray(buffer, 8), QByteArrayLiteral("23ab6789"));
        QCOMPARE(readAt(fd, buffer, 4, 20), std::int64_t(0));
        ::close(fd);
        QCOMPARE(writeAll(fd, "x", 1), EBADF);
    }
};

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
