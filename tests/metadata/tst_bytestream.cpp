#include "TestFiles.h"
#include "metadata/ByteStreamReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace quillbay;
using namespace quillbay::test;

namespace {

QByteArray pattern(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xFF);
    return bytes;
}

} // namespace

class TestByteStream : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryByteThenStops()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.bin"));
        // Larger than one buffer block, so the reads cross block borders.
        const QByteArray bytes = pattern(200 * 1024 + 3);
        writeFile(path, bytes);
        ByteStreamReader stream;
        QVERIFY(stream.Open(path));
        QCOMPARE(stream.Size(), bytes.size());
        QByteArray read;
        quint8 byte = 0;
        while (stream.ReadByte(byte))
            read.append(char(byte));
        QCOMPARE(read, bytes);
        QVERIFY(stream.AtEnd());
        byte = 0x5A;
        QVERIFY(!stream.ReadByte(byte));
        QCOMPARE(byte, quint8(0x5A));
        stream.Close();
        QVERIFY(!stream.IsOpen());
    }

    void readsAtAbsolutePositions()
    {
        const QByteArray bytes = pattern(150 * 1024);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.bin"));
        writeFile(path, bytes);
        ByteStreamReader stream;
        QVERIFY(stream.Open(path));
        for (qint64 position : {qint64(140000), qint64(5), qint64(65535), qint64(65536), qint64(150 * 1024 - 1)}) {
            quint8 byte = 0;
            qint64 next = -1;
            QVERIFY(stream.ReadByteAt(byte, position, next));
            QCOMPARE(byte, quint8(bytes.at(position)));
            QCOMPARE(next, position + 1);
            QCOMPARE(stream.Position(), position + 1);
        }
        quint8 byte = 0;
        qint64 next = -1;
        QVERIFY(!stream.ReadByteAt(byte, bytes.size(), next));
        QVERIFY(!stream.ReadByteAt(byte, -1, next));
        QCOMPARE(next, qint64(-1));
        // After a positioned read, sequential reads go on from there.
        QVERIFY(stream.ReadByteAt(byte, 10, next));
        QVERIFY(stream.ReadByte(byte));
        QCOMPARE(byte, quint8(bytes.at(11)));
    }

    void readBlock()
    {
        ByteStreamReader stream;
        QVERIFY(stream.OpenBytes("abcdef"));
        QByteArray block(4, 'x');
        QVERIFY(stream.ReadBlock(block));
        QCOMPARE(block, QByteArray("abcd"));
        QVERIFY(!stream.ReadBlock(block)); // only two bytes left
        QCOMPARE(block, QByteArray("efcd"));
        QVERIFY(stream.AtEnd());
    }

    void readModeIsFixedWhileOpen()
    {
        ByteStreamReader stream;
        QVERIFY(stream.OpenBytes("ab"));
        QVERIFY(!stream.SetReadMode(false));
        QVERIFY(stream.ReadMode());
        stream.Close();
        QVERIFY(stream.SetReadMode(false));
        QVERIFY(!stream.ReadMode());
        QVERIFY(!stream.OpenBytes("ab"));
    }

    void refusesWhatIsNoRegularFile()
    {
        QTemporaryDir dir;
        ByteStreamReader stream;
        QVERIFY(!stream.Open(dir.filePath(QStringLiteral("missing"))));
        QVERIFY(!stream.Open(dir.path()));
        const QString fifo = dir.filePath(QStringLiteral("pipe.jpg"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        // Must answer at once instead of waiting for a writer.
        QVERIFY(!stream.Open(fifo));
        QVERIFY(!stream.IsOpen());
    }

    void writeModeWritesInPlace()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.bin"));
        writeFile(path, "0123456789");
        ByteStreamReader stream;
        QVERIFY(stream.SetReadMode(false));
        QVERIFY(stream.Open(path));
        quint8 byte = 0;
        QVERIFY(!stream.ReadByte(byte));
        QVERIFY(stream.WriteBlock(quint8('A')));
        QVERIFY(stream.WriteBlock(QByteArray("BC")));
        QVERIFY(stream.Close());
        // Without the delete flag the rest of the old file stays.
        QCOMPARE(readFile(path), QByteArray("ABC3456789"));

        QVERIFY(stream.Open(path, true));
        const QByteArray big = pattern(100 * 1024);
        QVERIFY(stream.WriteBlock(big));
        QVERIFY(stream.WriteBlock(quint8(1)));
        QVERIFY(stream.Close());
        QCOMPARE(readFile(path), big + char(1));
    }

    void writeModeReportsFailure()
    {
        ByteStreamReader stream;
        QVERIFY(stream.SetReadMode(false));
        QVERIFY(!stream.Open(QStringLiteral("/nonexistent-folder-for-quillbay/x.bin")));
        QVERIFY(!stream.WriteBlock(quint8(1)));
    }

    void keepsNameAndFlag()
    {
        ByteStreamReader stream;
        QVERIFY(stream.Flag());
        stream.SetFlag(false);
        stream.SetName(QStringLiteral("n"));
        QVERIFY(!stream.Flag());
        QCOMPARE(stream.Name(), QStringLiteral("n"));
    }
};

QTEST_GUILESS_MAIN(TestByteStream)
#include "tst_bytestream.moc"
