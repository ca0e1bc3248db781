#pragma once
// Builds real folder trees and settings documents for preview tests.

#include "TestFiles.h"
#include "engine/Manager.h"
#include "settings/XmlTools.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace quillbay::test {

// A setting named "T" that looks in folder, with the given criteria and rule
// list elements (raw XML), selected.
inline QString settingXml(const QString &folder, const QString &fileRules, const QString &folderRules = {},
                          const QString &criteria = {},
                          const QString &folders = QStringLiteral("childFolders=\"deep\" subFoldersDepth=\"0\""))
{
    return QStringLiteral("<settings version=\"2.0\" select=\"T\"><setting name=\"T\"><folders %1>"
                          "<folder path=\"%2\"/></folders>%3<newNameRules>%4</newNameRules>"
                          "<newFolderNameRules>%5</newFolderNameRules></setting></settings>")
        .arg(folders, folder.toHtmlEscaped(), criteria, fileRules, folderRules);
}

struct Entry {
    QString kind, name, newName, folder;
    bool include = true;
};

inline QList<Entry> entries(const Manager &manager)
{
    QList<Entry> out;
    for (pugi::xml_node e = const_cast<Manager &>(manager).preview().root().first_child(); e; e = e.next_sibling()) {
        Entry entry{QString::fromUtf8(e.name()), toQString(e.attribute("name")), toQString(e.attribute("newName")),
                    toQString(e.attribute("folder"))};
        entry.include = parseFlag(toQString(e.attribute("include"))).value_or(true);
        out.append(entry);
    }
    return out;
}

// "name>newName" for each entry, with "!" in front of unchecked ones.
inline QStringList summary(const Manager &manager)
{
    QStringList out;
    for (const Entry &e : entries(manager))
        out << (e.include ? QString() : QStringLiteral("!")) + e.name + u'>' + e.newName;
    return out;
}

// Loads the settings and builds their preview (temporary names from a fixed seed).
inline Result<PreviewSummary> build(Manager &manager, const QString &xml)
{
    if (!manager.settings().loadText(xml))
        return Error::withMessage(QStringLiteral("settings did not load"));
    manager.temporaryNames().seed(7);
    return manager.BuildPreview();
}

// The same, for a test that looks at the preview document only.
inline void preview(Manager &manager, const QString &xml)
{
    static_cast<void>(build(manager, xml));
}

} // namespace quillbay::test
