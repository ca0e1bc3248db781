#include "ui/preview/PreviewEntries.h"

#include "engine/PreviewTreeText.h"
#include "run/ClearedReason.h"
#include "run/PreviewDocument.h"
#include "settings/XmlTools.h"

#include <algorithm>
#include <strings.h>

namespace quillbay {

bool entryChecked(pugi::xml_node entry)
{
    const pugi::xml_attribute include = entry.attribute("include");
    if (!include)
        return true;
    // The common spellings without a conversion; the rest as the document reads flags.
    if (::strcasecmp(include.value(), "true") == 0)
        return true;
    if (::strcasecmp(include.value(), "false") == 0)
        return false;
    return parseFlag(toQString(include)).value_or(true);
}

PreviewEntries PreviewEntries::read(const PreviewDocument &document, bool afterRun)
{
    PreviewEntries entries;
    entries.afterRun = afterRun;
    for (pugi::xml_node e = document.root().first_child(); e; e = e.next_sibling()) {
        if (!PreviewDocument::isEntry(e))
            continue;
        const int row = int(entries.rows.size());
        entries.rows.push_back(e);
        if (afterRun) {
            if (e.attribute("error")) {
                ++entries.failed;
                entries.attention.push_back(row);
            } else if (e.attribute("renamed")) {
                ++entries.renamed;
            }
            continue;
        }
        if (entryChecked(e))
            ++entries.checked;
        if (clearedReasonOf(e) != ClearedReason::None) {
            ++entries.cleared;
            entries.attention.push_back(row);
        }
    }
    // The check boxes find their entries by id: the document's index of ids
    // (which a preview keeps as it goes) is built here, if need be, rather
    // than at the first click.
    if (!entries.rows.empty())
        document.findEntry(toQString(entries.rows.front().attribute("id")));
    return entries;
}

void PreviewEntries::markShownEntries(PreviewDocument &document)
{
    for (pugi::xml_node e = document.root().first_child(); e; e = e.next_sibling()) {
        if (!PreviewDocument::isEntry(e))
            continue;
        const pugi::xml_attribute include = e.attribute("include");
        if (!include)
            e.append_attribute("include").set_value("True");
        else if (::strcasecmp(include.value(), "true") != 0 && ::strcasecmp(include.value(), "false") != 0)
            previewEntryChecked(e); // writes "True" over a text that is no flag
    }
}

int PreviewEntries::nextAttention(int row) const
{
    if (attention.empty())
        return -1;
    const auto next = std::upper_bound(attention.begin(), attention.end(), row);
    return next == attention.end() ? attention.front() : *next;
}

} // namespace quillbay
