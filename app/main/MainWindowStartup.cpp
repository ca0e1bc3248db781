#include "main/MainWindowStartup.h"

#include "settings/Options.h"
#include "ui/common/FontChoice.h"
#include "ui/common/ProgramContext.h"
#include "ui/window/FolderRequests.h"
#include "ui/window/frmMain.h"

#include <QApplication>
#include <QEventLoop>

namespace quillbay {

namespace {

class MainWindowStartup : public StartupWindow
{
public:
    explicit MainWindowStartup(ProgramContext &context) : m_context(context), m_window(context) {}

    void show() override
    {
        ApplyFontOptions(m_context.options.table());
        m_window.Load();
        m_window.show();
    }

    void fill() override { m_window.RefreshSettingList(); }

    void deliverPendingRequest(const QString &path) override
    {
        m_window.folderRequests().DeliverRequest(path, FolderRequests::AskForSetting);
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
};

} // namespace

std::unique_ptr<StartupWindow> CreateMainWindow(ProgramContext &context)
{
    return std::make_unique<MainWindowStartup>(context);
}

} // namespace quillbay
