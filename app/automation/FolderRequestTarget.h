#pragma once
// What the automation needs from the main window to hand it a folder that
// another program sent. The window implements it; the tests use a fake.

#include <QString>
#include <functional>

namespace quillbay {

class FolderRequestTarget
{
public:
    using Completion = std::function<void()>;

    virtual ~FolderRequestTarget() = default;

    // The main window has been created (start-up creates it; it lives until the end).
    virtual bool windowExists() const = 0;
    // Brings the main window to the front.
    virtual void raiseWindow() = 0;
    // Start-up, a preview or rename run, or the select-setting dialog of an
    // earlier request is in progress.
    virtual bool busy() const = 0;
    // Start-up has finished.
    virtual bool ready() const = 0;
    // A rename run is in progress. Requests wait until it has ended and are
    // then taken as if they had just arrived.
    virtual bool renaming() const = 0;

    // DeliverRequest: mode 1 adds the path to the current setting directly
    // (AddPathDirectly); any other mode asks which setting gets it
    // (ReceivePath). Calls done exactly once when the work is over (the
    // select-setting dialog closed, or a message shown instead), possibly
    // before returning.
    virtual void DeliverRequest(const QString &path, int mode, Completion done) = 0;
};

} // namespace quillbay
