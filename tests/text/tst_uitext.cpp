#include "text/ControlTag.h"
#include "text/LocaleLanguage.h"
#include "text/StringTables.h"
#include "text/UiText.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>

using namespace quillbay;

namespace {

const ParsedStringTable &english()
{
    return StringTables::table(UiLanguage::English);
}
const ParsedStringTable &japanese()
{
    return StringTables::table(UiLanguage::Japanese);
}

QStringList placeholdersOf(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("&[A-Za-z]+;"));
    QStringList found;
    for (const auto &match : placeholder.globalMatch(text))
        found.append(match.captured());
    return found;
}

// The access-key letter of a caption ("E&xit" gives 'X'); a "&" before a
// space ("Date & Time") or starting a placeholder is no access key.
QChar accessKeyOf(QString text)
{
    static const QRegularExpression placeholder(QStringLiteral("&[A-Za-z]+;"));
    text.remove(placeholder);
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'&' && !text[i + 1].isSpace())
            return text[i + 1].toUpper();
    }
    return {};
}

} // namespace

class TestUiText : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { UiText::setLanguage(UiLanguage::English); }

    // The tables as translators keep them
    void tablesFollowTheFileFormat();
    void bothLanguagesHaveTheSameIdentifiersInTheSameOrder();
    void englishTextsKeepTheirExactWording_data();
    void englishTextsKeepTheirExactWording();
    void japaneseKeepsPlaceholdersAndAccessKeys();
    void japaneseIsTranslatedWithOneTermPerConcept();
    void lineBreaksAreCarriageReturnLineFeed();

    // Loading
    void loadTextInBothLanguages_data();
    void loadTextInBothLanguages();
    void missingEntriesGiveEmptyTextAndFailure();
    void defaultSettingsDocumentIsSharedByBothLanguages();
    void loadTextWithReplacesPlaceholders_data();
    void loadTextWithReplacesPlaceholders();

    // Language choice
    void languageFromLocaleVariables_data();
    void languageFromLocaleVariables();
    void languageIsDecidedOnceFromTheEnvironment();

    // Control tags
    void tagParsing_data();
    void tagParsing();
    void tagTextsResolveOrKeepTheDesignedText_data();
    void tagTextsResolveOrKeepTheDesignedText();

    // File format
    void parserAcceptsEscapesCommentsAndLineEndings();
    void parserRejectsMalformedLines_data();
    void parserRejectsMalformedLines();
};

void TestUiText::tablesFollowTheFileFormat()
{
    QCOMPARE(english().errors, QStringList());
    QCOMPARE(japanese().errors, QStringList());
    QVERIFY(english().ids.size() > 200);
}

void TestUiText::bothLanguagesHaveTheSameIdentifiersInTheSameOrder()
{
    QCOMPARE(japanese().ids, english().ids);
    for (const ParsedStringTable *table : {&english(), &japanese()}) {
        QVERIFY(!table->texts.contains(21));
        QVERIFY(!table->texts.contains(StringTables::kDefaultSettingsId)); // kept once, outside both tables
    }
}

void TestUiText::englishTextsKeepTheirExactWording_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    QTest::newRow("title") << 11 << "Quillbay the Renamer";
    QTest::newRow("code") << 20 << "en";
    QTest::newRow("quotes")
        << 432
        << "Microsoft Internet Explorer 5.5 or higher version is required to run this program. "
           "\"Visual Basic Script Support\", which is a part of Internet Explorer, is also required.";
    QTest::newRow("double spaces")
        << 460
        << "Your computer refused to create files or folders.  Ask your computer's administrator to get "
           "previlege to create files and folders.";
    QTest::newRow("placeholder") << 940 << "Files in &winFolder; or other system folders cannot be specified.";
    QTest::newRow("ampersand") << 1248 << "Date & Time";
    QTest::newRow("access key") << 1210 << "F&olders Criteria";
    QTest::newRow("arrow") << 1515 << "e.g. Photo.jpg -> PhotoCat.jpg";
    QTest::newRow("last") << 20071 << "Disk not ready";
}

void TestUiText::englishTextsKeepTheirExactWording()
{
    QFETCH(int, id);
    QFETCH(QString, text);
    QCOMPARE(english().texts.value(id), text);
}

