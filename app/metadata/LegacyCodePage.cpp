#include "metadata/LegacyCodePage.h"

#include <QStringList>
#include <cerrno>
#include <iconv.h>

namespace quillbay {
namespace {

bool languageIn(const QString &language, std::initializer_list<const char *> languages)
{
    for (const char *name : languages) {
        if (language == QLatin1String(name))
            return true;
    }
    return false;
}

QByteArray codePageForLanguage(const QString &language, const QString &territory, const QString &modifier)
{
    if (language == QLatin1String("ja"))
        return "CP932";
    if (language == QLatin1String("ko"))
        return "CP949";
    if (language == QLatin1String("zh"))
        return languageIn(territory, {"TW", "HK", "MO"}) ? "CP950" : "CP936";
    if (language == QLatin1String("th"))
        return "CP874";
    if (language == QLatin1String("vi"))
        return "CP1258";
    if (language == QLatin1String("sr"))
        return modifier == QLatin1String("latin") ? "CP1250" : "CP1251";
    if (languageIn(language, {"cs", "hu", "pl", "ro", "hr", "sk", "sl", "sq", "bs", "hsb", "dsb"}))
        return "CP1250";
    if (languageIn(language, {"ru", "uk", "be", "bg", "mk", "kk", "ky", "tt", "mn", "tg", "ba", "cv", "sah"}))
        return "CP1251";
    if (language == QLatin1String("el"))
        return "CP1253";
    if (languageIn(language, {"tr", "az"}))
        return "CP1254";
    if (languageIn(language, {"he", "iw", "yi"}))
        return "CP1255";
    if (languageIn(language, {"ar", "fa", "ur", "ps", "sd"}))
        return "CP1256";
    if (languageIn(language, {"lt", "lv", "et"}))
        return "CP1257";
    return "CP1252";
}

void appendUtf16Le(QString &text, const char *bytes, size_t length)
{
    for (size_t i = 0; i + 1 < length; i += 2)
        text.append(QChar(char16_t(quint8(bytes[i]) | (quint8(bytes[i + 1]) << 8))));
}

} // namespace

QString userCharacterLocaleName()
{
    for (const char *variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return QStringLiteral("C");
}

QByteArray legacyCodePageForLocale(const QString &localeName)
{
    // language[_territory][.codeset][@modifier]
    QString name = localeName;
    QString modifier;
    const qsizetype at = name.indexOf(QLatin1Char('@'));
    if (at >= 0) {
        modifier = name.mid(at + 1);
        name.truncate(at);
    }
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    const QStringList parts = name.split(QLatin1Char('_'));
    const QString language = parts.value(0).toLower();
    const QString territory = parts.value(1).toUpper();
    return codePageForLanguage(language, territory, modifier);
}

QByteArray userLegacyCodePage()
{
    return legacyCodePageForLocale(userCharacterLocaleName());
}

QByteArray iconvNameForCodePage(quint16 codePage)
{
    switch (codePage) {
    case 0:
        return {};
    case 1200:
        return "UTF-16LE";
    case 1201:
        return "UTF-16BE";
    case 10000:
        return "MACINTOSH";
    case 20127:
        return "ASCII";
    case 20932:
    case 51932:
        return "EUC-JP";
    case 50220:
    case 50221:
    case 50222:
        return "ISO-2022-JP";
    case 51949:
        return "EUC-KR";
    case 52936:
        return "HZ";
    case 54936:
        return "GB18030";
    case 65001:
        return "UTF-8";
    default:
        break;
    }
    if (codePage >= 28591 && codePage <= 28606)
        return "ISO-8859-" + QByteArray::number(codePage - 28590);
    return "CP" + QByteArray::number(codePage);
}

std::optional<QString> decodeText(QByteArrayView bytes, const QByteArray &encoding)
{
    if (encoding.isEmpty())
        return std::nullopt;
    iconv_t cd = iconv_open("UTF-16LE", encoding.constData());
    if (cd == iconv_t(-1))
        return std::nullopt;
    QString text;
    char *in = const_cast<char *>(bytes.data());
    size_t inLeft = size_t(bytes.size());
    // One input byte never yields more than one character, that is at most
    // four bytes of UTF-16.
    QByteArray buffer(qsizetype(inLeft * 4 + 8), Qt::Uninitialized);
    while (inLeft > 0) {
        char *out = buffer.data();
        size_t outLeft = size_t(buffer.size());
        const size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        const int error = errno;
        appendUtf16Le(text, buffer.constData(), size_t(buffer.size()) - outLeft);
        if (result != size_t(-1))
            break;
        if (error == E2BIG && outLeft < size_t(buffer.size()))
            continue;
        // An incomplete sequence at the end (EINVAL) is a character that a
        // fixed-length field cut in two: it is dropped. An invalid sequence
        // (EILSEQ) is replaced and skipped byte by byte.
        if (error != EILSEQ)
            break;
        text.append(QChar::ReplacementCharacter);
        ++in;
        --inLeft;
    }
    iconv_close(cd);
    return text;
}

} // namespace quillbay
