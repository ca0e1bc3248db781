#include "ui/panes/PaneWidgets.h"

#include "settings/XmlTools.h"
#include "ui/common/DigitLineEdit.h"
#include "ui/common/WindowTexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace quillbay {

QLabel *makeLabel(const QString &name, const QString &tag, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    setTag(label, tag);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

SideButton::SideButton(const QString &name, QWidget *partner, QWidget *parent) : QToolButton(parent), m_partner(partner)
{
    setObjectName(name);
    setAutoRaise(false);
    setFocusPolicy(Qt::TabFocus);
}

QSize SideButton::sizeHint() const
{
    const int side = m_partner ? m_partner->sizeHint().height() : QToolButton::sizeHint().height();
    return {side, side};
}

// The image grows with the button, which grows with the font.
void SideButton::resizeEvent(QResizeEvent *event)
{
    QToolButton::resizeEvent(event);
    const int side = std::max(8, std::min(width(), height()) - 8);
    setIconSize(QSize(side, side));
}

SideButton *makeArrowButton(const QString &name, Qt::ArrowType arrow, QWidget *partner)
{
    auto *button = new SideButton(name, partner);
    button->setArrowType(arrow);
    return button;
}

SideButton *makeIconButton(const QString &name, const QIcon &icon, const QString &tag, QWidget *partner)
{
    auto *button = new SideButton(name, partner);
    button->setIcon(icon);
    setTag(button, tag);
    return button;
}

DigitLineEdit *addSteppedBox(QHBoxLayout *row, const SteppedBox &spec)
{
    auto *box = new DigitLineEdit;
    box->setObjectName(QString::fromLatin1(spec.box));
    box->setMaxLength(9);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16);
    auto *up = makeArrowButton(QString::fromLatin1(spec.up), Qt::UpArrow, box);
    auto *down = makeArrowButton(QString::fromLatin1(spec.down), Qt::DownArrow, box);
    setTag(up, QStringLiteral("t=31111"));
    setTag(down, QStringLiteral("t=31112"));
    QObject::connect(up, &QToolButton::clicked, box,
                     [box, spec] { stepNumberBox(box, spec.upFallback, 1, spec.upLimit); });
    QObject::connect(down, &QToolButton::clicked, box,
                     [box, spec] { stepNumberBox(box, spec.downFallback, -1, spec.downLimit); });
    row->addWidget(box);
    row->addWidget(up);
    row->addWidget(down);
    return box;
}

bool isNumberText(const QString &text)
{
    return parseNumber(text).has_value();
}

void stepNumberBox(QLineEdit *box, int fallback, int step, int limit)
{
    const std::optional<double> shown = parseNumber(box->text());
    const qint64 value = qint64(shown ? roundHalfEven(*shown) : fallback) + step;
    const qint64 kept = step > 0 ? std::min<qint64>(value, limit) : std::max<qint64>(value, limit);
    box->setText(QString::number(kept));
}

} // namespace quillbay
