#pragma once
// A text box for whole numbers that filters typed characters only: a key
// whose character is a digit, or a control character below Tab (Backspace,
// Ctrl+A, Ctrl+C ...), passes; every other typed character is dropped, Ctrl+V
// and Ctrl+X included. Text that arrives without a typed character (Paste in
// the context menu, Shift+Insert, an input method, drag and drop) is taken as
// it is, so a box may still hold other text: its readers fall back to their
// defaults.

#include <QLineEdit>

namespace quillbay {

class DigitLineEdit : public QLineEdit
{
public:
    explicit DigitLineEdit(QWidget *parent = nullptr);

    // The character code that a key press types, as the filter sees it:
    // Ctrl with a letter gives the control code (Ctrl+A = 1 ... Ctrl+Z = 26);
    // 0 when the key types nothing.
    static int typedCode(const QKeyEvent &event);
    static bool passesFilter(int code);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace quillbay
