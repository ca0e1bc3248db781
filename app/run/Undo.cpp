#include "run/Undo.h"

#include "run/ClearedReason.h"
#include "run/ReversalCheck.h"
#include "settings/XmlTools.h"

#include <QDir>
#include <cstring>

namespace quillbay {

namespace {

bool isEntry(pugi::xml_node node)
{
    return node.type() == pugi::node_element
        && (std::strcmp(node.name(), "file") == 0 || std::strcmp(node.name(), "folder") == 0);
}

ReversalReading::SkippedEntry skippedFor(pugi::xml_node entry, const char *missing)
{
    const pugi::xml_attribute name = entry.attribute("name");
    const QString known = toQString(name ? name : entry.attribute("newName"));
    return {toQString(entry.attribute("id")), QDir(toQString(entry.attribute("folder"))).filePath(known),
            QString::fromLatin1(missing)};
}

// The reversal of one entry: names swapped, a new id, the run's outcome and
// identity (handed back) and an earlier preview's verdict dropped.
pugi::xml_node appendReversed(pugi::xml_node target, pugi::xml_node entry, PreviewDocument &preview,
                              std::optional<ItemIdentity> &identity)
{
    pugi::xml_node copy = target.append_copy(entry);
    copy.attribute("name").set_value(entry.attribute("newName").value());
    copy.attribute("newName").set_value(entry.attribute("name").value());
    const std::string id = toUtf8(preview.NextEntryId());
    if (pugi::xml_attribute idAttribute = copy.attribute("id"))
        idAttribute.set_value(id.c_str());
    else
        copy.append_attribute("id").set_value(id.c_str());
    copy.remove_attribute("renamed");
    copy.remove_attribute(kClearedAttribute);
    identity = ItemIdentity::takeFrom(copy);
    return copy;
}

} // namespace

Result<void> Undo::UndoFromReport(const QString &path, PreviewDocument &preview, const QString &languageSuffix)
{
    const Result<ReversalReading> read = readReport(path, preview, languageSuffix);
    if (!read)
        return read.error();
    return {};
}

Result<ReversalReading> Undo::readReport(const QString &path, PreviewDocument &preview, const QString &languageSuffix)
{
    pugi::xml_document report;
    if (Result<void> loaded = XmlTools::loadFile(report, path); !loaded)
        return loaded.error().about(path);
    preview.NewPreviewDocument(languageSuffix);
    ReversalReading reading;
    ReversalCheck check;
    pugi::xml_node target = preview.root();
    const pugi::xml_node root = report.document_element();
    for (pugi::xml_node entry = root.last_child(); entry; entry = entry.previous_sibling()) {
        if (!isEntry(entry))
            continue;
        const QString renamed = XmlTools::ReadAttribute(entry, "renamed", QStringLiteral("no"), false);
        if (renamed.toLower() != QLatin1String("yes"))
            continue;
        const pugi::xml_attribute name = entry.attribute("name");
        const pugi::xml_attribute newName = entry.attribute("newName");
        if (!name || !newName) {
            reading.skipped.append(skippedFor(entry, name ? "newName" : "name"));
            continue;
        }
        std::optional<ItemIdentity> identity;
        pugi::xml_node copy = appendReversed(target, entry, preview, identity);
        // The report's own texts: the check keeps them, and the report is only read.
        const ClearedReason verdict = check.check(entry.attribute("folder").value(), name.value(), newName.value(),
                                                  std::strcmp(entry.name(), "folder") == 0, identity);
        if (verdict != ClearedReason::None) {
            XmlTools::setAttribute(copy, "include", QStringLiteral("false"));
            markCleared(copy, verdict);
        }
    }
    preview.entriesChanged();
    return reading;
}

} // namespace quillbay
