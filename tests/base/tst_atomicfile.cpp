#include "base/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

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
};

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