void TestUiText::japaneseKeepsPlaceholdersAndAccessKeys()
{
    // Captions whose English access key is shared with another item of the
    // same menu: the Japanese caption has a key of its own (the window's test
    // keeps the keys of each menu and dialog unique).
    const QList<int> ownJapaneseKey = {1163};
    // The English description of the system or a library, which a Japanese
    // text replaces by its own wording of the reason.
    const QString englishDescription = QStringLiteral("&description;");
    for (int id : english().ids) {
        const QString en = english().texts.value(id);
        const QString ja = japanese().texts.value(id);
        for (const QString &placeholder : placeholdersOf(en)) {
            if (placeholder != englishDescription)
                QVERIFY2(ja.contains(placeholder), qPrintable(QStringLiteral("%1 lacks %2").arg(id).arg(placeholder)));
        }
        const QChar key = accessKeyOf(en);
        const QChar japaneseKey = accessKeyOf(ja);
        if (!key.isNull()) {
            QVERIFY2(!japaneseKey.isNull(), qPrintable(ja));
            if (!ownJapaneseKey.contains(id))
                QCOMPARE(japaneseKey, key);
        }
        if (!japaneseKey.isNull() && ja != en) {
            // Japanese captions carry the key in parentheses: "キャンセル(&C)".
            QVERIFY2(ja.contains(QStringLiteral("(&%1)").arg(japaneseKey)), qPrintable(ja));
        }
    }
}

void TestUiText::japaneseIsTranslatedWithOneTermPerConcept()
{
    // Names, and "OK", are written in Latin letters in Japanese too.
    const QList<int> sameInBothLanguages = {11, 401, 601, 1251, 2103};
    static const QRegularExpression japaneseScript(QStringLiteral("[\\x{3000}-\\x{30FF}\\x{4E00}-\\x{9FFF}]"));
    // A command of the command-line tool is no English word to translate.
    static const QRegularExpression toolCommand(QStringLiteral("quillbay-cli \\w+"));
    // A full sentence ends with "。" (or a question mark).
    static const QRegularExpression unfinishedSentence(QStringLiteral("(ます|ません|です|ください|ました)$"));
    const QStringList otherTerms = {
        QStringLiteral("規則"),           QStringLiteral("セッティング"), QStringLiteral("フォルダー"),
        QStringLiteral("コンピューター"), QStringLiteral("下見"),         QStringLiteral("プレビュ－"),
        QStringLiteral("既に"),           QStringLiteral("今の"),         QStringLiteral("検索条件")};
    for (int id : english().ids) {
        if (id == 20 || sameInBothLanguages.contains(id))
            continue;
        static const QRegularExpression placeholder(QStringLiteral("&[A-Za-z]+;"));
        const QString en = QString(english().texts.value(id)).remove(toolCommand).remove(placeholder);
        const QString ja = japanese().texts.value(id);
        QVERIFY2(ja.contains(japaneseScript), qPrintable(QStringLiteral("%1 is not translated").arg(id)));
        // Reasons stand inside parentheses after a message, or in a reason
        // column: no sentences of their own.
        const bool reasonOfFailure =
            (id >= 30030 && id < 30050) || (id >= 20080 && id < 20090) || id == 31109 || id == 31110;
        if (!reasonOfFailure)
            QVERIFY2(!ja.contains(unfinishedSentence), qPrintable(QStringLiteral("%1 lacks its 。").arg(id)));
        for (const QString &term : otherTerms)
            QVERIFY2(!ja.contains(term), qPrintable(QStringLiteral("%1 uses %2").arg(id).arg(term)));
        if (en.contains(QStringLiteral("preview"), Qt::CaseInsensitive))
            QVERIFY2(ja.contains(QStringLiteral("プレビュー")), qPrintable(ja));
        if (en.contains(QStringLiteral("naming rule"), Qt::CaseInsensitive))
            QVERIFY2(ja.contains(QStringLiteral("命名ルール")), qPrintable(ja));
        if (en.contains(QStringLiteral("criteria"), Qt::CaseInsensitive))
            QVERIFY2(ja.contains(QStringLiteral("ファイルの条件")) || ja.contains(QStringLiteral("フォルダの条件")),
                     qPrintable(ja));
    }
    QCOMPARE(japanese().texts.value(20), QStringLiteral("ja"));
}

