#pragma once
// The tag that a window, control, menu item, tab or toolbar button carries:
// entries "key=value" separated by ";". "c" names the string table entry of
// the caption, "t" that of the tooltip, "o" the option the control is bound to.
// Example: "o=FolderContextMenu;c=2310-".

#include <QHash>
#include <QString>
#include <optional>

namespace quillbay {

class ControlTag
{
public:
    // Splits at every ";", skips empty entries, and splits each entry at its
    // first "=" (the value may hold further "="; an entry without "=" has an
    // empty value). Keys are taken exactly as written; should a key repeat,
    // its first entry counts.
    static ControlTag parse(const QString &tag);

    bool contains(const QString &key) const { return m_entries.contains(key); }
    QString value(const QString &key) const { return m_entries.value(key); }
    qsizetype size() const { return m_entries.size(); }

    // The string table text that the entry key names in the interface
    // language. No value when the key is missing, when its value is not a
    // whole number (forms carry values such as "601*" or "2310-" on purpose,
    // to keep their designed text) or when the table has no such entry.
    std::optional<QString> tableText(const QString &key) const;

    // The text a control shows: the table text of "c" (caption) or "t"
    // (tooltip), or the designed text when there is none.
    QString caption(const QString &designed) const;
    QString tooltip(const QString &designed) const;
    // The key of the options table named by "o"; empty when there is none.
    QString optionKey() const { return value(QStringLiteral("o")); }

private:
    QHash<QString, QString> m_entries;
};

// A string table identifier written in a tag: decimal digits only, 0 to 65535.
std::optional<int> parseTextId(QStringView value);

} // namespace quillbay
