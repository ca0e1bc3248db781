// Letter case: the rows and cases that show how the tables are to be read, and
// every code point of the BMP and the Deseret block against the data files.
#include "UnicodeReference.h"
#include "engine/transforms/NameText.h"

#include <QTest>

using quillbay::NameText;

namespace {

QString ucs4(std::initializer_list<char32_t> points)
{
    return QString::fromUcs4(std::data(points), qsizetype(points.size()));
}

QString hex(const QString &text)
{
    QStringList units;
    for (QChar c : text)
        units.append(QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0'));
    return units.join(u' ');
}

enum class Op { Lower, Upper, Capitalize, Sentence };

QString apply(Op op, const QString &text)
{
    switch (op) {
    case Op::Lower:
        return NameText::ToLowerName(text);
    case Op::Upper:
        return NameText::ToUpperName(text);
    case Op::Capitalize:
        return NameText::CapitalizeWords(text);
    case Op::Sentence:
        break;
    }
    return NameText::toSentenceCase(text);
}

} // namespace

Q_DECLARE_METATYPE(Op)

class CaseTransformsTest : public QObject
{
    Q_OBJECT

private slots:
    void tellingRows_data();
    void tellingRows();
    void transforms_data();
    void transforms();
    void everyCodePointMatchesTheDataFiles();
};

void CaseTransformsTest::tellingRows_data()
{
    QTest::addColumn<uint>("codePoint");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("title");

    // Ranges whose lower case is an offset and whose other forms are the letter itself.
    const struct {
        char32_t first, last;
        int offset;
    } lowerByOffset[] = {
        {0x41, 0x5A, 0x20},     {0xC0, 0xD6, 0x20},     {0xD8, 0xDE, 0x20},       {0x2160, 0x216F, 0x10},
        {0x24B6, 0x24CF, 0x1A}, {0xFF21, 0xFF3A, 0x20}, {0x10400, 0x10425, 0x28},
    };
    for (const auto &range : lowerByOffset) {
        for (char32_t cp = range.first; cp <= range.last; ++cp) {
            const QString self = ucs4({cp});
            QTest::addRow("U+%04X", unsigned(cp)) << uint(cp) << ucs4({cp + range.offset}) << self << self;
        }
    }
    for (char32_t cp = 0x10428; cp <= 0x1044D; ++cp)
        QTest::addRow("U+%04X", unsigned(cp)) << uint(cp) << ucs4({cp}) << ucs4({cp - 0x28}) << ucs4({cp - 0x28});

    auto row = [](char32_t cp, const QString &lower, const QString &upper, const QString &title) {
        QTest::addRow("U+%04X", unsigned(cp)) << uint(cp) << lower << upper << title;
    };
    row(0xDF, QStringLiteral("ß"), "SS", "Ss");
    row(0x130, ucs4({0x69, 0x307}), QStringLiteral("İ"), QStringLiteral("İ"));
    row(0x131, QStringLiteral("ı"), "I", "I");
    row(0x178, QStringLiteral("ÿ"), QStringLiteral("Ÿ"), QStringLiteral("Ÿ"));
    for (char32_t cp : {0x1C4, 0x1C5, 0x1C6})
        row(cp, ucs4({0x1C6}), ucs4({0x1C4}), ucs4({0x1C5}));
    for (char32_t cp : {0x1F1, 0x1F2, 0x1F3})
        row(cp, ucs4({0x1F3}), ucs4({0x1F1}), ucs4({0x1F2}));
    row(0x220, ucs4({0x19E}), ucs4({0x220}), ucs4({0x220}));
    row(0x3F4, ucs4({0x3B8}), ucs4({0x3F4}), ucs4({0x3F4}));
    const char *ligatureUpper[] = {"FF", "FI", "FL", "FFI", "FFL", "ST", "ST"};
    const char *ligatureTitle[] = {"Ff", "Fi", "Fl", "Ffi", "Ffl", "St", "St"};
    for (char32_t cp = 0xFB00; cp <= 0xFB06; ++cp)
        row(cp, ucs4({cp}), ligatureUpper[cp - 0xFB00], ligatureTitle[cp - 0xFB00]);
    // Not mapped in this version: Georgian capitals to lower case, Greek capitals
    // added later, the code points just past the Deseret letters.
    for (char32_t cp : {0x10A0, 0x10C5, 0x3F7, 0x3F9, 0x10426, 0x10427, 0x1044E, 0x1044F})
        row(cp, ucs4({cp}), ucs4({cp}), ucs4({cp}));
}

void CaseTransformsTest::tellingRows()
{
    QFETCH(uint, codePoint);
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    QFETCH(QString, title);
    const QString text = ucs4({char32_t(codePoint)});
    QCOMPARE(hex(NameText::ToLowerName(text)), hex(lower));
    QCOMPARE(hex(NameText::ToUpperName(text)), hex(upper));
    QCOMPARE(hex(NameText::CapitalizeWords(text)), hex(title));
}

void CaseTransformsTest::transforms_data()
{
    QTest::addColumn<Op>("op");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    const QString deseretCapital = ucs4({0x10400}); // LONG I
    const QString deseretSmall = ucs4({0x10428});
    const QString loneHigh(QChar(0xD801));
    const QString loneLow(QChar(0xDC00));

    QTest::newRow("upper sharp s") << Op::Upper << QStringLiteral("straße") << "STRASSE";
    QTest::newRow("capitalize keeps sharp s inside")
        << Op::Capitalize << QStringLiteral("straße") << QStringLiteral("Straße");
    QTest::newRow("capitalize sharp s at start")
        << Op::Capitalize << QStringLiteral("ßtraße") << QStringLiteral("Sstraße");
    QTest::newRow("lower dotted capital I")
        << Op::Lower << QStringLiteral("İstanbul") << ucs4({'i', 0x307}) + "stanbul";
    QTest::newRow("capitalize digraph to title form")
        << Op::Capitalize << QStringLiteral("ǆemal") << QStringLiteral("ǅemal");
    QTest::newRow("capitalize title digraph stays")
        << Op::Capitalize << QStringLiteral("ǅEMAL") << QStringLiteral("ǅemal");
    QTest::newRow("upper ligature") << Op::Upper << QStringLiteral("ﬃx") << "FFIX";
    QTest::newRow("apostrophe and hyphen") << Op::Capitalize << "o'neil-smith"
                                           << "O'Neil-Smith";
    QTest::newRow("digits start words") << Op::Capitalize << "abc123def"
                                        << "Abc123Def";
    QTest::newRow("all capitals") << Op::Capitalize << "WORD"
                                  << "Word";
    QTest::newRow("spaces and dots") << Op::Capitalize << "hello wORLD.tXT"
                                     << "Hello World.Txt";
    QTest::newRow("uncased letter starts a word") << Op::Capitalize << QStringLiteral("aªb") << QStringLiteral("AªB");
    QTest::newRow("combining cased mark continues word")
        << Op::Capitalize << QStringLiteral("a\u0345b") << QStringLiteral("A\u0345b");
    QTest::newRow("empty") << Op::Capitalize << ""
                           << "";
    QTest::newRow("deseret lower") << Op::Lower << deseretCapital + "A" << deseretSmall + "a";
    QTest::newRow("deseret upper") << Op::Upper << deseretSmall + "a" << deseretCapital + "A";
    QTest::newRow("deseret capitalize") << Op::Capitalize << deseretCapital + deseretCapital + " " + deseretSmall
                                        << deseretCapital + deseretSmall + " " + deseretCapital;
    QTest::newRow("deseret pair continues a word") << Op::Capitalize << "a" + deseretCapital << "A" + deseretSmall;
    QTest::newRow("lone high surrogate at end") << Op::Upper << "ab" + loneHigh << "AB" + loneHigh;
    QTest::newRow("lone high surrogate before letter") << Op::Lower << "A" + loneHigh + "B"
                                                       << "a" + loneHigh + "b";
    QTest::newRow("lone low surrogate") << Op::Upper << loneLow + "a" << loneLow + "A";
    QTest::newRow("reversed pair") << Op::Lower << loneLow + loneHigh << loneLow + loneHigh;
    QTest::newRow("lone surrogate starts a word") << Op::Capitalize << "ab" + loneHigh + "cd"
                                                  << "Ab" + loneHigh + "Cd";
    QTest::newRow("capitalize lone high at end") << Op::Capitalize << "ab" + loneHigh << "Ab" + loneHigh;
    QTest::newRow("sentence") << Op::Sentence << "hELLO wORLD"
                              << "Hello world";
    QTest::newRow("sentence sharp s") << Op::Sentence << QStringLiteral("ßAB") << "SSab";
    QTest::newRow("sentence digit first") << Op::Sentence << "1ABC"
                                          << "1abc";
    QTest::newRow("sentence deseret") << Op::Sentence << deseretSmall + deseretCapital << deseretCapital + deseretSmall;
    QTest::newRow("sentence dotted I") << Op::Sentence << QStringLiteral("İX") << ucs4({'I', 0x307, 'x'});
    QTest::newRow("sentence lone high") << Op::Sentence << loneHigh + "A" << loneHigh + "a";
    QTest::newRow("sentence empty") << Op::Sentence << ""
                                    << "";
}

void CaseTransformsTest::transforms()
{
    QFETCH(Op, op);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(hex(apply(op, input)), hex(expected));
}

void CaseTransformsTest::everyCodePointMatchesTheDataFiles()
{
    UnicodeReference reference;
    QVERIFY(reference.load(QStringLiteral(QUILLBAY_SOURCE_DIR "/app/engine/transforms/data")));

    QStringList mismatches;
    int checked = 0;
    auto check = [&](const char *what, char32_t cp, const QString &actual, const QString &expected) {
        if (actual != expected && mismatches.size() < 20)
            mismatches.append(QStringLiteral("%1 U+%2: %3, expected %4")
                                  .arg(what)
                                  .arg(uint(cp), 4, 16, QChar(u'0'))
                                  .arg(hex(actual), hex(expected)));
        ++checked;
    };
    auto checkCodePoint = [&](char32_t cp) {
        const QString self = ucs4({cp});
        const bool cased = reference.isCased(cp);
        check("lower", cp, NameText::ToLowerName(self), reference.lower(cp));
        check("upper", cp, NameText::ToUpperName(self), reference.upper(cp));
        check("word start", cp, NameText::CapitalizeWords(self), cased ? reference.title(cp) : self);
        check("inside word", cp, NameText::CapitalizeWords("A" + self), "A" + (cased ? reference.lower(cp) : self));
        // A following letter continues the word only after a cased letter.
        check("before letter", cp, NameText::CapitalizeWords(self + "a").right(1), cased ? "a" : "A");
    };
    for (char32_t cp = 0; cp <= 0xFFFF; ++cp) {
        if (!QChar::isSurrogate(cp))
            checkCodePoint(cp);
    }
    for (char32_t cp = 0x10400; cp <= 0x1044F; ++cp)
        checkCodePoint(cp);

    QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join(u'\n')));
    QCOMPARE(checked, 5 * (0x10000 - 0x800 + 0x50));
}

QTEST_GUILESS_MAIN(CaseTransformsTest)

#include "tst_casetransforms.moc"
