#include "base/Result.h"

#include <QTest>

using namespace quillbay;

namespace {

Result<int> half(int n)
{
    if (n % 2 != 0)
        return Error::withMessage(QStringLiteral("%1 is odd").arg(n));
    return n / 2;
}

Result<void> halveTwice(int n, int &out)
{
    const Result<int> once = half(n);
    if (!once)
        return once.error().about(QStringLiteral("first"));
    const Result<int> twice = half(once.value());
    if (!twice)
        return twice.error().about(QStringLiteral("second"));
    out = twice.value();
    return {};
}

} // namespace

class TestResult : public QObject
{
    Q_OBJECT

private slots:
    // A failure travels back with its message and what it concerns.
    void failuresTravelBack_data()
    {
        QTest::addColumn<int>("input");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("output");
        QTest::addColumn<QString>("message");
        QTest::newRow("both halves") << 12 << true << 3 << QString();
        QTest::newRow("odd at once") << 7 << false << -1 << QStringLiteral("first: 7 is odd");
        QTest::newRow("odd after one") << 10 << false << -1 << QStringLiteral("second: 5 is odd");
    }
    void failuresTravelBack()
    {
        QFETCH(int, input);
        QFETCH(bool, ok);
        QFETCH(int, output);
        QFETCH(QString, message);
        int out = -1;
        const Result<void> r = halveTwice(input, out);
        QCOMPARE(r.ok(), ok);
        QCOMPARE(bool(r), ok);
        QCOMPARE(out, output);
        QCOMPARE(r.error().message, message);
    }

    void errorKinds()
    {
        const Error system = Error::fromErrno(ENOENT);
        QCOMPARE(system.errorNumber, ENOENT);
        QVERIFY(!system.message.isEmpty());
        const Error text = Error::fromText(930, QStringLiteral("cannot read"));
        QCOMPARE(text.textId, 930);
        QCOMPARE(text.about(QStringLiteral("/r.xml")).message, QStringLiteral("/r.xml: cannot read"));
        QCOMPARE(text.about(QStringLiteral("/r.xml")).textId, 930);
    }

    // Asking a failed result for its value is a broken invariant: it is
    // logged, counted, and answered with the type's default.
    void valueOfAFailureRecovers()
    {
        const int before = brokenInvariantCount();
        const Result<QString> failed = Error::withMessage(QStringLiteral("no"));
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("invariant broken: m_ok")));
        QCOMPARE(failed.value(), QString());
        QCOMPARE(brokenInvariantCount(), before + 1);
        QCOMPARE(failed.valueOr(QStringLiteral("fallback")), QStringLiteral("fallback"));
        QCOMPARE(Result<QString>(QStringLiteral("yes")).valueOr(QStringLiteral("fallback")), QStringLiteral("yes"));
    }
};

QTEST_GUILESS_MAIN(TestResult)
#include "tst_result.moc"
