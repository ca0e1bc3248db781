#include "ui/panes/RuleOptionPane.h"

#include "settings/XmlTools.h"
#include "ui/common/WindowTexts.h"
#include "ui/panes/NumberBox.h"
#include "ui/panes/PaneWidgets.h"
#include "ui/panes/SettingWriter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace quillbay {

namespace {

QString tagFor(int captionId, int tooltipId)
{
    QStringList parts;
    if (captionId)
        parts << QStringLiteral("c=%1").arg(captionId);
    if (tooltipId)
        parts << QStringLiteral("t=%1").arg(tooltipId);
    return parts.join(u';');
}

NumberBox::Check checkOf(NumberCheck check)
{
    switch (check) {
    case NumberCheck::IsNumber:
        return [](const QString &text) { return isNumberText(text); };
    case NumberCheck::AtLeastOne:
        return [](const QString &text) {
            const std::optional<double> value = parseNumber(text);
            return value && roundHalfEven(*value) >= 1;
        };
    case NumberCheck::None:
        break;
    }
    return {};
}

int indexOfValue(const QStringList &values, const QString &value, int fallback)
{
    const qsizetype index = values.indexOf(value);
    return index >= 0 ? int(index) : fallback;
}

} // namespace

RuleOptionPane::RuleOptionPane(const PaneSpec &spec, RuleKind kind, SettingWriter &writer, QWidget *parent)
    : QWidget(parent), m_kind(kind), m_writer(writer)
{
    const QString kindName = kind == RuleKind::File ? QStringLiteral("File") : QStringLiteral("Folder");
    setObjectName(QStringLiteral("picPaneNamingRule%1_%2").arg(kindName).arg(spec.number));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    int row = 0;
    QLabel *heading = nullptr;
    for (const ControlSpec &control : spec.controls) {
        m_controls.append(build(control));
        place(m_controls.last(), grid, row);
        // A box without a caption of its own is named by the pane's heading.
        if (control.kind == ControlSpec::Heading)
            heading = static_cast<QLabel *>(m_controls.last().control);
        else if (heading && !heading->buddy() && control.captionId == 0 && control.kind == ControlSpec::Text)
            heading->setBuddy(m_controls.last().control);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row + 1, 1);
}

RuleOptionPane::Bound RuleOptionPane::build(const ControlSpec &spec)
{
    Bound bound;
    bound.spec = &spec;
    const QString name = QString::fromLatin1(spec.name);
    switch (spec.kind) {
    case ControlSpec::Heading: {
        auto *label = makeLabel(QStringLiteral("lblHeading%1").arg(spec.captionId), tagFor(spec.captionId, 0));
        label->setWordWrap(true);
        bound.control = label;
        break;
    }
    case ControlSpec::Text: {
        auto *box = new QLineEdit;
        connect(box, &QLineEdit::textChanged, this, [this, &spec](const QString &text) { write(spec, text); });
        bound.control = box;
        break;
    }
    case ControlSpec::Number: {
        auto *box = new NumberBox;
        box->setCheck(checkOf(spec.check));
        box->setMaxLength(9);
        box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16);
        connect(box, &QLineEdit::textChanged, this, [this, &spec](const QString &text) { write(spec, text); });
        bound.control = box;
        break;
    }
    case ControlSpec::Choice: {
        auto *buttons = new QWidget;
        auto *column = new QVBoxLayout(buttons);
        column->setContentsMargins(0, 0, 0, 0);
        bound.group = new QButtonGroup(this);
        for (int i = 0; i < spec.choices.size(); ++i) {
            auto *button = new QRadioButton;
            button->setObjectName(QStringLiteral("%1_%2").arg(name).arg(i));
            setTag(button, tagFor(spec.choices[i].captionId, spec.choices[i].tooltipId));
            const QString value = QString::fromLatin1(spec.choices[i].value);
            connect(button, &QRadioButton::toggled, this, [this, &spec, value](bool on) {
                if (on)
                    write(spec, value);
            });
            bound.group->addButton(button, i);
            column->addWidget(button);
        }
        bound.control = buttons;
        break;
    }
    case ControlSpec::List: {
        auto *box = new QComboBox;
        bound.entries = optionListEntries(spec.list);
        for (const OptionListEntry &entry : bound.entries)
            box->addItem(entry.text, entry.value);
        connect(box, &QComboBox::currentIndexChanged, this, [this, &spec, box](int index) {
            if (index >= 0)
                write(spec, box->itemData(index).toString());
        });
        bound.control = box;
        break;
    }
    case ControlSpec::Flag: {
        auto *box = new QCheckBox;
        setTag(box, tagFor(spec.captionId, spec.tooltipId));
        connect(box, &QCheckBox::toggled, this,
                [this, &spec](bool on) { write(spec, on ? QStringLiteral("True") : QStringLiteral("False")); });
        bound.control = box;
        break;
    }
    }
    if (spec.kind != ControlSpec::Heading && spec.kind != ControlSpec::Choice)
        bound.control->setObjectName(name);
    if (spec.tooltipId && spec.kind != ControlSpec::Flag)
        setTag(bound.control, tagFor(0, spec.tooltipId));
    return bound;
}

