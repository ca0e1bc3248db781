#include "ui/common/WindowPlacement.h"

#include "settings/Options.h"
#include "ui/common/Twips.h"

#include <QWidget>

namespace quillbay {

namespace {

const QString kLeft = QStringLiteral("Left");
const QString kTop = QStringLiteral("Top");

} // namespace

void restoreWindowPosition(QWidget *window, Options &options, const QString &objectName, int defaultTwips)
{
    const int left = options.readPosition(objectName, kLeft, defaultTwips);
    const int top = options.readPosition(objectName, kTop, defaultTwips);
    window->move(twipsToPixels(left, window->logicalDpiX()), twipsToPixels(top, window->logicalDpiY()));
}

void storeWindowPosition(const QWidget *window, Options &options, const QString &objectName)
{
    if (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QPoint position = window->pos();
    options.writePosition(objectName, kLeft, pixelsToTwips(position.x(), window->logicalDpiX()));
    options.writePosition(objectName, kTop, pixelsToTwips(position.y(), window->logicalDpiY()));
}

} // namespace quillbay
