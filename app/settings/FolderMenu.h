#pragma once
// The values through which the file manager's folder context menu learns
// whether to show the program's command, its title and its help text. They
// live below "Software\Tolvane\Quillbay\FolderMenu" in the registry stand-in:
// ShowMenu (number 0 or 1), MenuTitle (text with "&" before the access key),
// MenuHelp (text).

#include "base/Result.h"
#include "settings/OptionsTable.h"

#include <QChar>
#include <QString>
#include <QStringList>

namespace quillbay {

class FileManagerMenus;
class Registry;

class FolderMenu
{
public:
    static QString subkey() { return QStringLiteral("FolderMenu"); }

    // The access-key letter of the option's value: a number is the 0-based
    // position of the letter in "A" to "Z"; a single character is itself;
    // anything else, or a result outside "A" to "Z", gives "B".
    static QChar accessKey(const std::optional<StoredValue> &value);

    // The title with the access-key marker: "&" before the first occurrence
    // of the key in the title (letter case ignored, the letter keeps its
    // case), or " (&K)" appended when the title has no such letter.
    static QString MenuTitle(const QString &displayName, QChar key);

    // ShowMenu = 1 with the title and help text when the option
    // FolderContextMenu is 1; otherwise ShowMenu = 0 and the title and help
    // text stay as they are. Errors of the registry are ignored. The file
    // managers that read commands from files get the command with the same
    // title and help, or lose it when the option is off; the result names
    // what could not be written there.
    static Result<void> writeValues(const OptionsTable &table, Registry &registry, const FileManagerMenus &menus);
};

} // namespace quillbay
