// Half-width and full-width conversions: the documented cases, and every code
// unit checked against the <wide>/<narrow> decompositions of the data files.
#include "UnicodeReference.h"
#include "engine/transforms/NameText.h"

#include <QTest>

using quillbay::NameText;

namespace {

enum class WidthOp { Narrow, NarrowName, Wide, WideKatakana };

QString apply(WidthOp op, const QString &text)
{
    switch (op) {
    case WidthOp::Narrow:
        return NameText::ToNarrow(text, false);
    case WidthOp::NarrowName:
        return NameText::ToNarrow(text, true);
    case WidthOp::Wide:
        return NameText::ToWide(text, false);
    case WidthOp::WideKatakana:
        break;
    }
    return NameText::ToWide(text, true);
}

bool in(char16_t u, char16_t first, char16_t last)
{
    return u >= first && u <= last;
}

// Half-width units that both wide conversions turn into full-width ones.
bool isConvertedHalfWidth(char16_t u)
{
    return in(u, 0xFF61, 0xFF9D) || in(u, 0xFFA1, 0xFFBE) || in(u, 0xFFC2, 0xFFC7) || in(u, 0xFFCA, 0xFFCF)
        || in(u, 0xFFD2, 0xFFD7) || in(u, 0xFFDA, 0xFFDC);
}

// Half-width katakana that combine with the mark after them.
bool takesMark(char16_t kana, char16_t mark)
{
    const bool ha = in(kana, 0xFF8A, 0xFF8E);
    if (mark == 0xFF9E)
        return kana == 0xFF73 || in(kana, 0xFF76, 0xFF84) || ha;
    return ha;
}

} // namespace

Q_DECLARE_METATYPE(WidthOp)

class WidthTransformsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void conversions_data();
    void conversions();
    void everyCodeUnitMatchesTheDataFiles();
    void soundMarksCombineAsDocumented();
    void invalidNameCharacters();

private:
    UnicodeReference m_reference;
};

void WidthTransformsTest::initTestCase()
{
    QVERIFY(m_reference.load(QStringLiteral(QUILLBAY_SOURCE_DIR "/app/engine/transforms/data")));
}

void WidthTransformsTest::conversions_data()
{
    QTest::addColumn<WidthOp>("op");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("narrow name keeps full-width ?")
        << WidthOp::NarrowName << QStringLiteral("ＡＢＣ？") << QStringLiteral("ABC？");
    QTest::newRow("narrow plain converts ?") << WidthOp::Narrow << QStringLiteral("ＡＢＣ？") << "ABC?";
    QTest::newRow("narrow name keeps all invalid")
        << WidthOp::NarrowName << QStringLiteral("＊／：＜＞？＼｜") << QStringLiteral("＊／：＜＞？＼｜");
    QTest::newRow("narrow name converts quote") << WidthOp::NarrowName << QStringLiteral("＂ａ～") << "\"a~";
    QTest::newRow("narrow leaves space and kana")
        << WidthOp::Narrow << QStringLiteral("　ガｶ") << QStringLiteral("　ガｶ");
    QTest::newRow("wide") << WidthOp::Wide << QStringLiteral("abc ｶﾞ") << QStringLiteral("ａｂｃ ガ");
    QTest::newRow("wide katakana") << WidthOp::WideKatakana << QStringLiteral("abc ｶﾞ") << QStringLiteral("abc ガ");
    QTest::newRow("wide semi-voiced") << WidthOp::Wide << QStringLiteral("ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ") << QStringLiteral("パピプペポ");
    QTest::newRow("wide vu") << WidthOp::WideKatakana << QStringLiteral("ｳﾞｧ") << QStringLiteral("ヴァ");
    QTest::newRow("mark after plain kana") << WidthOp::Wide << QStringLiteral("ｱﾞｶﾟ") << QStringLiteral("アﾞカﾟ");
    QTest::newRow("mark at start") << WidthOp::Wide << QStringLiteral("ﾞｶ") << QStringLiteral("ﾞカ");
    QTest::newRow("second mark stays") << WidthOp::Wide << QStringLiteral("ｶﾞﾞ") << QStringLiteral("ガﾞ");
    QTest::newRow("mark after ascii") << WidthOp::Wide << QStringLiteral("aﾞ") << QStringLiteral("ａﾞ");
    QTest::newRow("kana at end") << WidthOp::Wide << QStringLiteral("ﾝ") << QStringLiteral("ン");
    QTest::newRow("punctuation") << WidthOp::WideKatakana << QStringLiteral("｡｢｣､･ｰ") << QStringLiteral("。「」、・ー");
    QTest::newRow("hangul") << WidthOp::WideKatakana << QStringLiteral("ﾡﾾￂￜ") << QStringLiteral("ㄱㅎㅏㅣ");
    QTest::newRow("wa and wo take no mark") << WidthOp::Wide << QStringLiteral("ﾜﾞｦﾞ") << QStringLiteral("ワﾞヲﾞ");
    QTest::newRow("empty") << WidthOp::Wide << ""
                           << "";
}

