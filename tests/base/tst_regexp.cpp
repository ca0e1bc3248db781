// Expected values are what JavaScript (String.prototype.replace, RegExp.exec)
// gives for the same pattern, flags and text, except for \s and \S
// (whiteSpaceIsAscii below).
#include "base/RegExp.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

using quillbay::RegExp;

namespace {

void configure(RegExp &re, const QString &pattern, const QString &flags)
{
    re.setPattern(pattern);
    re.setGlobal(flags.contains(u'g'));
    re.setIgnoreCase(flags.contains(u'i'));
    re.setMultiline(flags.contains(u'm'));
}

QString withUnit(const QString &before, char16_t unit, const QString &after)
{
    return before + QChar(unit) + after;
}

} // namespace

class TestRegExp : public QObject
{
    Q_OBJECT

private:
    static void addColumns()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("expected");
    }
    static void Row(const char *name, QStringView pattern, QStringView flags, QStringView subject,
                    QStringView replacement, QStringView expected)
    {
        QTest::newRow(name) << pattern.toString() << flags.toString() << subject.toString() << replacement.toString()
                            << expected.toString();
    }
    static void checkReplace()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, flags);
        QFETCH(QString, subject);
        QFETCH(QString, replacement);
        QFETCH(QString, expected);
        RegExp re;
        configure(re, pattern, flags);
        const std::optional<QString> result = re.Replace(subject, replacement);
        QVERIFY2(result.has_value(), qPrintable(re.errorText()));
        QCOMPARE(*result, expected);
    }

