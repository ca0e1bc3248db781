#include "metadata/LegacyCodePage.h"
#include "metadata/Mp3Tag.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace quillbay;

namespace {

QByteArray field(const QByteArray &text, int length)
{
    return (text + QByteArray(length, '\0')).left(length);
}

QByteArray trailer(const QByteArray &title, const QByteArray &artist = "Artist", const QByteArray &album = "Album",
                   const QByteArray &year = "1999", const QByteArray &comment = "Comment", quint8 genre = 17,
                   const QByteArray &identifier = "TAG")
{
    return identifier + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4) + field(comment, 30)
        + char(genre);
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

// Sets an environment variable for the life of the object.
class EnvironmentOverride
{
public:
    EnvironmentOverride(const char *name, const QByteArray &value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~EnvironmentOverride()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace

class TestMp3Tag : public QObject
{
    Q_OBJECT

private slots:
    void parsesFields_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("title");
        QTest::newRow("zero padding") << trailer("Song") << true << "Song";
        QTest::newRow("spaces before stay") << trailer("  Intro  ") << true << "  Intro";
        QTest::newRow("inner zero becomes space") << trailer(QByteArray("A\0B", 3)) << true << "A B";
        QTest::newRow("space padding") << trailer(QByteArray(30, ' ')) << true << "";
        QTest::newRow("full 30 characters")
            << trailer("123456789012345678901234567890") << true << "123456789012345678901234567890";
        QTest::newRow("lower-case identifier") << trailer("Song", "A", "B", "2000", "C", 0, "tag") << false << "";
        QTest::newRow("too short") << trailer("Song").left(127) << false << "";
    }

    void parsesFields()
    {
        QFETCH(QByteArray, bytes);
        Mp3Tag tag;
        tag.title = QStringLiteral("untouched");
        const bool valid = parseMp3Trailer(bytes, "CP1252", tag);
        QTEST(valid, "valid");
        if (!valid) {
            QCOMPARE(tag.title, QStringLiteral("untouched"));
            return;
        }
        QTEST(tag.title, "title");
        QCOMPARE(tag.artist, QStringLiteral("Artist"));
        QCOMPARE(tag.album, QStringLiteral("Album"));
        QCOMPARE(tag.year, QStringLiteral("1999"));
        QCOMPARE(tag.comment, QStringLiteral("Comment"));
        QCOMPARE(tag.genre, quint8(17));
    }

    void decodesLegacyCodePages_data()
    {
        QTest::addColumn<QByteArray>("encoding");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("Shift-JIS") << QByteArray("CP932") << QByteArray("\x93\xfa\x96\x7b\x8c\xea") << u"日本語"_qs;
        QTest::newRow("Shift-JIS half-width kana") << QByteArray("CP932") << QByteArray("\xb1\xb2") << u"ｱｲ"_qs;
        QTest::newRow("Windows-1252") << QByteArray("CP1252") << QByteArray("Caf\xe9 \x80") << u"Café €"_qs;
        QTest::newRow("Windows-1251") << QByteArray("CP1251") << QByteArray("\xcf\xf0\xe8") << u"При"_qs;
        QTest::newRow("Windows-1250") << QByteArray("CP1250")
                                      << QByteArray("\xb3\xf3"
                                                    "d\x9f")
                                      << u"łódź"_qs;
        // A double-byte character cut by the end of the field is dropped.
        QTest::newRow("cut lead byte") << QByteArray("CP932") << QByteArray("\x93\xfa").repeated(14) + "A\x96"
                                       << QString(u"日"_qs.repeated(14) + QLatin1Char('A'));
        QTest::newRow("lead byte before padding")
            << QByteArray("CP932") << QByteArray("\x93\xfa\x96") << u"日\uFFFD"_qs;
        QTest::newRow("undefined byte") << QByteArray("CP1252") << QByteArray("a\x81z") << u"a\uFFFDz"_qs;
    }

    void decodesLegacyCodePages()
    {
        QFETCH(QByteArray, encoding);
        QFETCH(QByteArray, bytes);
        Mp3Tag tag;
        QVERIFY(parseMp3Trailer(trailer(bytes), encoding, tag));
        QTEST(tag.title, "text");
    }

    void unknownEncodingFallsBackToLatin1()
    {
        QCOMPARE(decodeText("abc", "NO-SUCH-ENCODING"), std::nullopt);
        Mp3Tag tag;
        QVERIFY(parseMp3Trailer(trailer("Caf\xe9"), "NO-SUCH-ENCODING", tag));
        QCOMPARE(tag.title, u"Café"_qs);
    }

    void codePageOfLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("codePage");
        QTest::newRow("Japanese") << "ja_JP.UTF-8" << QByteArray("CP932");
        QTest::newRow("Japanese, EUC") << "ja_JP.eucJP" << QByteArray("CP932");
        QTest::newRow("Korean") << "ko_KR.UTF-8" << QByteArray("CP949");
        QTest::newRow("Chinese, PRC") << "zh_CN.UTF-8" << QByteArray("CP936");
        QTest::newRow("Chinese, Taiwan") << "zh_TW.UTF-8" << QByteArray("CP950");
        QTest::newRow("Polish") << "pl_PL.UTF-8" << QByteArray("CP1250");
        QTest::newRow("Russian") << "ru_RU.UTF-8" << QByteArray("CP1251");
        QTest::newRow("Serbian, Cyrillic") << "sr_RS.UTF-8" << QByteArray("CP1251");
        QTest::newRow("Serbian, Latin") << "sr_RS.UTF-8@latin" << QByteArray("CP1250");
        QTest::newRow("Greek") << "el_GR.UTF-8" << QByteArray("CP1253");
        QTest::newRow("Turkish") << "tr_TR.UTF-8" << QByteArray("CP1254");
        QTest::newRow("Hebrew") << "he_IL.UTF-8" << QByteArray("CP1255");
        QTest::newRow("Arabic") << "ar_EG.UTF-8" << QByteArray("CP1256");
        QTest::newRow("Lithuanian") << "lt_LT.UTF-8" << QByteArray("CP1257");
        QTest::newRow("Vietnamese") << "vi_VN.UTF-8" << QByteArray("CP1258");
        QTest::newRow("Thai") << "th_TH.UTF-8" << QByteArray("CP874");
        QTest::newRow("German") << "de_DE.UTF-8" << QByteArray("CP1252");
        QTest::newRow("English") << "en_US" << QByteArray("CP1252");
        QTest::newRow("C") << "C.UTF-8" << QByteArray("CP1252");
        QTest::newRow("POSIX") << "POSIX" << QByteArray("CP1252");
    }

