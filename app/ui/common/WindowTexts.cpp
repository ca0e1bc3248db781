#include "ui/common/WindowTexts.h"

#include "text/ControlTag.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextEdit>
#include <QVariant>
#include <QWidget>

namespace quillbay {

namespace {

const char *const kTagProperty = "tag";
const char *const kTabTagProperty = "tabTag";

void applyTooltip(QWidget *widget, const ControlTag &tag)
{
    widget->setToolTip(tag.tooltip(widget->toolTip()));
}

void applyToAction(QAction *action)
{
    const ControlTag tag = ControlTag::parse(tagOf(action));
    action->setText(tag.caption(action->text()));
    action->setToolTip(tag.tooltip(action->toolTip()));
}

void applyToTabs(QTabWidget *tabs)
{
    for (int i = 0; i < tabs->count(); ++i) {
        const ControlTag tag = ControlTag::parse(tabs->widget(i)->property(kTabTagProperty).toString());
        tabs->setTabText(i, tag.caption(tabs->tabText(i)));
        tabs->setTabToolTip(i, tag.tooltip(tabs->tabToolTip(i)));
    }
}

void applyToWidget(QWidget *widget)
{
    const ControlTag tag = ControlTag::parse(tagOf(widget));
    if (widget->isWindow())
        widget->setWindowTitle(tag.caption(widget->windowTitle()));
    if (auto *menu = qobject_cast<QMenu *>(widget)) {
        menu->setTitle(tag.caption(menu->title()));
    } else if (auto *label = qobject_cast<QLabel *>(widget)) {
        label->setText(tag.caption(label->text()));
        applyTooltip(label, tag);
    } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        button->setText(tag.caption(button->text()));
        applyTooltip(button, tag);
        if (button->text().isEmpty() && !button->toolTip().isEmpty())
            button->setAccessibleName(button->toolTip());
    } else if (auto *group = qobject_cast<QGroupBox *>(widget)) {
        group->setTitle(tag.caption(group->title()));
        applyTooltip(group, tag);
    } else if (qobject_cast<QLineEdit *>(widget) || qobject_cast<QPlainTextEdit *>(widget)
               || qobject_cast<QTextEdit *>(widget) || qobject_cast<QComboBox *>(widget)
               || qobject_cast<QAbstractItemView *>(widget)) {
        applyTooltip(widget, tag);
    } else if (tag.contains(QStringLiteral("t"))) {
        applyTooltip(widget, tag);
    }
    if (auto *tabs = qobject_cast<QTabWidget *>(widget))
        applyToTabs(tabs);
}

} // namespace

void setTag(QObject *object, const QString &tag)
{
    object->setProperty(kTagProperty, tag);
}

QString tagOf(const QObject *object)
{
    return object->property(kTagProperty).toString();
}

void setTabTag(QWidget *page, const QString &tag)
{
    page->setProperty(kTabTagProperty, tag);
}

void ApplyWindowTexts(QWidget *window)
{
    // Actions first: toolbar buttons take their tooltips from their actions.
    for (QAction *action : window->findChildren<QAction *>()) {
        // A menu's own action carries the menu's title, which applyToWidget sets.
        if (!action->menu())
            applyToAction(action);
    }
    applyToWidget(window);
    for (QWidget *widget : window->findChildren<QWidget *>())
        applyToWidget(widget);
}

} // namespace quillbay
