#pragma once
// Texts stored as 8-bit bytes without any mark of their encoding (the MP3 tag
// trailer, 8-bit strings of document properties) and the conversion of such
// bytes to Unicode with iconv.
//
// Such bytes were written on systems whose "ANSI" code page followed the
// language of the user: Shift-JIS (code page 932) in Japan, Windows-1251 in
// Russia, Windows-1252 in Western Europe and America, and so on. Linux has no
// such code page (its locales are UTF-8), so the reader takes the Windows code
// page that belongs to the language of the user's locale: a Japanese user's
// old MP3 files were tagged in CP932, a Polish user's in Windows-1250. For a
// language without an own code page, or the C locale, Windows-1252 is taken;
// it maps every byte, so it never fails.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace quillbay {

// The locale that governs character conversion: LC_ALL, else LC_CTYPE, else
// LANG (the first one set and not empty); "C" when none is set.
QString userCharacterLocaleName();

// The iconv name of the Windows code page for a locale name such as
// "ja_JP.UTF-8", "pl_PL" or "sr_RS@latin".
QByteArray legacyCodePageForLocale(const QString &localeName);

// legacyCodePageForLocale(userCharacterLocaleName()).
QByteArray userLegacyCodePage();

// The iconv name of a Windows code page number (as document properties give
// it); empty for a number this program does not know.
QByteArray iconvNameForCodePage(quint16 codePage);

// Converts bytes in the named encoding to text. Byte sequences the encoding
// does not define become U+FFFD; an incomplete sequence at the very end is
// dropped. No value when iconv does not know the name.
std::optional<QString> decodeText(QByteArrayView bytes, const QByteArray &encoding);

} // namespace quillbay
