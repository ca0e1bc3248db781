#pragma once
// UTF-8 to QString, taking the text as it stands.
//
// QString::fromUtf8 drops a byte order mark at the start of its input. In a
// file name, or in an attribute that holds one, U+FEFF is an ordinary
// character: dropping it names another file.

#include <QByteArrayView>
#include <QString>

namespace quillbay {

QString textFromUtf8(QByteArrayView utf8);

// The bytes of a name or path as text a user can read and tell apart from any
// other: well-formed UTF-8 as it stands, and each byte that is not part of it,
// each control character and each backslash written as \xNN (a backslash as
// \x5C). For messages about names that are not valid UTF-8.
QString visibleText(QByteArrayView bytes);

// Writes code point cp (no surrogate) as UTF-8 at out, which has room for
// four bytes; returns the end. For converters that write large texts in bulk.
inline char *putUtf8(char *out, char32_t cp)
{
    if (cp < 0x80) {
        *out++ = char(cp);
    } else if (cp < 0x800) {
        *out++ = char(0xC0 | (cp >> 6));
        *out++ = char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = char(0xE0 | (cp >> 12));
        *out++ = char(0x80 | ((cp >> 6) & 0x3F));
        *out++ = char(0x80 | (cp & 0x3F));
    } else {
        *out++ = char(0xF0 | (cp >> 18));
        *out++ = char(0x80 | ((cp >> 12) & 0x3F));
        *out++ = char(0x80 | ((cp >> 6) & 0x3F));
        *out++ = char(0x80 | (cp & 0x3F));
    }
    return out;
}

} // namespace quillbay
