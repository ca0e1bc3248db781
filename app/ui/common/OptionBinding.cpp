#include "ui/common/OptionBinding.h"

#include "settings/OptionsTable.h"
#include "text/ControlTag.h"
#include "ui/common/WindowTexts.h"

#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVariant>

namespace quillbay {

namespace {

const char *const kOptionIndex = "optionIndex";

QString optionKeyOf(const QWidget *widget)
{
    return ControlTag::parse(tagOf(widget)).optionKey();
}

int checkStateNumber(Qt::CheckState state)
{
    switch (state) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    }
    return 0;
}

Qt::CheckState checkStateOf(double number)
{
    if (number == 1)
        return Qt::Checked;
    if (number == 2)
        return Qt::PartiallyChecked;
    return Qt::Unchecked;
}

void storeControl(QWidget *widget, const QString &key, OptionsTable &options)
{
    if (auto *check = qobject_cast<QCheckBox *>(widget)) {
        options.set(key, StoredValue::ofWhole(checkStateNumber(check->checkState())));
    } else if (auto *option = qobject_cast<QRadioButton *>(widget)) {
        if (option->isChecked())
            options.set(key, StoredValue::ofText(QString::number(option->property(kOptionIndex).toInt())));
    } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        options.set(key, StoredValue::ofText(edit->text()));
    } else if (auto *label = qobject_cast<QLabel *>(widget)) {
        options.set(key, StoredValue::ofText(label->text()));
    } else if (auto *list = qobject_cast<QComboBox *>(widget)) {
        options.set(key, StoredValue::ofText(QString::number(list->currentIndex())));
    } else if (auto *spin = qobject_cast<QSpinBox *>(widget)) {
        options.set(key, StoredValue::ofText(QString::number(spin->value())));
    } else if (auto *slider = qobject_cast<QAbstractSlider *>(widget)) {
        options.set(key, StoredValue::ofText(QString::number(slider->value())));
    }
}

void loadList(QComboBox *list, const StoredValue &value)
{
    if (list->isEditable()) {
        list->setEditText(value.toText());
        return;
    }
    const std::optional<double> number = value.number();
    if (number && *number >= 0 && *number < list->count() && *number == double(qint64(*number))) {
        list->setCurrentIndex(int(*number));
        return;
    }
    const int found = list->findText(value.toText());
    if (found >= 0)
        list->setCurrentIndex(found);
}

void loadControl(QWidget *widget, const QString &key, OptionsTable &options)
{
    const StoredValue value = options.get(key).value_or(StoredValue::ofText(QString()));
    if (auto *check = qobject_cast<QCheckBox *>(widget)) {
        const std::optional<double> number = value.number();
        if (!number)
            options.set(key, StoredValue::ofText(QStringLiteral("0")));
        check->setCheckState(checkStateOf(number.value_or(0)));
    } else if (auto *option = qobject_cast<QRadioButton *>(widget)) {
        const std::optional<double> number = value.number();
        if (number && *number == option->property(kOptionIndex).toInt())
            option->setChecked(true);
    } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        edit->setText(value.toText());
    } else if (auto *label = qobject_cast<QLabel *>(widget)) {
        label->setText(value.toText());
    } else if (auto *list = qobject_cast<QComboBox *>(widget)) {
        loadList(list, value);
    } else if (auto *spin = qobject_cast<QSpinBox *>(widget)) {
        spin->setValue(int(value.number().value_or(spin->value())));
    } else if (auto *slider = qobject_cast<QAbstractSlider *>(widget)) {
        slider->setValue(int(value.number().value_or(slider->value())));
    }
}

} // namespace

void ControlsToOptions(QWidget *window, OptionsTable &options)
{
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        const QString key = optionKeyOf(widget);
        if (!key.isEmpty())
            storeControl(widget, key, options);
    }
}

void OptionsToControls(QWidget *window, OptionsTable &options)
{
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        const QString key = optionKeyOf(widget);
        if (!key.isEmpty())
            loadControl(widget, key, options);
    }
}

void setOptionIndex(QWidget *optionButton, int index)
{
    optionButton->setProperty(kOptionIndex, index);
}

} // namespace quillbay