    void codePageOfLocale()
    {
        QFETCH(QString, locale);
        QTEST(legacyCodePageForLocale(locale), "codePage");
    }

    void localeVariablesInOrder()
    {
        EnvironmentOverride lang("LANG", "ru_RU.UTF-8");
        EnvironmentOverride ctype("LC_CTYPE", "");
        EnvironmentOverride all("LC_ALL", "");
        QCOMPARE(userCharacterLocaleName(), QStringLiteral("ru_RU.UTF-8"));
        {
            EnvironmentOverride ctype2("LC_CTYPE", "el_GR.UTF-8");
            QCOMPARE(userCharacterLocaleName(), QStringLiteral("el_GR.UTF-8"));
            EnvironmentOverride all2("LC_ALL", "ja_JP.UTF-8");
            QCOMPARE(userLegacyCodePage(), QByteArray("CP932"));
        }
    }

    void readsTheEndOfAFile()
    {
        QTemporaryDir dir;
        const QByteArray audio(5000, '\x55');
        Mp3Tag tag;
        QVERIFY(readMp3Tag(writeFile(dir, QStringLiteral("song.mp3"), audio + trailer("End")), tag));
        QCOMPARE(tag.title, QStringLiteral("End"));
        // Exactly 128 bytes: the whole file is the tag.
        QVERIFY(readMp3Tag(writeFile(dir, QStringLiteral("only.mp3"), trailer("Only")), tag));
        QCOMPARE(tag.title, QStringLiteral("Only"));

        Mp3Tag untouched;
        QVERIFY(!readMp3Tag(writeFile(dir, QStringLiteral("short.mp3"), trailer("x").mid(1)), untouched));
        QVERIFY(!readMp3Tag(writeFile(dir, QStringLiteral("none.mp3"), audio), untouched));
        // The tag must end the file.
        QVERIFY(!readMp3Tag(writeFile(dir, QStringLiteral("early.mp3"), trailer("x") + audio), untouched));
        QVERIFY(!readMp3Tag(dir.filePath(QStringLiteral("missing.mp3")), untouched));
        QVERIFY(!readMp3Tag(dir.path(), untouched));
        QCOMPARE(untouched.title, QString());
    }

    void readsInTheUsersCodePage()
    {
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("jp.mp3"), trailer("\x93\xfa\x96\x7b"));
        EnvironmentOverride all("LC_ALL", "ja_JP.UTF-8");
        Mp3Tag tag;
        QVERIFY(readMp3Tag(path, tag));
        QCOMPARE(tag.title, u"日本"_qs);
    }

    void namedPipeIsNoFile()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("pipe.mp3"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        Mp3Tag tag;
        QVERIFY(!readMp3Tag(fifo, tag));
    }
};

QTEST_GUILESS_MAIN(TestMp3Tag)
#include "tst_mp3tag.moc"
