#include "main/MainWindowStartup.h"

#include "automation/AutomationService.h"
#include "automation/FolderRequestQueue.h"
#include "automation/WindowFolderTarget.h"
#include "settings/Options.h"
#include "ui/common/FontChoice.h"
#include "ui/common/ProgramContext.h"
#include "ui/window/FolderRequests.h"
#include "ui/window/frmMain.h"

#include <QApplication>
#include <QEventLoop>
#include <cstdio>

namespace quillbay {

namespace {

class MainWindowStartup : public StartupWindow
{
public:
    // The automation door opens with the window, while start-up is still at
    // work: requests that come now wait in the pending slot.
    explicit MainWindowStartup(ProgramContext &context)
        : m_context(context), m_window(context), m_target(context.state, m_window), m_queue(m_target),
          m_automation(m_queue)
    {
        // Without a session bus no other program could call, so there is
        // nothing to tell; a bus that refuses the name is worth a line.
        if (!m_automation.busAvailable())
            return;
        const Result<void> started = m_automation.start();
        if (!started)
            std::fprintf(stderr, "Quillbay: other programs cannot hand folders to this one: %s\n",
                         started.error().message.toLocal8Bit().constData());
    }

    void show() override
    {
        applyFontOptions(m_context.options.table());
        m_window.load();
        m_window.show();
    }

    void fill() override { m_window.RefreshSettingList(); }

    void deliverPendingRequest(const QString &path) override
    {
        m_queue.storePendingRequest(path, FolderRequests::AskForSetting);
        m_queue.DeliverPendingRequest();
    }

    bool runUntilClosed() override
    {
        if (m_window.isVisible())
            QApplication::exec();
        return m_window.savedAtClose();
    }

private:
    ProgramContext &m_context;
    frmMain m_window;
    WindowFolderTarget m_target;
    FolderRequestQueue m_queue;
    AutomationService m_automation;
};

} // namespace

std::unique_ptr<StartupWindow> createMainWindow(ProgramContext &context)
{
    return std::make_unique<MainWindowStartup>(context);
}

} // namespace quillbay
