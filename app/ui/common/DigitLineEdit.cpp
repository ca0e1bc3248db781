#include "ui/common/DigitLineEdit.h"

#include <QKeyEvent>

namespace quillbay {

DigitLineEdit::DigitLineEdit(QWidget *parent) : QLineEdit(parent) {}

int DigitLineEdit::typedCode(const QKeyEvent &event)
{
    const bool control = event.modifiers().testFlag(Qt::ControlModifier);
    if (control && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
        return event.key() - Qt::Key_A + 1;
    const QString text = event.text();
    return text.isEmpty() ? 0 : text.at(0).unicode();
}

bool DigitLineEdit::passesFilter(int code)
{
    return code < 9 || (code >= '0' && code <= '9');
}

void DigitLineEdit::keyPressEvent(QKeyEvent *event)
{
    const int code = typedCode(*event);
    // Enter types nothing into a one-line box; it goes on to the dialog's
    // default button.
    if (code == 0 || code == '\r' || code == '\n' || passesFilter(code)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace quillbay