private slots:
    void replacementTokens_data()
    {
        addColumns();
        Row("groups swapped", u"(\\w+) (\\w+)", u"", u"john smith", u"$2, $1", u"smith, john");
        Row("$1 without groups", u"abc", u"", u"xabcx", u"$1", u"x$1x");
        Row("$2 beyond groups", u"(a)", u"", u"xax", u"$2", u"x$2x");
        Row("$0 literal", u"(a)", u"", u"xax", u"$0", u"x$0x");
        Row("$01 two digits", u"(a)", u"", u"xax", u"$01", u"xax");
        Row("$10 with one group", u"(a)", u"", u"xax", u"$10", u"xa0x");
        Row("$10 with ten groups", u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", u"", u"abcdefghij", u"$10-$1-$11-$01",
            u"j-a-a1-a");
        Row("$& $` $' $$", u"b", u"", u"abc", u"[$&|$`|$'|$$|$]", u"a[b|a|c|$|$]c");
        Row("unset groups empty", u"(a)|(b)", u"g", u"ab", u"[$1|$2]", u"[a|][|b]");
        Row("unset group in optional", u"(a)|b", u"", u"b", u"[$1]", u"[]");
        Row("named groups", u"(?<y>\\d{4})-(?<m>\\d\\d)", u"", u"2024-05", u"$<m>/$<y>$<zz>", u"05/2024");
        Row("$<name> without names", u"(\\d)", u"", u"x1", u"$<a>", u"x$<a>");
        Row("trailing dollar", u"a", u"", u"a", u"x$", u"x$");
    }
    void replacementTokens() { checkReplace(); }

    void globalAndEmptyMatches_data()
    {
        addColumns();
        Row("x* global", u"x*", u"g", u"abc", u"-", u"-a-b-c-");
        Row("empty pattern global", u"", u"g", u"abc", u"-", u"-a-b-c-");
        Row("empty pattern once", u"", u"", u"abc", u"-", u"-abc");
        Row("alternation with empty", u"a|", u"g", u"bab", u"-", u"-b--b-");
        Row("first only", u"a", u"", u"aaa", u"b", u"baa");
        Row("all", u"a", u"g", u"aaa", u"b", u"bbb");
        Row("lazy", u"a+?", u"", u"aaa", u"_", u"_aa");
        Row("no match", u"z", u"g", u"abc", u"_", u"abc");
        Row("empty subject", u"x*", u"g", u"", u"-", u"-");
        Row("lookbehind across searches", u"(?<=\\$)\\d+", u"g", u"$12 34", u"N", u"$N 34");
        Row("negative lookbehind", u"(?<!\\$)\\b\\d+", u"g", u"$12 34", u"N", u"$12 N");
    }
    void globalAndEmptyMatches() { checkReplace(); }

    void flags_data()
    {
        addColumns();
        Row("$ only at the very end", u"a$", u"", u"a\u000a", u"X", u"a\u000a");
        Row("$ at end", u"a$", u"", u"ba", u"X", u"bX");
        Row("multiline $", u"a$", u"m", u"a\u000ab", u"X", u"X\u000ab");
        Row("multiline ^ after every terminator", u"^b", u"gm", u"a\u000ab\u000d\u000ab\u2028b", u"X",
            u"a\u000aX\u000d\u000aX\u2028X");
        Row("^ without multiline", u"^b", u"g", u"b\u000ab", u"X", u"X\u000ab");
        Row("ignore case ASCII", u"ABC", u"i", u"xabcx", u"-", u"x-x");
        Row("ignore case accented", u"\u00c9", u"i", u"\u00e9t\u00e9", u"E", u"Et\u00e9");
        Row("case matters", u"ABC", u"", u"xabcx", u"-", u"xabcx");
        // Case folding that ECMAScript does not do: U+017F/s, U+212A/k, U+03F4/theta, U+1E9E/sharp s.
        Row("long s alone", u"\u017f", u"i", u"ss\u017f", u"-", u"ss-");
        Row("s not long s", u"s", u"gi", u"sS\u017f", u"-", u"--\u017f");
        Row("Kelvin alone", u"\u212a", u"gi", u"kK\u212a", u"-", u"kK-");
        Row("range not long s", u"[k-t]", u"gi", u"Kk\u017fS\u212a", u"-", u"--\u017f-\u212a");
        Row("negated class", u"[^s]", u"gi", u"sS\u017f", u"-", u"sS-");
        Row("theta", u"\u03b8", u"gi", u"\u0398\u03b8\u03d1\u03f4", u"-", u"---\u03f4");
        Row("sharp s", u"\u00df", u"gi", u"\u00df\u1e9eSS", u"-", u"-\u1e9eSS");
    }
    void flags() { checkReplace(); }

    // The ECMAScript meaning of escapes and classes, where PCRE2 differs.
    void ecmaScriptSyntax_data()
    {
        addColumns();
        Row("\\u00a9", u"\\u00a9", u"", u"a\u00a9b", u"[$&]", u"a[\u00a9]b");
        Row("\\d is ASCII", u"\\d", u"g", u"1\u0661\u06f1\uff11", u"#", u"#\u0661\u06f1\uff11");
        Row("\\w is ASCII", u"\\w", u"g", u"a\u00e9_1", u"#", u"#\u00e9##");
        Row("\\W", u"\\W", u"g", u"a\u00e9_1", u"#", u"a#_1");
        Row("\\W ignore case", u"\\W", u"gi", u"sS\u017fk\u212a", u"#", u"sS#k#");
        Row("[\\W] ignore case", u"[\\W]", u"gi", u"sS\u017fk\u212a", u"#", u"sS#k#");
        Row("[^\\w] ignore case", u"[^\\w]", u"gi", u"sS\u017fk\u212a-", u"#", u"sS#k##");
        Row("\\b ASCII", u"\\bfoo\\b", u"g", u"foo \u00e9foo foo\u00e9 foo_ foo", u"X", u"X \u00e9X X\u00e9 foo_ X");
        Row("\\B", u"\\B", u"g", u"ab \u00e9", u"-", u"a-b -\u00e9-");
        Row("\\v", u"\\v", u"g", u"a\u000bb\u000ac", u"_", u"a_b\u000ac");
        Row("dot", u".", u"g", u"a\u000ab\u000dc\u2028d\u2029e\u0085f", u"_", u"_\u000a_\u000d_\u2028_\u2029___");
        Row("\\x and short \\x", u"\\x41\\x4", u"g", u"Ax4", u"_", u"_");
        Row("short \\u", u"\\u004", u"g", u"u004", u"_", u"_");
        Row("identity escapes", u"\\a\\e\\g\\Q\\E", u"", u"aegQE", u"_", u"_");
        Row("[\\b] backspace", u"[\\b]", u"", u"a\u0008b", u"_", u"a_b");
        Row("\\0", u"\\0", u"", QStringView(u"a\u0000b", 3), u"_", u"a_b"); // the NUL is part of the text
        Row("octal", u"\\101", u"", u"xAx", u"_", u"x_x");
        Row("back-reference", u"(a)\\1", u"", u"aab", u"_", u"_b");
        Row("\\2 without group 2 is octal", u"(a)\\2", u"", u"aa\u0002", u"_", u"a_");
        Row("\\8", u"\\8", u"", u"a8", u"_", u"a_");
        Row("\\18 with one group", u"(a)\\18", u"", u"a\u00018", u"_", u"_");
        Row("forward reference", u"\\1(a)", u"", u"ba", u"_", u"b_");
        Row("lone {", u"a{", u"", u"a{", u"_", u"_");
        Row("{,2} literal", u"a{,2}", u"", u"a{,2}", u"_", u"_");
        Row("{2}", u"a{2}", u"", u"aaa", u"_", u"_a");
        Row("[] matches nothing", u"[]a", u"", u"a", u"_", u"a");
        Row("[^] matches all", u"[^]", u"g", u"a\u000a", u"_", u"__");
        Row("optional empty class", u"[]{0,2}", u"g", u"ab", u"-", u"-a-b-");
        Row("[\\d-z]", u"[\\d-z]", u"g", u"5-az", u"_", u"__a_");
        Row("\\c", u"\\cA\\c1", u"", u"\u0001\\c1", u"_", u"_");
        Row("[\\c1]", u"[\\c1]", u"", u"\u0011", u"_", u"_");
        Row("quantified lookahead", u"(?=a)*b", u"", u"b", u"_", u"_");
        Row("empty group repeat", u"(a*)+", u"", u"b", u"[$1]", u"[]b");
        Row("escaped slash", u"\\//", u"", u"a//b", u"_", u"a_b");
        Row("punctuation literal", u"a.b*c+(d)", u"", u"a.bbcd", u"[$1]", u"[d]");
    }
    void ecmaScriptSyntax() { checkReplace(); }

    // \s is ASCII white space (U+0009 to U+000D, U+0020), as in the scripting
    // engine the settings' patterns were written for. Today's JavaScript
    // engines also match U+00A0, U+FEFF, U+1680, U+2000-U+200A, U+2028,
    // U+2029, U+202F, U+205F and U+3000, so these rows are compared with the
    // ASCII set instead of with JavaScript.
    void whiteSpaceIsAscii_data()
    {
        addColumns();
        const QString wide = QStringLiteral("a\u00a0b\ufeffc\u2028d\u1680e\u2003f\u202fg\u205fh\u3000i\u0085j");
        const QString ascii = QStringLiteral("k\u0009l\u000am\u000bn\u000co\u000dp q");
        Row("\\s", u"\\s", u"g", wide + ascii, u"_", wide + QStringLiteral("k_l_m_n_o_p_q"));
        Row("\\s ignore case", u"\\s", u"gi", wide + ascii, u"_", wide + QStringLiteral("k_l_m_n_o_p_q"));
        Row("[\\s]", u"[\\s]", u"g", wide + ascii, u"_", wide + QStringLiteral("k_l_m_n_o_p_q"));
        Row("[\\s] ignore case", u"[\\sk]", u"gi", wide + ascii, u"_", wide + QStringLiteral("__l_m_n_o_p_q"));
        Row("\\S+ whole", u"\\S+", u"g", u"m\u00a0n", u"<$&>", u"<m\u00a0n>");
        Row("\\S", u"\\S", u"g", u"\u3000 \u0009\ufeff", u"_", u"_ \u0009_");
        Row("[^\\s]", u"[^\\s]+", u"g", u"a\u00a0b c\u2028", u"<$&>", u"<a\u00a0b> <c\u2028>");
        Row("[^\\s] ignore case", u"[^\\s]+", u"gi", u"a\u00a0b c\u2028", u"<$&>", u"<a\u00a0b> <c\u2028>");
        Row("[\\S]", u"[\\S]", u"g", u"\u1680 \u000b", u"_", u"_ \u000b");
        Row("[^\\S] is \\s", u"[^\\S]", u"g", u"\u00a0 \u000d", u"_", u"\u00a0__");
        Row("blank test", u"^\\s*$", u"", u"\u00a0", u"_", u"\u00a0");
    }
    void whiteSpaceIsAscii() { checkReplace(); }

    void loneSurrogates()
    {
        RegExp re;
        configure(re, QStringLiteral("x"), QStringLiteral("g"));
        const QString subject = withUnit(QString(), 0xD800, QStringLiteral("x")) + QChar(0xDC00);
        QCOMPARE(re.Replace(subject, QStringLiteral("y")),
                 std::optional<QString>(withUnit(QString(), 0xD800, QStringLiteral("y")) + QChar(0xDC00)));

        configure(re, QStringLiteral("\\ud800"), QStringLiteral("g"));
        QCOMPARE(re.Replace(withUnit(QStringLiteral("a"), 0xD800, QStringLiteral("b")), QStringLiteral("y")),
                 std::optional<QString>(QStringLiteral("ayb")));

        // A class of high surrogates takes one unit of a pair, as ECMAScript does without the u flag.
        configure(re, QStringLiteral("[\\ud800-\\udbff]"), QStringLiteral("g"));
        QCOMPARE(re.Replace(QStringLiteral("a\U0001F600b"), QStringLiteral("y")),
                 std::optional<QString>(withUnit(QStringLiteral("ay"), 0xDE00, QStringLiteral("b"))));
        configure(re, QStringLiteral("."), QStringLiteral("g"));
        QCOMPARE(re.Replace(QStringLiteral("\U0001F600"), QStringLiteral("_")), std::optional<QString>("__"));
    }

    void execute()
    {
        RegExp re;
        configure(re, QStringLiteral("(a)|(b)"), QStringLiteral("g"));
        std::optional<QList<quillbay::RegExpMatch>> matches = re.Execute(QStringLiteral("ab"));
        QVERIFY(matches.has_value());
        QCOMPARE(matches->size(), 2);
        QCOMPARE(matches->at(0).firstIndex, 0);
        QCOMPARE(matches->at(0).length, 1);
        QCOMPARE(matches->at(0).value, QStringLiteral("a"));
        QCOMPARE(matches->at(0).subMatches.size(), 2);
        QCOMPARE(matches->at(0).subMatches.at(0), QStringLiteral("a"));
        QVERIFY(matches->at(0).subMatches.at(1).isNull());
        QCOMPARE(matches->at(1).firstIndex, 1);
        QVERIFY(matches->at(1).subMatches.at(0).isNull());
        QCOMPARE(matches->at(1).subMatches.at(1), QStringLiteral("b"));

        re.setGlobal(false);
        matches = re.Execute(QStringLiteral("ab"));
        QVERIFY(matches.has_value());
        QCOMPARE(matches->size(), 1);

        // A group that took part with empty text is empty, not null.
        configure(re, QStringLiteral("(a*)"), QString());
        matches = re.Execute(QStringLiteral("b"));
        QVERIFY(matches.has_value());
        QCOMPARE(matches->size(), 1);
        QCOMPARE(matches->at(0).length, 0);
        QVERIFY(!matches->at(0).subMatches.at(0).isNull());
        QVERIFY(matches->at(0).subMatches.at(0).isEmpty());

        configure(re, QStringLiteral("x*"), QStringLiteral("g"));
        matches = re.Execute(QStringLiteral("abc"));
        QVERIFY(matches.has_value());
        QList<qsizetype> starts;
        for (const quillbay::RegExpMatch &match : *matches)
            starts.append(match.firstIndex);
        QCOMPARE(starts, (QList<qsizetype>{0, 1, 2, 3}));

        configure(re, QStringLiteral("z"), QStringLiteral("g"));
        matches = re.Execute(QStringLiteral("abc"));
        QVERIFY(matches.has_value());
        QVERIFY(matches->isEmpty());
    }

    void test()
    {
        RegExp re;
        configure(re, QStringLiteral("^\\d+$"), QString());
        QCOMPARE(re.Test(QStringLiteral("123")), std::optional<bool>(true));
        QCOMPARE(re.Test(QStringLiteral("12a")), std::optional<bool>(false));
        QCOMPARE(re.Test(QString()), std::optional<bool>(false));
        re.setGlobal(true); // Test looks for any match whatever Global says
        QCOMPARE(re.Test(QStringLiteral("123")), std::optional<bool>(true));
        QCOMPARE(re.Test(QStringLiteral("123")), std::optional<bool>(true));
    }

    void switchesRecompile()
    {
        RegExp re;
        configure(re, QStringLiteral("^b$"), QString());
        QVERIFY(re.compile());
        QCOMPARE(re.Test(QStringLiteral("a\nB")), std::optional<bool>(false));
        re.setIgnoreCase(true);
        re.setMultiline(true);
        QCOMPARE(re.Test(QStringLiteral("a\nB")), std::optional<bool>(true));
        re.setIgnoreCase(false);
        QCOMPARE(re.Test(QStringLiteral("a\nB")), std::optional<bool>(false));
        re.setPattern(QStringLiteral("^B$"));
        QCOMPARE(re.Test(QStringLiteral("a\nB")), std::optional<bool>(true));
        QCOMPARE(re.pattern(), QStringLiteral("^B$"));
        QVERIFY(re.Multiline());
        QVERIFY(!re.IgnoreCase());

        // The replacement text is read anew when it or the pattern changes.
        configure(re, QStringLiteral("(a)(b)"), QString());
        QCOMPARE(re.Replace(QStringLiteral("ab"), QStringLiteral("$2")), std::optional<QString>("b"));
        QCOMPARE(re.Replace(QStringLiteral("ab"), QStringLiteral("$1")), std::optional<QString>("a"));
        re.setPattern(QStringLiteral("(a)b"));
        QCOMPARE(re.Replace(QStringLiteral("ab"), QStringLiteral("$1")), std::optional<QString>("a"));
        QCOMPARE(re.Replace(QStringLiteral("ab"), QStringLiteral("$2")), std::optional<QString>("$2"));
    }

    // Patterns that ECMAScript rejects are rejected, with a readable message.
    void rejectedPatterns_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("offset");
        QTest::newRow("(") << "(" << 1;
        QTest::newRow(")") << "a)" << 1;
        QTest::newRow("a**") << "a**" << 2;
        QTest::newRow("*a") << "*a" << 0;
        QTest::newRow("[z-a]") << "[z-a]" << 2;
        QTest::newRow("backslash at end") << "ab\\" << 2;
        QTest::newRow("(?i)") << "(?i)a" << 2;
        QTest::newRow("a{2}{3}") << "a{2}{3}" << 4;
        QTest::newRow("possessive") << "a++" << 2;
        QTest::newRow("quantified lookbehind") << "(?<=a)*b" << 6;
        QTest::newRow("duplicate name") << "(?<a>x)(?<a>y)" << -1;
        QTest::newRow("unknown name") << "(?<a>x)\\k<b>" << -1;
        QTest::newRow("x{2,1}") << "x{2,1}" << -1;
        QTest::newRow("^*") << "^*" << 1;
        QTest::newRow("verb") << "(*ACCEPT)a" << 1;
        QTest::newRow("a|*") << "a|*" << 2;
        QTest::newRow("[a") << "[a" << 0;
        QTest::newRow("bad name") << "(?<1a>x)" << 3;
        QTest::newRow("\\b+") << "\\b+" << 2;
        QTest::newRow("comment group") << "(?#c)a" << 2;
        QTest::newRow("[\\k] with names") << "(?<a>x)[\\k]" << 8;
    }
    void rejectedPatterns()
    {
        QFETCH(QString, pattern);
        QFETCH(int, offset);
        RegExp re;
        re.setPattern(pattern);
        QVERIFY(!re.compile());
        QVERIFY(!re.errorText().isEmpty());
        if (offset >= 0) {
            QVERIFY2(re.errorText().endsWith(QStringLiteral(" at offset %1").arg(offset)), qPrintable(re.errorText()));
            QCOMPARE(re.errorOffset(), qsizetype(offset));
        } else {
            QVERIFY(re.errorOffset() >= 0); // the engine names a place even where the test leaves it open
        }
        QVERIFY(!re.Test(QStringLiteral("abc")).has_value());
        QVERIFY(!re.Execute(QStringLiteral("abc")).has_value());
        QVERIFY(!re.Replace(QStringLiteral("abc"), QStringLiteral("x")).has_value());
        QVERIFY(!re.errorText().isEmpty());

        re.setPattern(QStringLiteral("b"));
        QCOMPARE(re.Replace(QStringLiteral("abc"), QStringLiteral("x")), std::optional<QString>("axc"));
        QCOMPARE(re.errorOffset(), qsizetype(-1));
        QVERIFY(re.errorText().isEmpty());
    }

    void catastrophicBacktrackingEnds()
    {
        RegExp re;
        re.setPattern(QStringLiteral("(a+)+$"));
        const QString subject = QString(40, u'a') + u'b';
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!re.Test(subject).has_value());
        QVERIFY(!re.errorText().isEmpty());
        QVERIFY(!re.Replace(subject, QStringLiteral("x")).has_value());
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
        // The object stays usable.
        QCOMPARE(re.Test(QStringLiteral("aaa")), std::optional<bool>(true));
    }

    // Random patterns and subjects: every call ends with a value or an error.
    void randomPatternsNeverCrash()
    {
        static const QString alphabet =
            QStringLiteral("ab()[]{}|*+?.^$\\-,:=!<>0129dDwWsSbBkucxv ") + QChar(0xD800) + QChar(0x00E9);
        QRandomGenerator random(20240501);
        RegExp re;
        int compiled = 0;
        for (int round = 0; round < 3000; ++round) {
            QString pattern;
            const int length = random.bounded(1, 12);
            for (int k = 0; k < length; ++k)
                pattern += alphabet.at(random.bounded(alphabet.size()));
            configure(re, pattern, round % 3 == 0 ? QStringLiteral("gim") : QStringLiteral("g"));
            if (re.compile())
                ++compiled;
            else
                QVERIFY(!re.errorText().isEmpty());
            const std::optional<QString> replaced =
                re.Replace(QStringLiteral("ab{}a\u00e9b\n0"), QStringLiteral("$1$&"));
            QCOMPARE(replaced.has_value(), re.errorText().isEmpty());
        }
        QVERIFY(compiled > 100);
    }
};

QTEST_GUILESS_MAIN(TestRegExp)
#include "tst_regexp.moc"