void TestUiText::lineBreaksAreCarriageReturnLineFeed()
{
    QVERIFY(japanese().texts.value(432).contains(QStringLiteral("\r\n")));
    for (const ParsedStringTable *table : {&english(), &japanese()}) {
        for (const QString &text : table->texts) {
            QString withoutPairs = text;
            withoutPairs.remove(QStringLiteral("\r\n"));
            QVERIFY2(!withoutPairs.contains(u'\r') && !withoutPairs.contains(u'\n'), qPrintable(text));
        }
    }
}

void TestUiText::loadTextInBothLanguages_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    const int en = int(UiLanguage::English);
    const int ja = int(UiLanguage::Japanese);
    QTest::newRow("en cancel") << en << 602 << "&Cancel";
    QTest::newRow("ja cancel") << ja << 602 << "キャンセル(&C)";
    QTest::newRow("ja apply") << ja << 605 << "適用(&A)";
    QTest::newRow("en first tab") << en << 1207 << "&Look in";
    QTest::newRow("ja first tab") << ja << 1207 << "このフォルダの中を探す(&L)";
    QTest::newRow("ja title") << ja << 11 << "Quillbay the Renamer";
}

void TestUiText::loadTextInBothLanguages()
{
    QFETCH(int, language);
    QFETCH(int, id);
    QFETCH(QString, text);
    UiText::setLanguage(UiLanguage(language));
    QCOMPARE(UiText::LoadText(id), text);
    QVERIFY(UiText::findText(id));
    const bool japaneseUi = UiLanguage(language) == UiLanguage::Japanese;
    QCOMPARE(UiText::LanguageCode(), japaneseUi ? QStringLiteral("ja") : QStringLiteral("en"));
    QCOMPARE(UiText::LanguageSuffix(), japaneseUi ? QStringLiteral("Ja") : QStringLiteral("En"));
}

void TestUiText::missingEntriesGiveEmptyTextAndFailure()
{
    for (UiLanguage language : {UiLanguage::English, UiLanguage::Japanese}) {
        UiText::setLanguage(language);
        for (int id : {21, 0, -1, 999, 65535, 70000}) {
            QCOMPARE(UiText::LoadText(id), QString());
            QVERIFY(!UiText::findText(id));
            QCOMPARE(UiText::LoadTextWith(id, {QStringLiteral("&num;"), QStringLiteral("3")}), QString());
        }
    }
}

void TestUiText::defaultSettingsDocumentIsSharedByBothLanguages()
{
    // The document is compiled in when the build saw the file; without it the
    // entry is missing rather than empty.
    QFile file(QStringLiteral(QUILLBAY_SOURCE_DIR "/app/resources/strings/DefaultSettings.xml"));
    const bool present = file.open(QIODevice::ReadOnly);
    const QByteArray bytes = present ? file.readAll() : QByteArray();
    QStringDecoder decoder(QStringConverter::encodingForData(bytes, u'<').value_or(QStringConverter::Utf8));
    const QString expected = decoder.decode(bytes);

    for (UiLanguage language : {UiLanguage::English, UiLanguage::Japanese}) {
        UiText::setLanguage(language);
        const QString text = UiText::LoadText(StringTables::kDefaultSettingsId);
        QCOMPARE(UiText::findText(StringTables::kDefaultSettingsId).has_value(), present);
        QCOMPARE(text, expected);
        if (present)
            QVERIFY(text.contains(QStringLiteral("<settings")));
    }
}

