#pragma once
// The file format of the registry stand-in: the values that the desktop
// platform keeps in its registry (and that the file manager extension reads)
// live in one plain text file, simple enough to read from C without any
// library.
//
// Format, UTF-8, one record per line, lines end with "\n":
//
//   QuillbayRegistry 1
//   key Software\Tolvane\Quillbay\FolderMenu
//   number ShowMenu 1
//   text MenuTitle Quill&bay%20the%20Renamer
//   bytes Blob 00ff7f
//
// - The first line names the format and its version.
// - "key <path>" starts a key; the value lines after it belong to it. A key
//   may have no values. Paths are below the current user's root (no
//   "HKCU\" in front), parts separated by "\".
// - "text <name> <text>": a text value; "number <name> <decimal>": a 32-bit
//   unsigned number (0 to 4294967295); "bytes <name> <hex>": binary data as
//   pairs of hex digits.
// - Fields are separated by one space. In a key path, a name and a text,
//   every byte of the UTF-8 text that is a control character, a space, "%"
//   or DEL (0x00-0x20, 0x25, 0x7F) is written as "%" and two upper-case hex
//   digits, so no field holds a space or a line break. A field that is empty
//   (the unnamed default value, an empty text, no bytes) is written as "%"
//   alone.
// - Key paths and value names are compared without regard to letter case.
// - Lines that cannot be read are skipped; a reader must ignore record kinds
//   it does not know.

#include "base/StoredValue.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace quillbay {

// A value of the store: a text, a whole number from 0 to 4294967295, or bytes.
struct RegistryNamedValue {
    QString name;
    StoredValue value;
};

struct RegistryKey {
    QString path;
    QList<RegistryNamedValue> values;
};

struct RegistryContent {
    QList<RegistryKey> keys;
    int unreadableLines = 0;

    static QString normalizedPath(const QString &path);
    static bool samePath(const QString &a, const QString &b);

    RegistryKey *findKey(const QString &path);
    const RegistryKey *findKey(const QString &path) const;
    // The key, created (with its place at the end) when missing.
    RegistryKey &key(const QString &path);
    // Whether path is a key, or lies above a key that exists.
    bool keyExists(const QString &path) const;
    bool hasSubkeys(const QString &path) const;

    static RegistryContent parse(const QByteArray &bytes);
    QByteArray serialize() const;
};

// Field escaping of the format (exposed for tests).
QByteArray escapeRegistryField(const QByteArray &utf8);
std::optional<QByteArray> unescapeRegistryField(const QByteArray &field);

} // namespace quillbay
