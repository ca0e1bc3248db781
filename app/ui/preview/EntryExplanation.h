#pragma once
// What the preview list says about one entry besides its line: why the
// preview cleared its check mark, or, after a run, how its rename ended.

#include <QString>
#include <pugixml.hpp>

namespace quillbay {

enum class EntryState {
    Plain,   // nothing to say
    Cleared, // the preview cleared the check mark, for a reason
    Renamed, // the run gave it its new name
    Failed,  // the run could not rename it
};

struct EntryExplanation {
    EntryState state = EntryState::Plain;
    QString text; // the reason, or the run's message
};

// The explanation of an entry of the preview document.
EntryExplanation explainEntry(pugi::xml_node entry);

// Why a new name cannot be given (empty when it can).
QString invalidNameText(const QString &newName);

} // namespace quillbay
