#pragma once
// Menus size an item by its text without the "&" of its access key, and some
// styles then draw the text shortened whenever it measures wider with it: the
// longest item of a menu lost its middle at large fonts ("ファイルとフォルダの名…").
// This style gives each item with an access key the room of that "&" too.

#include <QProxyStyle>

namespace quillbay {

class MenuTextRoomStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override;
};

// Wraps the application's style in MenuTextRoomStyle (once).
void giveMenuTextsRoom();

} // namespace quillbay
