#pragma once
// The main window as the start-up sees it. The start-up creates it once the
// program's objects exist, shows and fills it, hands it the folder of the
// command line, and then lets it run until the user closes it. Without a
// window (the unattended run, and the start-up's own tests) the start-up
// runs to its end alone.

#include <QString>
#include <functional>
#include <memory>

namespace quillbay {

struct ProgramContext;

class StartupWindow
{
public:
    virtual ~StartupWindow() = default;
    // Applies the font of the options, loads the window (position, texts,
    // first tab page, clean-up of old reports) and shows it.
    virtual void show() = 0;
    // Fills the setting selector and shows the selected setting.
    virtual void fill() = 0;
    // Carries out the request that waited for the end of start-up: path
    // (the command line's folder) when it is not empty, otherwise one that
    // another program sent during start-up, if any.
    virtual void deliverPendingRequest(const QString &path) = 0;
    // Runs the window until it has been closed; true when the settings were
    // saved at closing.
    virtual bool runUntilClosed() = 0;
};

using StartupWindowFactory = std::function<std::unique_ptr<StartupWindow>(ProgramContext &context)>;

} // namespace quillbay
