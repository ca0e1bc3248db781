#pragma once
// A main window over a data folder of its own, built as the start-up builds
// it, and the means to answer the dialogs it opens as a user would.

#include "engine/Manager.h"
#include "services/Registry.h"
#include "settings/Options.h"
#include "settings/SettingsStore.h"
#include "ui/common/ProgramContext.h"
#include "ui/common/ProgramState.h"
#include "ui/window/frmMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace quillbay::test {

struct WindowFixture {
    QString dataFolder;
    Manager manager;
    Options options;
    SettingsStore store{manager.settings(), options};
    Registry registry;
    ProgramState state;
    ProgramContext context{manager, options, store, registry, state, QString()};
    std::unique_ptr<frmMain> window;

    // dataFolder: the user's data folder; programFolder: where help pages lie.
    explicit WindowFixture(const QString &dataFolderPath, const QString &programFolder = QString())
        : dataFolder(dataFolderPath)
    {
        context.programFolder = programFolder.isEmpty() ? dataFolder : programFolder;
        store.setFolders(DataFolders::inFolder(dataFolder), context.programFolder);
        store.CreateDataFolders();
        static_cast<void>(options.readOptionsFile());
        options.BuildOptions(registry);
        store.LoadSettings();
    }

    frmMain &open()
    {
        window = std::make_unique<frmMain>(context);
        window->load();
        window->show();
        window->RefreshSettingList();
        (void)QTest::qWaitForWindowExposed(window.get());
        return *window;
    }

    QString dataFile(const QString &name) const { return dataFolder + u'/' + name; }
};

// Calls answer with the next modal window that opens, from the event loop of
// whatever exec() opened it, once it has become the active window, so that keys
// typed reach it as they would a user's (activation follows the showing a
// little later). Gives up after a few seconds.
inline void whenModalShows(std::function<void(QWidget *)> answer)
{
    auto *timer = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, answer] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && modal->isActiveWindow()) {
            timer->stop();
            timer->deleteLater();
            delete clock;
            answer(modal);
        } else if (clock->elapsed() > 5000) {
            timer->stop();
            timer->deleteLater();
            delete clock;
        }
    });
    timer->start(10);
}

// Answers the next message box with a button, noting its text.
inline void answerMessage(QMessageBox::StandardButton button, QString *text = nullptr)
{
    whenModalShows([button, text](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return;
        if (text)
            *text = box->text();
        box->button(button)->click();
    });
}

template<typename T>
T *child(QObject *parent, const char *name)
{
    return parent->findChild<T *>(QString::fromLatin1(name));
}

} // namespace quillbay::test