void WidthTransformsTest::conversions()
{
    QFETCH(WidthOp, op);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(apply(op, input), expected);
}

void WidthTransformsTest::everyCodeUnitMatchesTheDataFiles()
{
    // Full-width form of each ASCII character, from the <wide> decompositions.
    QHash<char16_t, char16_t> fullWidthAscii;
    for (char32_t u = 0xFF00; u <= 0xFFEF; ++u) {
        const char16_t narrow = m_reference.wideDecomposition(char16_t(u));
        if (in(narrow, 0x21, 0x7E))
            fullWidthAscii.insert(narrow, char16_t(u));
    }
    QCOMPARE(fullWidthAscii.size(), 0x7E - 0x21 + 1);

    QStringList mismatches;
    auto check = [&](const char *what, char16_t u, const QString &actual, char16_t expected) {
        if (actual != QString(QChar(expected)) && mismatches.size() < 20)
            mismatches.append(QStringLiteral("%1 U+%2 gave %3").arg(what).arg(uint(u), 4, 16).arg(actual));
    };
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
        const char16_t u = char16_t(unit);
        const QString text(QChar{u});
        char16_t wideKana = u;
        if (isConvertedHalfWidth(u)) {
            wideKana = m_reference.narrowDecomposition(u);
            QVERIFY(wideKana != 0);
        }
        check("wide", u, NameText::ToWide(text, false), fullWidthAscii.value(u, wideKana));
        check("wide katakana", u, NameText::ToWide(text, true), wideKana);

        const char16_t decomposed = m_reference.wideDecomposition(u);
        const char16_t narrow = in(decomposed, 0x21, 0x7E) ? decomposed : u;
        check("narrow", u, NameText::ToNarrow(text, false), narrow);
        check("narrow name", u, NameText::ToNarrow(text, true),
              QStringView(u"*/:<>?\\|").contains(QChar(narrow)) ? u : narrow);
    }
    QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join(u'\n')));
}

void WidthTransformsTest::soundMarksCombineAsDocumented()
{
    const struct {
        char16_t halfWidth, combining;
    } marks[] = {{0xFF9E, 0x3099}, {0xFF9F, 0x309A}};
    int combined = 0;
    for (char16_t kana = 0xFF61; kana <= 0xFF9D; ++kana) {
        const char16_t full = m_reference.narrowDecomposition(kana);
        for (const auto &mark : marks) {
            const QString pair = QString(QChar(kana)) + QChar(mark.halfWidth);
            QString expected = QString(QChar(full)) + QChar(mark.halfWidth);
            if (takesMark(kana, mark.halfWidth)) {
                const char16_t composed = m_reference.composed(full, mark.combining);
                QVERIFY2(composed != 0, qPrintable(QString::number(kana, 16)));
                expected = QString(QChar(composed));
                ++combined;
            }
            QCOMPARE(NameText::ToWide(pair, false), expected);
            QCOMPARE(NameText::ToWide(pair, true), expected);
        }
    }
    QCOMPARE(combined, 1 + 15 + 5 + 5);
}

void WidthTransformsTest::invalidNameCharacters()
{
    const QString invalid = QStringLiteral("*/:<>?\\|");
    int rejected = 0;
    for (char32_t u = 0; u <= 0xFFFF; ++u) {
        const bool valid = NameText::IsValidNameChar(char16_t(u));
        QCOMPARE(valid, !invalid.contains(QChar(char16_t(u))));
        rejected += valid ? 0 : 1;
    }
    QCOMPARE(rejected, 8);
    QVERIFY(NameText::IsValidNameChar(u'"'));
}

QTEST_GUILESS_MAIN(WidthTransformsTest)

#include "tst_widthtransforms.moc"
