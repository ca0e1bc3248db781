// Date texts of the "date" rules: the direct local-time conversion must give
// what QDateTime gives in every time zone, and the formats must keep their
// texts for every option, including dates outside four-digit years.

#include "engine/NameDate.h"

#include <QDateTime>
#include <QTest>
#include <random>

using namespace quillbay;

namespace {

// The formats as plain QString arithmetic, for comparison.
QString reference(int position, const QDate &d, const QTime &t)
{
    const auto pad = [](int v, int w) { return QString::number(v).rightJustified(w, u'0'); };
    const QString y = pad(d.year(), 4), mo = pad(d.month(), 2), da = pad(d.day(), 2);
    const QString h = pad(t.hour(), 2), mi = pad(t.minute(), 2), s = pad(t.second(), 2);
    switch (position) {
    case 1:
        return y + "-" + mo + "-" + da + " " + h + mi + s;
    case 2:
        return y + mo + da + " " + h + mi + s;
    case 3:
        return y + mo + da + "T" + h + mi + s;
    case 4:
        return y + "-" + mo + "-" + da;
    case 5:
        return y + mo + da;
    default:
        return y + "-" + mo + "-" + da + " " + h + "-" + mi + "-" + s;
    }
}

} // namespace

class NameDateTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanupTestCase()
    {
        qunsetenv("TZ");
        refreshTimeZone();
    }

    void localTimeIsQDateTimesLocalTime_data()
    {
        QTest::addColumn<QByteArray>("zone");
        for (const char *zone :
             {"UTC", "Europe/Berlin", "America/New_York", "Australia/Lord_Howe", "Asia/Kolkata", "America/Sao_Paulo"})
            QTest::newRow(zone) << QByteArray(zone);
    }

    void localTimeIsQDateTimesLocalTime()
    {
        QFETCH(QByteArray, zone);
        qputenv("TZ", zone);
        refreshTimeZone();
        std::vector<qint64> instants = {0,
                                        1,
                                        999,
                                        1000,
                                        1616893199999,
                                        1616893200000,
                                        1635641999999,
                                        1635642000000,
                                        2147483646999,
                                        2147483647000,
                                        2147483648000,
                                        4102444800123,
                                        -1,
                                        -999,
                                        -1000,
                                        -86400001,
                                        -2208988800000};
        std::mt19937_64 random(42);
        for (int i = 0; i < 3000; ++i)
            instants.push_back(qint64(random() % (qint64(1) << 42)) - (qint64(1) << 38));
        for (const qint64 ms : instants) {
            const LocalDateTime local = localDateTimeOf(ms);
            const QDateTime expected = QDateTime::fromMSecsSinceEpoch(ms);
            QVERIFY2(local.date == expected.date() && local.time == expected.time(),
                     qPrintable(QStringLiteral("%1 ms: %2 %3, QDateTime %4")
                                    .arg(ms)
                                    .arg(local.date.toString(Qt::ISODate), local.time.toString(Qt::ISODateWithMs),
                                         expected.toString(Qt::ISODateWithMs))));
        }
    }

    void formatsKeepTheirTexts_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QTime>("time");
        QTest::newRow("example") << QDate(2004, 3, 7) << QTime(5, 4, 9);
        QTest::newRow("end of day") << QDate(1999, 12, 31) << QTime(23, 59, 59, 999);
        QTest::newRow("five-digit year") << QDate(12345, 1, 2) << QTime(0, 0);
        QTest::newRow("year before 1000") << QDate(987, 6, 5) << QTime(4, 3, 2);
        QTest::newRow("negative year") << QDate(-44, 3, 15) << QTime(12, 0);
        QTest::newRow("invalid") << QDate() << QTime();
    }

    void formatsKeepTheirTexts()
    {
        QFETCH(QDate, date);
        QFETCH(QTime, time);
        for (int position = 0; position < 6; ++position) {
            const QString option = nameDateOptions().at(position);
            QCOMPARE(FormatNameDate(option, date, time), reference(position, date, time));
        }
        QCOMPARE(FormatNameDate(QStringLiteral("no such option"), date, time), reference(0, date, time));
    }

    void exampleTexts()
    {
        const QDateTime when(QDate(2004, 3, 7), QTime(5, 4, 9));
        QCOMPARE(FormatNameDate(QStringLiteral("long date and time 1"), when), QStringLiteral("2004-03-07 05-04-09"));
        QCOMPARE(FormatNameDate(QStringLiteral("DateTimeIso8601Short"), when), QStringLiteral("20040307T050409"));
        QCOMPARE(FormatNameDate(QStringLiteral("short date 2"), when), QStringLiteral("20040307"));
    }
};

QTEST_GUILESS_MAIN(NameDateTest)
#include "tst_namedate.moc"