void TestUiText::loadTextWithReplacesPlaceholders_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QStringList>("pairs");
    QTest::addColumn<QString>("expected");
    QTest::newRow("three cleared")
        << 1275 << QStringList{"&num;", "3"}
        << "The check boxes of 3 new names were cleared because the new names were found to be invalid.";
    QTest::newRow("system folder") << 940 << QStringList{"&winFolder;", "/usr"}
                                   << "Files in /usr or other system folders cannot be specified.";
    QTest::newRow("second pair applies") << 940 << QStringList{"&num;", "1", "&winFolder;", "/etc"}
                                         << "Files in /etc or other system folders cannot be specified.";
    QTest::newRow("value not scanned again") << 940 << QStringList{"&winFolder;", "a&num;b", "&num;", "X"}
                                             << "Files in a&num;b or other system folders cannot be specified.";
    QTest::newRow("plain words too") << 943 << QStringList{"file", "folder", "folder", "drive"}
                                     << "The folder is not found.";
    QTest::newRow("no pairs") << 943 << QStringList{} << "The file is not found.";
    QTest::newRow("lone placeholder ignored")
        << 940 << QStringList{"&winFolder;"} << "Files in &winFolder; or other system folders cannot be specified.";
    QTest::newRow("empty placeholder ignored") << 943 << QStringList{"", "x"} << "The file is not found.";
}

void TestUiText::loadTextWithReplacesPlaceholders()
{
    QFETCH(int, id);
    QFETCH(QStringList, pairs);
    QFETCH(QString, expected);
    UiText::setLanguage(UiLanguage::English);
    QCOMPARE(UiText::LoadTextWith(id, pairs), expected);
    QVERIFY(UiText::findText(id));
}

void TestUiText::languageFromLocaleVariables_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("lcAll");
    QTest::addColumn<QString>("lcMessages");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<bool>("japaneseUi");
    QTest::newRow("nothing set") << ""
                                 << ""
                                 << ""
                                 << "" << false;
    QTest::newRow("LANG ja") << ""
                             << ""
                             << ""
                             << "ja_JP.UTF-8" << true;
    QTest::newRow("LANG ja eucJP") << ""
                                   << ""
                                   << ""
                                   << "ja_JP.eucJP" << true;
    QTest::newRow("LANG bare ja") << ""
                                  << ""
                                  << ""
                                  << "ja" << true;
    QTest::newRow("LANG alias") << ""
                                << ""
                                << ""
                                << "japanese" << true;
    QTest::newRow("LANG C") << ""
                            << ""
                            << ""
                            << "C" << false;
    QTest::newRow("LANG en") << ""
                             << ""
                             << ""
                             << "en_US.UTF-8" << false;
    QTest::newRow("LANG not ja") << ""
                                 << ""
                                 << ""
                                 << "jv_ID.UTF-8" << false;
    QTest::newRow("LC_MESSAGES beats LANG") << ""
                                            << ""
                                            << "en_GB.UTF-8"
                                            << "ja_JP.UTF-8" << false;
    QTest::newRow("LC_MESSAGES ja") << ""
                                    << ""
                                    << "ja_JP.UTF-8"
                                    << "en_US.UTF-8" << true;
    QTest::newRow("LC_ALL beats both") << ""
                                       << "ja_JP.UTF-8"
                                       << "en_US.UTF-8"
                                       << "en_US.UTF-8" << true;
    QTest::newRow("LC_ALL C beats ja") << ""
                                       << "C"
                                       << "ja_JP.UTF-8"
                                       << "ja_JP.UTF-8" << false;
    QTest::newRow("LANGUAGE over en") << "ja"
                                      << ""
                                      << ""
                                      << "en_US.UTF-8" << true;
    QTest::newRow("LANGUAGE en over ja") << "en_US:ja"
                                         << ""
                                         << ""
                                         << "ja_JP.UTF-8" << false;
    QTest::newRow("LANGUAGE first entry") << "ja:en"
                                          << "en_US.UTF-8"
                                          << ""
                                          << "" << true;
    QTest::newRow("LANGUAGE ignored under C") << "ja"
                                              << ""
                                              << ""
                                              << "C" << false;
    QTest::newRow("LANGUAGE ignored under C.UTF-8") << "ja"
                                                    << ""
                                                    << ""
                                                    << "C.UTF-8" << false;
    QTest::newRow("LANGUAGE ignored under POSIX") << "ja"
                                                  << "POSIX"
                                                  << ""
                                                  << "ja_JP.UTF-8" << false;
    QTest::newRow("LANGUAGE ignored without locale") << "ja"
                                                     << ""
                                                     << ""
                                                     << "" << false;
    QTest::newRow("LANGUAGE empty first entry") << ":en"
                                                << ""
                                                << ""
                                                << "ja_JP.UTF-8" << true;
}

