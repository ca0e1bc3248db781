#include "run/ItemIdentity.h"

#include <charconv>
#include <cstring>
#include <iterator>

namespace quillbay {

namespace {

constexpr const char *kDevice = "dev";
constexpr const char *kInode = "ino";
constexpr const char *kKind = "kind";
constexpr const char *kSize = "size";
constexpr const char *kModified = "mtime";

// Indexed by IdentityKind.
constexpr const char *kKindNames[] = {"file", "folder", "symlink", "other"};

IdentityKind kindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return IdentityKind::File;
    if (S_ISDIR(mode))
        return IdentityKind::Folder;
    if (S_ISLNK(mode))
        return IdentityKind::Symlink;
    return IdentityKind::Other;
}

std::optional<IdentityKind> kindNamed(const char *name)
{
    for (size_t i = 0; i < std::size(kKindNames); ++i)
        if (std::strcmp(name, kKindNames[i]) == 0)
            return IdentityKind(i);
    return std::nullopt;
}

template<typename T>
bool parseWhole(const char *begin, const char *end, T &out)
{
    const auto [rest, error] = std::from_chars(begin, end, out);
    return error == std::errc() && rest == end && begin != end;
}

template<typename T>
bool parseWhole(const char *text, T &out)
{
    return parseWhole(text, text + std::strlen(text), out);
}

// "seconds.nanoseconds", nanoseconds always nine digits.
void appendTime(std::string &out, qint64 seconds, qint32 nanoseconds)
{
    char buffer[48];
    char *end = std::to_chars(buffer, buffer + sizeof buffer, seconds).ptr;
    *end++ = '.';
    char digits[16];
    const char *digitsEnd = std::to_chars(digits, digits + sizeof digits, nanoseconds).ptr;
    for (ptrdiff_t pad = 9 - (digitsEnd - digits); pad > 0; --pad)
        *end++ = '0';
    out.append(buffer, size_t(end - buffer));
    out.append(digits, size_t(digitsEnd - digits));
}

bool parseTime(const char *text, qint64 &seconds, qint32 &nanoseconds)
{
    const char *dot = std::strchr(text, '.');
    if (!dot || std::strlen(dot + 1) != 9)
        return false;
    return parseWhole(text, dot, seconds) && parseWhole(dot + 1, nanoseconds) && nanoseconds >= 0;
}

template<typename T>
void appendNumber(std::string &out, T value)
{
    char buffer[24];
    const char *end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, size_t(end - buffer));
}

template<typename T>
void setNumber(pugi::xml_attribute attribute, T value)
{
    std::string text;
    appendNumber(text, value);
    attribute.set_value(text.c_str(), text.size());
}

} // namespace

bool isIdentityAttribute(const char *name)
{
    for (const char *known : {kDevice, kInode, kKind, kSize, kModified})
        if (std::strcmp(name, known) == 0)
            return true;
    return false;
}

ItemIdentity ItemIdentity::fromStat(const struct stat &st)
{
    ItemIdentity id;
    id.device = quint64(st.st_dev);
    id.inode = quint64(st.st_ino);
    id.kind = kindOfMode(st.st_mode);
    id.size = qint64(st.st_size);
    id.modifiedSeconds = qint64(st.st_mtim.tv_sec);
    id.modifiedNanoseconds = qint32(st.st_mtim.tv_nsec);
    return id;
}

void ItemIdentity::appendTo(pugi::xml_node entry) const
{
    setNumber(entry.append_attribute(kDevice), device);
    setNumber(entry.append_attribute(kInode), inode);
    entry.append_attribute(kKind).set_value(kKindNames[size_t(kind)]);
    if (kind != IdentityKind::File)
        return;
    setNumber(entry.append_attribute(kSize), size);
    std::string time;
    appendTime(time, modifiedSeconds, modifiedNanoseconds);
    entry.append_attribute(kModified).set_value(time.c_str(), time.size());
}

namespace {

// The identity attributes of an entry, found in one pass; removed from it
// as they are found when asked.
struct IdentityTexts {
    const char *device = "";
    const char *inode = nullptr;
    const char *kind = "";
    const char *size = "";
    const char *modified = "";
    std::string kept; // the texts of removed attributes live here, separated by NULs

