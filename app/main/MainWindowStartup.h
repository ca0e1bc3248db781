#pragma once
// The start-up's view of the real main window (frmMain).

#include "main/StartupWindow.h"

namespace quillbay {

// The factory the program gives its start-up.
std::unique_ptr<StartupWindow> createMainWindow(ProgramContext &context);

} // namespace quillbay
