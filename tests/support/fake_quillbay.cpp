// fake_quillbay RECORD-FILE [START-UP-MILLISECONDS]
//
// Serves "Quillbay.Application" with the real automation object over a fake
// window whose select-setting dialog closes at once. Writes "ready" into the
// record file when its start-up has finished and "deliver MODE PATH" for each
// request handed to the window. Ends when the bus goes away.

#include "FakeFolderTarget.h"
#include "automation/AutomationService.h"
#include "automation/FolderRequestQueue.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QTimer>

namespace {

void record(const QString &file, const QString &line)
{
    QFile out(file);
    if (out.open(QIODevice::Append))
        out.write((line + u'\n').toUtf8());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2)
        return 2;
    const QString recordFile = arguments[1];
    const int startupMilliseconds = arguments.size() > 2 ? arguments[2].toInt() : 0;

    FakeFolderTarget window;
    window.closeAtOnce = true;
    window.isBusy = startupMilliseconds > 0;
    window.isReady = startupMilliseconds == 0;
    window.onDelivery = [&](const FakeFolderTarget::Delivery &delivery) {
        record(recordFile, QStringLiteral("deliver %1 %2").arg(delivery.mode).arg(delivery.path));
    };
    quillbay::FolderRequestQueue queue(window);
    quillbay::AutomationService service(queue);
    const quillbay::Result<void> started = service.start();
    if (!started) {
        record(recordFile, QStringLiteral("failed ") + started.error().message);
        return 1;
    }
    // The door is open from the first moment, as in the program, so calls
    // may arrive while it is still starting.
    QTimer::singleShot(startupMilliseconds, &app, [&] {
        window.isBusy = false;
        window.isReady = true;
        record(recordFile, QStringLiteral("ready"));
        queue.DeliverPendingRequest();
    });

    QTimer busWatch;
    QObject::connect(&busWatch, &QTimer::timeout, &app, [&] {
        if (!QDBusConnection::sessionBus().isConnected())
            app.quit();
    });
    busWatch.start(200);
    QTimer::singleShot(120000, &app, &QCoreApplication::quit); // never outlives a test run
    return app.exec();
}
