#include "metadata/NumberText.h"
#include "metadata/TiffIfdEntry.h"

#include <QtTest>

using namespace quillbay;

using Raw = std::array<quint8, 4>;
Q_DECLARE_METATYPE(Raw)

class TestExifParts : public QObject
{
    Q_OBJECT

private slots:
    void entryValue_data()
    {
        QTest::addColumn<bool>("bigEndian");
        QTest::addColumn<int>("type");
        QTest::addColumn<quint32>("count");
        QTest::addColumn<Raw>("raw");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<quint32>("value");
        QTest::addColumn<quint32>("offset");
        const Raw bytes{0x01, 0x02, 0x03, 0x04};
        QTest::newRow("SHORT little") << false << 3 << 1u << bytes << 0 << true << 0x0201u << 0u;
        QTest::newRow("SHORT big") << true << 3 << 1u << bytes << 0 << true << 0x0102u << 0u;
        QTest::newRow("two SHORTs fit") << true << 3 << 2u << bytes << 0 << true << 0x0102u << 0u;
        QTest::newRow("three SHORTs: offset") << true << 3 << 3u << bytes << 0 << false << 0u << 0x01020304u;
        QTest::newRow("LONG little") << false << 4 << 1u << bytes << 0 << true << 0x04030201u << 0u;
        QTest::newRow("LONG big") << true << 4 << 1u << bytes << 0 << true << 0x01020304u << 0u;
        QTest::newRow("two LONGs: offset") << false << 4 << 2u << bytes << 0 << false << 0u << 0x04030201u;
        QTest::newRow("RATIONAL: offset") << true << 5 << 1u << bytes << 0 << false << 0u << 0x01020304u;
        QTest::newRow("SRATIONAL: offset") << false << 10 << 1u << bytes << 0 << false << 0u << 0x04030201u;
        QTest::newRow("DOUBLE: offset") << false << 12 << 1u << bytes << 0 << false << 0u << 0x04030201u;
        QTest::newRow("four BYTEs fit") << true << 1 << 4u << bytes << 0 << true << 0x01u << 0u;
        QTest::newRow("ASCII of 4 fits") << false << 2 << 4u << bytes << 0 << true << 0x01u << 0u;
        QTest::newRow("ASCII of 5: offset") << false << 2 << 5u << bytes << 0 << false << 0u << 0x04030201u;
        QTest::newRow("SSHORT is sign-extended")
            << true << 8 << 1u << Raw{0xFF, 0xFE, 0, 0} << 0 << true << 0xFFFFFFFEu << 0u;
        QTest::newRow("SBYTE is sign-extended")
            << false << 6 << 1u << Raw{0x80, 0, 0, 0} << 0 << true << 0xFFFFFF80u << 0u;
        QTest::newRow("FLOAT bits") << false << 11 << 1u << bytes << 0 << true << 0x04030201u << 0u;
        QTest::newRow("unknown type") << false << 0 << 1u << bytes << 1 << false << 0u << 0u;
        QTest::newRow("type 14") << false << 14 << 1u << bytes << 1 << false << 0u << 0u;
        QTest::newRow("count 0") << false << 3 << 0u << bytes << 2 << false << 0u << 0u;
        QTest::newRow("count too large") << false << 12 << 0x20000000u << bytes << 3 << false << 0u << 0u;
    }

    void entryValue()
    {
        QFETCH(bool, bigEndian);
        QFETCH(int, type);
        QFETCH(quint32, count);
        QFETCH(Raw, raw);
        QFETCH(int, result);
        TiffEntryValue out;
        QCOMPARE(TiffIfdEntryValueOffsetGetValue(bigEndian, quint16(type), count, raw, out), result);
        if (result != 0)
            return;
        QTEST(out.fitsInField, "fits");
        QTEST(out.value, "value");
        QTEST(out.offset, "offset");
    }

    void significantDigits_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("text");
        QTest::newRow("0.008") << 0.008 << 3 << "0.00800";
        QTest::newRow("0.5") << 0.5 << 3 << "0.500";
        QTest::newRow("2") << 2.0 << 3 << "2.000";
        QTest::newRow("30") << 30.0 << 3 << "30.00";
        QTest::newRow("125 with 2") << 125.0 << 2 << "125";
        QTest::newRow("2^2.5 with 2") << std::pow(2.0, 2.5) << 2 << "5.7";
        QTest::newRow("zero") << 0.0 << 3 << "0";
        QTest::newRow("negative") << -0.25 << 2 << "-0.250";
        QTest::newRow("tiny: at most 10 decimals") << 1e-12 << 3 << "0.0000000000";
        QTest::newRow("large: no grouping") << 1234567.0 << 3 << "1234567";
        QTest::newRow("infinite") << qInf() << 3 << "";
        QTest::newRow("not a number") << qQNaN() << 3 << "";
    }

    void significantDigits()
    {
        QFETCH(double, x);
        QFETCH(int, digits);
        QTEST(significantDigitsText(x, digits, QStringLiteral(".")), "text");
    }

    void plainDecimal_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("text");
        QTest::newRow("2.8") << 28.0 / 10 << "2.8";
        QTest::newRow("4") << 4.0 << "4";
        QTest::newRow("5.6") << 56.0 / 10 << "5.6";
        QTest::newRow("a third") << 1.0 / 3 << "0.333333333333333";
        QTest::newRow("small: no exponent") << 1e-5 << "0.00001";
        QTest::newRow("zero") << 0.0 << "0";
    }

    void plainDecimal()
    {
        QFETCH(double, x);
        QTEST(plainDecimalText(x, QStringLiteral(".")), "text");
        QVERIFY(!plainDecimalText(x, QStringLiteral(",")).contains(QLatin1Char('.')));
    }

    void separatorComesFromTheLocale()
    {
        // The tests run with LANG=C.UTF-8.
        QCOMPARE(userDecimalSeparator(), QStringLiteral("."));
        QCOMPARE(significantDigitsText(0.008, 3, QStringLiteral(",")), QStringLiteral("0,00800"));
    }
};

QTEST_GUILESS_MAIN(TestExifParts)
#include "tst_exifparts.moc"