void TestUiText::languageFromLocaleVariables()
{
    QFETCH(QString, language);
    QFETCH(QString, lcAll);
    QFETCH(QString, lcMessages);
    QFETCH(QString, lang);
    QFETCH(bool, japaneseUi);
    const UiLanguage chosen = chooseUiLanguage({language, lcAll, lcMessages, lang});
    QCOMPARE(chosen == UiLanguage::Japanese, japaneseUi);
}

void TestUiText::languageIsDecidedOnceFromTheEnvironment()
{
    const QByteArray names[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
    QHash<QByteArray, QByteArray> saved;
    for (const QByteArray &name : names)
        saved.insert(name, qgetenv(name.constData()));

    qunsetenv("LANGUAGE");
    qunsetenv("LC_ALL");
    qputenv("LC_MESSAGES", "");
    qputenv("LANG", "ja_JP.UTF-8");
    UiText::chooseLanguageAgain();
    QCOMPARE(UiText::LanguageCode(), QStringLiteral("ja"));
    QCOMPARE(UiText::LoadText(1207), QStringLiteral("このフォルダの中を探す(&L)"));

    qputenv("LC_ALL", "C");
    QCOMPARE(UiText::languageFromEnvironment(), UiLanguage::English);
    QCOMPARE(UiText::language(), UiLanguage::Japanese); // kept from the first use
    UiText::setLanguage(UiLanguage::English);
    QCOMPARE(UiText::LanguageSuffix(), QStringLiteral("En"));
    UiText::chooseLanguageAgain();
    QCOMPARE(UiText::language(), UiLanguage::English);

    for (const QByteArray &name : names)
        qputenv(name.constData(), saved.value(name));
}

void TestUiText::tagParsing_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QStringList>("expected"); // key, value, key, value ...
    QTest::newRow("caption") << "c=4000" << QStringList{"c", "4000"};
    QTest::newRow("option and caption") << "o=FolderContextMenu;c=2310-"
                                        << QStringList{"o", "FolderContextMenu", "c", "2310-"};
    QTest::newRow("first = splits, empty entries skipped") << "o=A=B;;c=5" << QStringList{"o", "A=B", "c", "5"};
    QTest::newRow("no =") << "flag;t=1" << QStringList{"flag", "", "t", "1"};
    QTest::newRow("empty tag") << "" << QStringList{};
    QTest::newRow("only separators") << ";;;" << QStringList{};
    QTest::newRow("empty value") << "c=" << QStringList{"c", ""};
    QTest::newRow("empty key") << "=5" << QStringList{"", "5"};
    QTest::newRow("keys exact") << "C=1; c=2" << QStringList{"C", "1", " c", "2"};
    QTest::newRow("repeated key keeps first") << "c=1;c=2" << QStringList{"c", "1"};
}

void TestUiText::tagParsing()
{
    QFETCH(QString, tag);
    QFETCH(QStringList, expected);
    const ControlTag parsed = ControlTag::parse(tag);
    QCOMPARE(parsed.size(), expected.size() / 2);
    for (qsizetype i = 0; i + 1 < expected.size(); i += 2) {
        QVERIFY2(parsed.contains(expected[i]), qPrintable(expected[i]));
        QCOMPARE(parsed.value(expected[i]), expected[i + 1]);
    }
}

