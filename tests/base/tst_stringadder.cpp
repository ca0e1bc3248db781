#include "base/StringAdder.h"

#include <QTest>

using quillbay::StringAdder;

class TestStringAdder : public QObject
{
    Q_OBJECT

private slots:
    void newIsEmpty()
    {
        StringAdder adder;
        QVERIFY(adder.toString().isEmpty());
    }

    void manySingleCharacters()
    {
        StringAdder adder;
        QString expected;
        for (int i = 0; i < 25000; ++i) {
            const QChar c(char16_t(0x20 + i % 0x7000));
            adder.appendChar(c);
            expected += c;
        }
        QCOMPARE(adder.toString(), expected);
    }

    void clearKeepsWorking()
    {
        StringAdder adder;
        adder.append(QString(15000, u'x'));
        adder.clear();
        adder.append(QStringLiteral("ab"));
        QCOMPARE(adder.toString(), QStringLiteral("ab"));
    }

    void piecesInOrder()
    {
        StringAdder adder;
        adder.append(QStringLiteral("a"));
        adder.append2(QStringLiteral("bc"), QString());
        adder.append3(QStringLiteral("d"), QStringLiteral("ef"), QStringLiteral("g"));
        adder.appendCode(0xE9);
        adder.appendCode(0);
        adder.appendCode(0xFFFF);
        adder.appendChar(QChar(0xD800));
        QCOMPARE(adder.toString(), QStringLiteral("abcdefg\u00e9") + QChar(0) + QChar(0xFFFF) + QChar(0xD800));
    }

    // Pieces larger than the buffer, and pieces that cross its end.
    void growthAcrossBufferEnd()
    {
        StringAdder adder;
        QString expected;
        const QString big(30000, u'b');
        const QString medium(9999, u'm');
        adder.append(medium);
        expected += medium;
        adder.append2(QStringLiteral("xy"), big);
        expected += QStringLiteral("xy") + big;
        adder.append3(big, medium, big);
        expected += big + medium + big;
        adder.append(QString());
        QCOMPARE(adder.toString(), expected);
        const QString snapshot = adder.toString();
        adder.appendChar(u'z'); // earlier results are not changed by later appends
        QCOMPARE(snapshot, expected);
        QCOMPARE(adder.toString(), expected + u'z');
    }
};

QTEST_GUILESS_MAIN(TestStringAdder)
#include "tst_stringadder.moc"
