#pragma once
// Where a window opens and where it was when it closed: "Left" and "Top" in
// twips in the window's object of the options file ("FormMain",
// "FormOptions", "FormSelectSetting"). A value that is missing or not a
// number gives the default (and is created with it). The position is stored
// only when the window is in its normal state: a maximised or minimised
// window leaves the last normal position in place.

#include <QString>

class QWidget;

namespace quillbay {

class Options;

void restoreWindowPosition(QWidget *window, Options &options, const QString &objectName, int defaultTwips);
void storeWindowPosition(const QWidget *window, Options &options, const QString &objectName);

} // namespace quillbay
