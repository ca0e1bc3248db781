#pragma once
// Why a preview cleared the check mark of an entry. The preview keeps it on
// the entry as the attribute "cleared", so that the window can tell the user
// why; entries that the preview leaves checked have no such attribute. The
// attribute is the program's own: it does not take part in deciding anything
// (include does), and a reversal does not carry it over.

#include <QString>
#include <QtGlobal>
#include <pugixml.hpp>

namespace quillbay {

enum class ClearedReason : quint8 {
    None,
    InvalidName,     // the new name cannot be given (see invalidNameProblem)
    TakenByNewName,  // an earlier entry of the folder takes the same new name
    BlockedByFile,   // a file of that name is there and keeps its name
    BlockedByFolder, // a folder of that name is there
    NoTemporaryName, // a cycle of renames found no free temporary name
    // A reversal's checks of what now carries the name the run gave:
    ChangedSinceRun, // the same file, but its size or modification time changed
    Replaced,        // another item (or one of another kind) carries the name
    Missing,         // nothing carries the name
    Refused,         // the report entry names a folder or a name that could reach
                     // elsewhere; the list keeps it cleared and the run refuses it
};

inline constexpr const char *kClearedAttribute = "cleared";

// Writes the reason on the entry (nothing for None).
void markCleared(pugi::xml_node entry, ClearedReason reason);
// The reason on the entry; None when there is none or it is not one of ours.
ClearedReason clearedReasonOf(pugi::xml_node entry);

// The text of a reversal's reason (ChangedSinceRun, Replaced, Missing,
// Refused) in the user's language; empty for the preview's own reasons, whose
// texts the preview list gives with the names they concern.
QString reversalReasonText(ClearedReason reason);

} // namespace quillbay