    IdentityTexts(pugi::xml_node entry, bool remove)
    {
        const char **slots[] = {&device, &inode, &kind, &size, &modified};
        const char *names[] = {kDevice, kInode, kKind, kSize, kModified};
        size_t offsets[5] = {};
        bool found[5] = {};
        for (pugi::xml_attribute a = entry.first_attribute(); a;) {
            const pugi::xml_attribute next = a.next_attribute();
            for (size_t i = 0; i < 5; ++i) {
                if (found[i] || std::strcmp(a.name(), names[i]) != 0)
                    continue;
                found[i] = true;
                if (remove) {
                    offsets[i] = kept.size();
                    kept.append(a.value()).push_back('\0');
                    entry.remove_attribute(a);
                } else {
                    *slots[i] = a.value();
                }
                break;
            }
            a = next;
        }
        for (size_t i = 0; remove && i < 5; ++i)
            if (found[i])
                *slots[i] = kept.c_str() + offsets[i];
    }
};

std::optional<ItemIdentity> identityOf(const IdentityTexts &t)
{
    if (!t.inode)
        return std::nullopt;
    ItemIdentity id;
    const std::optional<IdentityKind> kind = kindNamed(t.kind);
    if (!kind || !parseWhole(t.inode, id.inode) || !parseWhole(t.device, id.device))
        return std::nullopt;
    id.kind = *kind;
    if (id.kind == IdentityKind::File
        && (!parseWhole(t.size, id.size) || !parseTime(t.modified, id.modifiedSeconds, id.modifiedNanoseconds)))
        return std::nullopt;
    return id;
}

} // namespace

std::optional<ItemIdentity> ItemIdentity::readFrom(pugi::xml_node entry)
{
    return identityOf(IdentityTexts(entry, false));
}

std::optional<ItemIdentity> ItemIdentity::takeFrom(pugi::xml_node entry)
{
    return identityOf(IdentityTexts(entry, true));
}

void ItemIdentity::removeFrom(pugi::xml_node entry)
{
    for (const char *name : {kDevice, kInode, kKind, kSize, kModified})
        while (entry.remove_attribute(name)) {
        }
}

void ItemIdentity::appendJournalFields(std::string &line) const
{
    appendNumber(line, device);
    line += '\t';
    appendNumber(line, inode);
    line += '\t';
    line += kKindNames[size_t(kind)];
    line += '\t';
    appendNumber(line, size);
    line += '\t';
    appendTime(line, modifiedSeconds, modifiedNanoseconds);
}

std::optional<ItemIdentity> ItemIdentity::fromJournalFields(const std::string &dev, const std::string &ino,
                                                            const std::string &kind, const std::string &size,
                                                            const std::string &mtime)
{
    ItemIdentity id;
    const std::optional<IdentityKind> k = kindNamed(kind.c_str());
    if (!k || !parseWhole(dev.c_str(), id.device) || !parseWhole(ino.c_str(), id.inode)
        || !parseWhole(size.c_str(), id.size) || !parseTime(mtime.c_str(), id.modifiedSeconds, id.modifiedNanoseconds))
        return std::nullopt;
    id.kind = *k;
    return id;
}

IdentityMatch ItemIdentity::compare(const struct stat &st) const
{
    if (kindOfMode(st.st_mode) != kind || quint64(st.st_ino) != inode)
        return IdentityMatch::Replaced;
    const bool sameContent = kind != IdentityKind::File
        || (qint64(st.st_size) == size && qint64(st.st_mtim.tv_sec) == modifiedSeconds
            && qint32(st.st_mtim.tv_nsec) == modifiedNanoseconds);
    // A device number can change when a removable disk is mounted again; the
    // inode alone is then the item's mark, and a file must also keep its size
    // and time to count as the same.
    if (quint64(st.st_dev) != device && !sameContent)
        return IdentityMatch::Replaced;
    return sameContent ? IdentityMatch::Same : IdentityMatch::Changed;
}

} // namespace quillbay
