#include "ScreenshotSession.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWindow>

namespace quillbay::shots {

namespace {

QList<QPair<QString, ScreenFunction>> &screens()
{
    static QList<QPair<QString, ScreenFunction>> list;
    return list;
}

} // namespace

ScreenRegistration::ScreenRegistration(const char *group, ScreenFunction function)
{
    screens().append({QString::fromLatin1(group), std::move(function)});
}

const QList<QPair<QString, ScreenFunction>> &registeredScreens()
{
    return screens();
}

ScreenshotSession::ScreenshotSession(const QString &dataFolder, const QString &sampleFolder,
                                     const QString &outputFolder, const QString &prefix)
    : m_sampleFolder(sampleFolder), m_outputFolder(outputFolder), m_prefix(prefix)
{
    m_context.programFolder = dataFolder;
    m_store.setFolders(DataFolders::inFolder(dataFolder), dataFolder);
    m_store.CreateDataFolders();
    static_cast<void>(m_options.readOptionsFile()); // a missing file: the defaults
    m_options.BuildOptions(m_registry);
    m_store.LoadSettings();
}

frmMain &ScreenshotSession::openWindow()
{
    if (!m_window) {
        m_window = std::make_unique<frmMain>(m_context);
        m_window->load();
        m_window->show();
        m_window->RefreshSettingList();
        (void)QTest::qWaitForWindowExposed(m_window.get());
        settle();
    }
    return *m_window;
}

void ScreenshotSession::settle(int milliseconds)
{
    QTest::qWait(milliseconds);
}

bool ScreenshotSession::save(QWidget *window, const QString &name)
{
    window->raise();
    window->activateWindow();
    settle();
    // The window manager frames a new window a little later; the picture
    // should show the frame with its title.
    for (int waited = 0; window->frameGeometry() == window->geometry() && waited < 3000; waited += 50)
        settle(50);
    QRect frame = window->frameGeometry();
    // Should the manager not have told the frame yet, the main window's frame
    // shows how wide its edges are.
    if (frame == window->geometry() && m_window && m_window.get() != window) {
        const QRect mainFrame = m_window->frameGeometry();
        const QRect mainInside = m_window->geometry();
        frame = window->geometry().adjusted(mainFrame.left() - mainInside.left(), mainFrame.top() - mainInside.top(),
                                            mainFrame.right() - mainInside.right(),
                                            mainFrame.bottom() - mainInside.bottom());
    }
    return saveArea(window->screen(), frame, name);
}

bool ScreenshotSession::saveArea(QScreen *screen, const QRect &area, const QString &name)
{
    const QPixmap picture = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const QString path = QDir(m_outputFolder).filePath(m_prefix + u'-' + name + QStringLiteral(".png"));
    if (picture.isNull() || !picture.save(path)) {
        qWarning("cannot save %s", qPrintable(path));
        ++m_failures;
        return false;
    }
    return true;
}

} // namespace quillbay::shots
