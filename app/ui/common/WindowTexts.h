#pragma once
// Captions and tooltips from the string table. Every window, control, menu,
// action and tab page may carry a tag ("c=1207;t=1213"; see ControlTag):
// "c" names the entry of its caption, "t" that of its tooltip. Windows set
// their tags while they build themselves and then call ApplyWindowTexts once,
// so that every text the user reads comes from the table in the interface
// language. An entry that is missing, or an identifier that is not a whole
// number, leaves the text the code gave the control.

#include "text/CaptionText.h" // withoutAccessKey, which the windows use with their texts

#include <QString>

class QObject;
class QWidget;

namespace quillbay {

// The tag of a control, kept in its dynamic property "tag".
void setTag(QObject *object, const QString &tag);
QString tagOf(const QObject *object);

// The caption tag of a tab: kept on the tab's page widget ("tabTag"), since
// the tabs of a tab widget are not objects of their own.
void setTabTag(QWidget *page, const QString &tag);

// Applies the tags of the window and of everything inside it: the window's
// "c" becomes its title; actions and menus take "c" as text and "t" as
// tooltip; tab widgets take their pages' tab tags; labels, buttons and group
// boxes take "c" and "t"; text boxes, lists and views take "t". Buttons that
// show only an icon get their tooltip as their accessible name.
void ApplyWindowTexts(QWidget *window);

} // namespace quillbay
