#pragma once
// What identifies the item a run renamed: its device and inode, its kind, and
// for a regular file its size and modification time. A run writes it on each
// entry it renamed; a reversal compares it with what now carries the new name,
// so that it never gives the old name to a file put there since the run.
//
// In a report it is kept as attributes of the entry, which reports written
// before it existed simply do not have:
//   dev="2049" ino="1234567" kind="file" size="5120" mtime="1700000000.123456789"
// (kind is "file", "folder" or "symlink"; size and mtime only for a file).

#include <QtGlobal>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <sys/stat.h>

namespace quillbay {

enum class IdentityKind : quint8 { File, Folder, Symlink, Other };

// What a reversal finds under the new name, measured against the identity.
enum class IdentityMatch : quint8 {
    Same,     // the item the run renamed, unchanged
    Changed,  // the same file, but its size or modification time differs
    Replaced, // another item, or one of another kind
    Missing,  // nothing carries the name
};

struct ItemIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    IdentityKind kind = IdentityKind::File;
    qint64 size = 0;
    qint64 modifiedSeconds = 0;
    qint32 modifiedNanoseconds = 0;

    static ItemIdentity fromStat(const struct stat &st);

    // Appends the attributes to a report entry (which has none of them yet).
    void appendTo(pugi::xml_node entry) const;
    // The identity an entry records; none when it records none, or records
    // one that cannot be read (an edited report is then treated as an old one).
    static std::optional<ItemIdentity> readFrom(pugi::xml_node entry);
    // Removes the identity attributes an entry carries.
    static void removeFrom(pugi::xml_node entry);
    // readFrom and removeFrom in one pass over the entry's attributes.
    static std::optional<ItemIdentity> takeFrom(pugi::xml_node entry);

    // The fields as the journal writes them, tab-separated; and back.
    void appendJournalFields(std::string &line) const;
    static std::optional<ItemIdentity> fromJournalFields(const std::string &dev, const std::string &ino,
                                                         const std::string &kind, const std::string &size,
                                                         const std::string &mtime);

    // How the item described by st (as lstat gives it) stands to this one.
    IdentityMatch compare(const struct stat &st) const;
};

// The names of the attributes, for code that walks an entry's attributes.
bool isIdentityAttribute(const char *name);

} // namespace quillbay
