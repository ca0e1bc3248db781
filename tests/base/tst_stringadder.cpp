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
        QVERIFY(adder.ToString().isEmpty());
    }

    void manySingleCharacters()
    {
        StringAdder adder;
        QString expected;
        for (int i = 0; i < 25000; ++i) {
            const QChar c(char16_t(0x20 + i % 0x7000));
            adder.AppendChar(c);
            expected += c;
        }
        QCOMPARE(adder.ToString(), expected);
    }

    void clearKeepsWorking()
    {
        StringAdder adder;
        adder.Append(QString(15000, u'x'));
        adder.Clear();
        adder.Append(QStringLiteral("ab"));
        QCOMPARE(adder.ToString(), QStringLiteral("ab"));
    }

    void piecesInOrder()
    {
        StringAdder adder;
        adder.Append(QStringLiteral("a"));
        adder.Append2(QStringLiteral("bc"), QString());
        adder.Append3(QStringLiteral("d"), QStringLiteral("ef"), QStringLiteral("g"));
        adder.AppendCode(0xE9);
        adder.AppendCode(0);
        adder.AppendCode(0xFFFF);
        adder.AppendChar(QChar(0xD800));
        QCOMPARE(adder.ToString(), QStringLiteral("abcdefg\u00e9") + QChar(0) + QChar(0xFFFF) + QChar(0xD800));
    }

    // Pieces larger than the buffer, and pieces that cross its end.
    void growthAcrossBufferEnd()
    {
        StringAdder adder;
        QString expected;
        const QString big(30000, u'b');
        const QString medium(9999, u'm');
        adder.Append(medium);
        expected += medium;
        adder.Append2(QStringLiteral("xy"), big);
        expected += QStringLiteral("xy") + big;
        adder.Append3(big, medium, big);
        expected += big + medium + big;
        adder.Append(QString());
        QCOMPARE(adder.ToString(), expected);
        const QString snapshot = adder.ToString();
        adder.AppendChar(u'z'); // earlier results are not changed by later appends
        QCOMPARE(snapshot, expected);
        QCOMPARE(adder.ToString(), expected + u'z');
    }
};

QTEST_GUILESS_MAIN(TestStringAdder)
#include "tst_stringadder.moc"