void TestUiText::tagTextsResolveOrKeepTheDesignedText_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("designedCaption");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip"); // designed tooltip is always "designed"
    const int en = int(UiLanguage::English);
    const int ja = int(UiLanguage::Japanese);
    QTest::newRow("window title") << en << "c=4000"
                                  << "x"
                                  << "Select Setting"
                                  << "designed";
    QTest::newRow("ja caption and tooltip") << ja << "c=1324;t=1325"
                                            << "Inv"
                                            << "反転"
                                            << "チェックを反転";
    QTest::newRow("ok star") << ja << "c=601*"
                             << "&OK"
                             << "&OK"
                             << "designed";
    QTest::newRow("cancel star") << ja << "c=602*"
                                 << "Cancel"
                                 << "Cancel"
                                 << "designed";
    QTest::newRow("inverse star tooltip") << en << "c=1324;t=1325*"
                                          << "Inv"
                                          << "Inv"
                                          << "designed";
    QTest::newRow("rule list bang") << ja << "t=1421!"
                                    << ""
                                    << ""
                                    << "designed";
    QTest::newRow("context menu dash") << ja << "o=FolderContextMenu;c=2310-"
                                       << "Show Quillbay the Renamer in Windows Explorer's folder's context menu"
                                       << "Show Quillbay the Renamer in Windows Explorer's folder's context menu"
                                       << "designed";
    QTest::newRow("no entry") << en << "c=21;t=21"
                              << "kept"
                              << "kept"
                              << "designed";
    QTest::newRow("blank in id") << en << "c= 602"
                                 << "kept"
                                 << "kept"
                                 << "designed";
    QTest::newRow("sign") << en << "c=+602"
                          << "kept"
                          << "kept"
                          << "designed";
    QTest::newRow("empty id") << en << "c="
                              << "kept"
                              << "kept"
                              << "designed";
    QTest::newRow("too large") << en << "c=4294967898"
                               << "kept"
                               << "kept"
                               << "designed";
    QTest::newRow("leading zero") << en << "c=0602"
                                  << "kept"
                                  << "&Cancel"
                                  << "designed";
    QTest::newRow("option only") << en << "o=ReportHoldingDays"
                                 << "kept"
                                 << "kept"
                                 << "designed";
}

void TestUiText::tagTextsResolveOrKeepTheDesignedText()
{
    QFETCH(int, language);
    QFETCH(QString, tag);
    QFETCH(QString, designedCaption);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);
    UiText::setLanguage(UiLanguage(language));
    const ControlTag parsed = ControlTag::parse(tag);
    QCOMPARE(parsed.caption(designedCaption), caption);
    QCOMPARE(parsed.tooltip(QStringLiteral("designed")), tooltip);
}

void TestUiText::parserAcceptsEscapesCommentsAndLineEndings()
{
    const QByteArray file = "\xEF\xBB\xBF# comment\r\n"
                            "\r\n"
                            "1=a\\r\\nb\\\\c\\td\r\n"
                            "  \n"
                            "2= spaced = text  \n"
                            "65535=\xE6\x97\xA5\n"
                            "3=";
    const ParsedStringTable table = parseStringTable(file);
    QCOMPARE(table.errors, QStringList());
    QCOMPARE(table.ids, (QList<int>{1, 2, 65535, 3}));
    QCOMPARE(table.texts.value(1), QStringLiteral("a\r\nb\\c\td"));
    QCOMPARE(table.texts.value(2), QStringLiteral(" spaced = text  "));
    QCOMPARE(table.texts.value(65535), QStringLiteral("日"));
    QVERIFY(table.texts.contains(3));
    QCOMPARE(table.texts.value(3), QString());
}

void TestUiText::parserRejectsMalformedLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("no =") << QByteArray("12 text");
    QTest::newRow("no id") << QByteArray("=text");
    QTest::newRow("id with blank") << QByteArray("12 =text");
    QTest::newRow("id too large") << QByteArray("65536=text");
    QTest::newRow("negative id") << QByteArray("-1=text");
    QTest::newRow("unknown escape") << QByteArray("5=a\\xb");
    QTest::newRow("trailing backslash") << QByteArray("5=ab\\");
    QTest::newRow("repeated id") << QByteArray("7=again");
}

void TestUiText::parserRejectsMalformedLines()
{
    QFETCH(QByteArray, line);
    const ParsedStringTable table = parseStringTable("7=first\n" + line + "\n8=next\n");
    QCOMPARE(table.errors.size(), 1);
    QVERIFY2(table.errors.constFirst().startsWith(QStringLiteral("line 2:")), qPrintable(table.errors.constFirst()));
    QCOMPARE(table.ids, (QList<int>{7, 8}));
    QCOMPARE(table.texts.value(7), QStringLiteral("first"));
}

QTEST_GUILESS_MAIN(TestUiText)
#include "tst_uitext.moc"
