#include "ui/panes/NumberBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>

namespace quillbay {

NumberBox::NumberBox(QWidget *parent) : DigitLineEdit(parent) {}

NumberBox::~NumberBox()
{
    if (m_watching)
        qApp->removeEventFilter(this);
}

bool NumberBox::focusNextPrevChild(bool next)
{
    if (!passes()) {
        QApplication::beep();
        return true;
    }
    return DigitLineEdit::focusNextPrevChild(next);
}

void NumberBox::focusInEvent(QFocusEvent *event)
{
    DigitLineEdit::focusInEvent(event);
    if (!m_watching) {
        qApp->installEventFilter(this);
        m_watching = true;
    }
}

void NumberBox::focusOutEvent(QFocusEvent *event)
{
    if (m_watching) {
        qApp->removeEventFilter(this);
        m_watching = false;
    }
    DigitLineEdit::focusOutEvent(event);
}

// While the box holds a value that does not pass, a press on another control
// of the same window that would take the focus, or on a button, is refused.
bool NumberBox::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
        return false;
    auto *target = qobject_cast<QWidget *>(watched);
    if (!target || target == this || target->window() != window() || passes() || !isVisible() || !isEnabled())
        return false;
    for (QWidget *w = target; w; w = w->parentWidget()) {
        if (w == this)
            return false;
        const bool takesFocus = (w->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus;
        if (w->isEnabled() && (takesFocus || qobject_cast<QAbstractButton *>(w))) {
            QApplication::beep();
            return true;
        }
        if (w->isWindow())
            break;
    }
    return false;
}

} // namespace quillbay
