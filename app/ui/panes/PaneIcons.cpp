#include "ui/panes/PaneIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quillbay {

namespace {

constexpr int kSize = 32; // drawn large; Qt scales down to the button

const QColor kBlue(0x15, 0x65, 0xc0);
const QColor kRed(0xc6, 0x28, 0x28);
const QColor kOutline(0x37, 0x47, 0x4f);

void drawCross(QPainter &p, bool plus, const QColor &color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QRectF(2, 2, kSize - 4, kSize - 4));
    p.setPen(QPen(Qt::white, 4.5, Qt::SolidLine, Qt::RoundCap));
    const QPointF c(kSize / 2.0, kSize / 2.0);
    if (plus) {
        p.drawLine(c - QPointF(8, 0), c + QPointF(8, 0));
        p.drawLine(c - QPointF(0, 8), c + QPointF(0, 8));
    } else {
        p.drawLine(c - QPointF(6, 6), c + QPointF(6, 6));
        p.drawLine(c - QPointF(6, -6), c + QPointF(6, -6));
    }
}

void drawPicture(QPainter &p)
{
    p.setPen(QPen(kOutline, 2));
    p.setBrush(QColor(0xe3, 0xf2, 0xfd));
    p.drawRect(QRectF(3, 5, kSize - 6, kSize - 10));
    QPainterPath hills;
    hills.moveTo(4, kSize - 6);
    hills.lineTo(13, 14);
    hills.lineTo(19, 21);
    hills.lineTo(23, 17);
    hills.lineTo(kSize - 4, kSize - 6);
    hills.closeSubpath();
    p.setBrush(QColor(0x43, 0xa0, 0x47));
    p.drawPath(hills);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xb3, 0x00));
    p.drawEllipse(QRectF(20, 8, 6, 6));
}

void drawNote(QPainter &p)
{
    p.setPen(QPen(kOutline, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 24), QPointF(12, 6));
    p.drawLine(QPointF(24, 21), QPointF(24, 4));
    p.drawLine(QPointF(12, 6), QPointF(24, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6a, 0x1b, 0x9a));
    p.drawEllipse(QRectF(5, 21, 9, 7));
    p.drawEllipse(QRectF(17, 18, 9, 7));
}

} // namespace

QIcon paneIcon(PaneIcon which)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (which) {
    case PaneIcon::AddRule:
        drawCross(p, true, kBlue);
        break;
    case PaneIcon::RemoveRule:
        drawCross(p, false, kRed);
        break;
    case PaneIcon::ImageTypes:
        drawPicture(p);
        break;
    case PaneIcon::SoundTypes:
        drawNote(p);
        break;
    }
    return QIcon(pixmap);
}

} // namespace quillbay
