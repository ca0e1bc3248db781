#pragma once
// The unattended run of the selected setting ("-exec" on the command line):
// check that a preview can be made, build it, carry it out with its report,
// and empty the preview list. Nobody may be there to answer: everything the
// window would show goes to the given sinks.

#include "services/DataFolders.h"
#include "settings/SettingsStore.h"

#include <functional>

namespace quillbay {

class Manager;

class UnattendedRun
{
public:
    enum class Outcome {
        Done,        // every included entry was renamed and the report saved
        NotPossible, // no preview could be made: nothing was renamed
        Incomplete,  // some entries kept their names, or the report could not be saved
    };

    UnattendedRun(Manager &manager, const DataFolders &folders, UserMessage showMessage,
                  std::function<void(const QString &)> note);

    Outcome run();

private:
    bool buildPreview();
    Outcome carryOut();

    Manager &m_manager;
    DataFolders m_folders;
    UserMessage m_showMessage;
    std::function<void(const QString &)> m_note;
};

} // namespace quillbay
