#pragma once
// The application options: the options table, the options file "app.xml"
// that keeps it together with the last window positions, and the values
// through which the folder context menu of the file manager learns whether
// and how to show the program's command.
//
// Options file: root "appSetting"; children "object" (attribute "name") with
// children "param" (attributes "name" and "value"). Object "Options" holds the
// table; "FormMain", "FormOptions", "FormSelectSetting" hold window positions.
// Objects and params the program does not know are kept and written back.

#include "settings/OptionsTable.h"
#include "settings/XmlTools.h"

#include <QString>
#include <QStringList>
#include <pugixml.hpp>

namespace quillbay {

class FileManagerMenus;
class Registry;

namespace OptionKey {
inline const QString UiLang = QStringLiteral("UiLang");
inline const QString UiLoad = QStringLiteral("UiLoad");
inline const QString FontName = QStringLiteral("FontNameOfFormControl");
inline const QString FontSize = QStringLiteral("FontSizeOfFormControl");
inline const QString ReportHoldingDays = QStringLiteral("ReportHoldingDays");
inline const QString FolderContextMenu = QStringLiteral("FolderContextMenu");
inline const QString FolderContextMenuAccessKey = QStringLiteral("FolderContextMenuAccessKey");
} // namespace OptionKey

class Options
{
public:
    Options() = default;
    // optionsFile: the options file in the data folder; programFolder: where
    // an options file delivered with the program may lie.
    Options(const QString &optionsFile, const QString &programFolder);
    void setLocation(const QString &optionsFile, const QString &programFolder);

    // Copies "app.xml" of the program's folder into the data folder when the
    // data folder has none (an existing file is never replaced), then loads
    // the options file; a missing or unreadable file leaves the document
    // empty. Ends with the root "appSetting" and the declaration ensured.
    // An error (the file missing, unreadable or not XML) when no file was loaded.
    Result<void> readOptionsFile();

    // The table from the defaults, then the older registry location, then the
    // object "Options" of the options document; the font size, the report
    // holding days and the context-menu switch fall back to their defaults
    // when they are not numeric.
    void BuildOptions(Registry &registry);
    static OptionsTable defaults();

    // Rewrites the object "Options" from the table, one "param" per key in table order.
    void StoreOptions();

    // Writes ShowMenu, MenuTitle and MenuHelp for the folder context menu,
    // and the command of the file managers that read it from files; fails
    // with what could not be written to those files.
    Result<void> WriteFolderMenuValues(Registry &registry, const FileManagerMenus &menus) const;

    // A window position (or another whole number) kept in the object: the
    // param's value; the default when the param is missing (it is then
    // created with the default) or its value is not a whole number.
    int readPosition(const QString &objectName, const QString &paramName, int defaultValue);
    void writePosition(const QString &objectName, const QString &paramName, int value);

    // Gives the document its root and the declaration (version 1.0, UTF-16).
    void ensureRootAndDeclaration();
    Result<void> save();

    OptionsTable &table() { return m_table; }
    const OptionsTable &table() const { return m_table; }
    pugi::xml_document &document() { return m_doc; }
    const QString &optionsFile() const { return m_optionsFile; }

private:
    pugi::xml_node object(const QString &name);

    QString m_optionsFile;
    QString m_programFolder;
    pugi::xml_document m_doc;
    OptionsTable m_table;
};

} // namespace quillbay
