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
        QVERIFY(stream.open(path));
        QCOMPARE(stream.Size(), bytes.size());
        QByteArray read;
        quint8 byte = 0;
        while (stream.readByte(byte))
            read.append(char(byte));
        QCOMPARE(read, bytes);
        QVERIFY(stream.atEnd());
        byte = 0x5A;
        QVERIFY(!stream.readByte(byte));
        QCOMPARE(byte, quint8(0x5A));
        stream.close();
        QVERIFY(!stream.isOpen());
    }

    void readsAtAbsolutePositions()
    {
        const QByteArray bytes = pattern(150 * 1024);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.bin"));
        writeFile(path, bytes);
        ByteStreamReader stream;
        QVERIFY(stream.open(path));
        for (qint64 position : {qint64(140000), qint64(5), qint64(65535), qint64(65536), qint64(150 * 1024 - 1)}) {
            quint8 byte = 0;
            qint64 next = -1;
            QVERIFY(stream.readByteAt(byte, position, next));
            QCOMPARE(byte, quint8(bytes.at(position)));
            QCOMPARE(next, position + 1);
            QCOMPARE(stream.position(), position + 1);
        }
        quint8 byte = 0;
        qint64 next = -1;
        QVERIFY(!stream.readByteAt(byte, bytes.size(), next));
        QVERIFY(!stream.readByteAt(byte, -1, next));
        QCOMPARE(next, qint64(-1));
        // After a positioned read, sequential reads go on from there.
        QVERIFY(stream.readByteAt(byte, 10, next));
        QVERIFY(stream.readByte(byte));
        QCOMPARE(byte, quint8(bytes.at(11)));
    }

    void readBlock()
    {
        ByteStreamReader stream;
        QVERIFY(stream.openBytes("abcdef"));
        QByteArray block(4, 'x');
        QVERIFY(stream.readBlock(block));
        QCOMPARE(block, QByteArray("abcd"));
        QVERIFY(!stream.readBlock(block)); // only two bytes left
        QCOMPARE(block, QByteArray("efcd"));
        QVERIFY(stream.atEnd());
    }

    void readModeIsFixedWhileOpen()
    {
        ByteStreamReader stream;
        QVERIFY(stream.openBytes("ab"));
        QVERIFY(!stream.setReadMode(false));
        QVERIFY(stream.readMode());
        stream.close();
        QVERIFY(stream.setReadMode(false));
        QVERIFY(!stream.readMode());
        QVERIFY(!stream.openBytes("ab"));
    }

    void refusesWhatIsNoRegularFile()
    {
        QTemporaryDir dir;
        ByteStreamReader stream;
        QVERIFY(!stream.open(dir.filePath(QStringLiteral("missing"))));
        QVERIFY(!stream.open(dir.path()));
        const QString fifo = dir.filePath(QStringLiteral("pipe.jpg"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        // Must answer at once instead of waiting for a writer.
        QVERIFY(!stream.open(fifo));
        QVERIFY(!stream.isOpen());
    }

    void writeModeWritesInPlace()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.bin"));
        writeFile(path, "0123456789");
        ByteStreamReader stream;
        QVERIFY(stream.setReadMode(false));
        QVERIFY(stream.open(path));
        quint8 byte = 0;
        QVERIFY(!stream.readByte(byte));
        QVERIFY(stream.writeBlock(quint8('A')));
        QVERIFY(stream.writeBlock(QByteArray("BC")));
        QVERIFY(stream.close());
        // Without the delete flag the rest of the old file stays.
        QCOMPARE(readFile(path), QByteArray("ABC3456789"));

        QVERIFY(stream.open(path, true));
        const QByteArray big = pattern(100 * 1024);
        QVERIFY(stream.writeBlock(big));
        QVERIFY(stream.writeBlock(quint8(1)));
        QVERIFY(stream.close());
        QCOMPARE(readFile(path), big + char(1));
    }

    void writeModeReportsFailure()
    {
        ByteStreamReader stream;
        QVERIFY(stream.setReadMode(false));
        QVERIFY(!stream.open(QStringLiteral("/nonexistent-folder-for-quillbay/x.bin")));
        QVERIFY(!stream.writeBlock(quint8(1)));
    }

    void keepsNameAndFlag()
    {
        ByteStreamReader stream;
        QVERIFY(stream.flag());
        stream.setFlag(false);
        stream.setName(QStringLiteral("n"));
        QVERIFY(!stream.flag());
        QCOMPARE(stream.name(), QStringLiteral("n"));
    }
};

QTEST_GUILESS_MAIN(TestByteStream)
#include "tst_bytestream.moc"