// Rows of a grid: a caption in the first column and its control in the
// second, or a control across the whole row; a control marked sameRow joins
// the row before it.
void RuleOptionPane::place(const Bound &bound, QGridLayout *grid, int &row)
{
    const ControlSpec &spec = *bound.spec;
    const bool stretches = spec.kind == ControlSpec::Text || spec.kind == ControlSpec::Heading;
    QHBoxLayout *line = nullptr;
    if (spec.sameRow && grid->itemAtPosition(row, 0)) {
        line = qobject_cast<QHBoxLayout *>(grid->itemAtPosition(row, 0)->layout());
        if (line)
            delete line->takeAt(line->count() - 1); // the stretch after the previous control
    }
    if (!line) {
        ++row;
        line = new QHBoxLayout;
        const bool captioned = spec.captionId && spec.kind != ControlSpec::Heading && spec.kind != ControlSpec::Flag;
        if (captioned) {
            const QString labelName = QStringLiteral("lbl") + QString::fromLatin1(spec.name).mid(3);
            grid->addWidget(makeLabel(labelName, tagFor(spec.captionId, spec.tooltipId), bound.control), row, 0);
            grid->addLayout(line, row, 1);
        } else {
            grid->addLayout(line, row, 0, 1, 2);
        }
    }
    line->addWidget(bound.control, stretches ? 1 : 0);
    if (spec.suffixId)
        line->addWidget(
            makeLabel(QStringLiteral("lbl") + QString::fromLatin1(spec.name).mid(3) + QStringLiteral("Suffix"),
                      tagFor(spec.suffixId, 0), bound.control));
    if (!stretches)
        line->addStretch(1);
}

void RuleOptionPane::write(const ControlSpec &spec, const QString &value)
{
    m_writer.setRuleAttribute(m_kind, m_ruleId, spec.attribute, value);
}

void RuleOptionPane::load(pugi::xml_node rule, const QString &ruleId)
{
    m_ruleId = ruleId;
    for (const Bound &bound : m_controls)
        loadControl(bound, rule);
}

void RuleOptionPane::loadControl(const Bound &bound, pugi::xml_node rule)
{
    const ControlSpec &spec = *bound.spec;
    const pugi::xml_attribute stored = rule.attribute(spec.attribute);
    const QString value = stored ? toQString(stored) : QString::fromLatin1(spec.defaultValue);
    switch (spec.kind) {
    case ControlSpec::Heading:
        break;
    case ControlSpec::Text:
        static_cast<QLineEdit *>(bound.control)->setText(value);
        break;
    case ControlSpec::Number:
        // The corrected value (the default for a missing or wrong one, the
        // smallest for one below it) is written back into the rule.
        XmlTools::ReadIntAttribute(rule, spec.attribute, QByteArray(spec.defaultValue).toInt(), spec.minimum);
        static_cast<QLineEdit *>(bound.control)->setText(toQString(rule.attribute(spec.attribute)));
        break;
    case ControlSpec::Choice: {
        QStringList values;
        for (const ChoiceSpec &choice : spec.choices)
            values << QString::fromLatin1(choice.value);
        bound.group->button(indexOfValue(values, value, spec.fallbackIndex))->setChecked(true);
        break;
    }
    case ControlSpec::List: {
        QStringList values;
        for (const OptionListEntry &entry : bound.entries)
            values << entry.value;
        static_cast<QComboBox *>(bound.control)->setCurrentIndex(indexOfValue(values, value, spec.fallbackIndex));
        break;
    }
    case ControlSpec::Flag:
        static_cast<QCheckBox *>(bound.control)
            ->setChecked(parseFlag(value).value_or(QByteArray(spec.defaultValue) == "True"));
        break;
    }
    if (!stored && spec.storeWhenMissing && !rule.attribute(spec.attribute))
        write(spec, value);
}

} // namespace quillbay
