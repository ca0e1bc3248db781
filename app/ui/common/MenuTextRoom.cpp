#include "ui/common/MenuTextRoom.h"

#include <QApplication>
#include <QStyleOptionMenuItem>

namespace quillbay {

QSize MenuTextRoomStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                                          const QWidget *widget) const
{
    QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (type != CT_MenuItem)
        return result;
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (item && item->text.contains(u'&'))
        result.rwidth() += QFontMetrics(item->font).horizontalAdvance(u'&');
    return result;
}

void giveMenuTextsRoom()
{
    if (!dynamic_cast<MenuTextRoomStyle *>(QApplication::style()))
        QApplication::setStyle(new MenuTextRoomStyle(QApplication::style()->name()));
}

} // namespace quillbay
