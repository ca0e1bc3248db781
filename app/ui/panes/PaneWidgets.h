#pragma once
// Small pieces the tab pages are built from: tagged labels, the small buttons
// that stand beside a box and keep its height at every font, and the step of
// the up/down buttons of a number box.

#include <QString>
#include <QToolButton>

class QHBoxLayout;
class QIcon;
class QLabel;
class QLineEdit;

namespace quillbay {

class DigitLineEdit;

// A label with its caption tag, the buddy it names for screen readers and
// access keys.
QLabel *makeLabel(const QString &name, const QString &tag, QWidget *buddy = nullptr, QWidget *parent = nullptr);

// A square button as tall as the box beside it (ArrangeControls' rule for the
// up/down and add buttons), with an arrow or an icon.
class SideButton : public QToolButton
{
public:
    SideButton(const QString &name, QWidget *partner, QWidget *parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *m_partner;
};

SideButton *makeArrowButton(const QString &name, Qt::ArrowType arrow, QWidget *partner);
SideButton *makeIconButton(const QString &name, const QIcon &icon, const QString &tag, QWidget *partner);

// An up or down button of a number box: reads the box as a number (fallback
// when it is not one), adds step, keeps the result within limit on the side
// it moves to (at most limit going up, at least limit going down), and
// writes it as the box's new text, which the box stores like any change.
void stepNumberBox(QLineEdit *box, int fallback, int step, int limit);

// A digit-only box followed by its up and down buttons, added to row. Each
// button reads a box that holds no number as its fallback.
struct SteppedBox {
    const char *box;
    const char *up;
    const char *down;
    int upFallback;
    int upLimit; // at most
    int downFallback;
    int downLimit; // at least
};
DigitLineEdit *addSteppedBox(QHBoxLayout *row, const SteppedBox &spec);

// The text of a number attribute as a box shows it: its own text when it is
// a number, else none.
bool isNumberText(const QString &text);

} // namespace quillbay
