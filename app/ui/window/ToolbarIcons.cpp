#include "ui/window/ToolbarIcons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quillbay {

namespace {

constexpr int kSize = 48; // drawn large; Qt scales down for the toolbar

const QColor kOutline(0x37, 0x47, 0x4f);
const QColor kPaper(0xfa, 0xfa, 0xfa);
const QColor kFolder(0xf2, 0xb6, 0x3c);
const QColor kAdd(0x2e, 0x7d, 0x32);
const QColor kRemove(0xc6, 0x28, 0x28);

void drawPage(QPainter &p, QRectF box)
{
    QPainterPath page;
    const qreal fold = box.width() * 0.3;
    page.moveTo(box.topLeft());
    page.lineTo(box.right() - fold, box.top());
    page.lineTo(box.right(), box.top() + fold);
    page.lineTo(box.bottomRight());
    page.lineTo(box.bottomLeft());
    page.closeSubpath();
    p.setPen(QPen(kOutline, 2.5));
    p.setBrush(kPaper);
    p.drawPath(page);
    for (int line = 1; line <= 3; ++line) {
        const qreal y = box.top() + box.height() * (0.25 + 0.18 * line);
        p.drawLine(QPointF(box.left() + 6, y), QPointF(box.right() - 6, y));
    }
}

void drawFolder(QPainter &p, QRectF box)
{
    QPainterPath folder;
    folder.moveTo(box.left(), box.top() + 6);
    folder.lineTo(box.left() + box.width() * 0.4, box.top() + 6);
    folder.lineTo(box.left() + box.width() * 0.5, box.top() + 12);
    folder.lineTo(box.right(), box.top() + 12);
    folder.lineTo(box.bottomRight());
    folder.lineTo(box.bottomLeft());
    folder.closeSubpath();
    p.setPen(QPen(kOutline, 2.5));
    p.setBrush(kFolder);
    p.drawPath(folder);
}

// A round badge with a plus or a minus in the lower right corner.
void drawBadge(QPainter &p, bool plus)
{
    const QRectF badge(kSize - 24, kSize - 24, 22, 22);
    p.setPen(Qt::NoPen);
    p.setBrush(plus ? kAdd : kRemove);
    p.drawEllipse(badge);
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = badge.center();
    p.drawLine(c - QPointF(6, 0), c + QPointF(6, 0));
    if (plus)
        p.drawLine(c - QPointF(0, 6), c + QPointF(0, 6));
}

void drawMagnifier(QPainter &p)
{
    p.setPen(QPen(kOutline, 5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(0xbb, 0xde, 0xfb));
    p.drawEllipse(QRectF(20, 20, 20, 20));
    p.drawLine(QPointF(37, 37), QPointF(45, 45));
}

} // namespace

QIcon drawnToolbarIcon(const QString &key)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (key == QLatin1String("SettingDuplicate")) {
        drawPage(p, QRectF(4, 2, 26, 34));
        drawPage(p, QRectF(16, 12, 26, 34));
    } else if (key.startsWith(QLatin1String("Setting"))) {
        drawPage(p, QRectF(6, 2, 30, 40));
        drawBadge(p, key == QLatin1String("SettingAdd"));
    } else if (key.startsWith(QLatin1String("Folder"))) {
        drawFolder(p, QRectF(2, 4, 40, 32));
        drawBadge(p, key == QLatin1String("FolderAdd"));
    } else {
        drawPage(p, QRectF(4, 2, 28, 38));
        drawMagnifier(p);
    }
    return QIcon(pixmap);
}

QIcon toolbarIcon(const QString &key)
{
    static const QHash<QString, QStringList> themeNames{
        {QStringLiteral("SettingAdd"), {QStringLiteral("document-new")}},
        {QStringLiteral("SettingRemove"), {QStringLiteral("edit-delete")}},
        {QStringLiteral("SettingDuplicate"), {QStringLiteral("edit-copy")}},
        {QStringLiteral("FolderAdd"), {QStringLiteral("folder-new")}},
        {QStringLiteral("FolderRemove"), {QStringLiteral("list-remove")}},
        {QStringLiteral("RenamePreview"), {QStringLiteral("document-print-preview"), QStringLiteral("edit-find")}},
    };
    for (const QString &name : themeNames.value(key)) {
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    }
    return drawnToolbarIcon(key);
}

} // namespace quillbay
