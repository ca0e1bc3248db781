#pragma once
// Controls bound to options: a control whose tag holds "o=<key>" shows the
// option of that key when a dialog opens and hands its value back when the
// dialog applies. By kind of control:
//
//   check box       state as a number: 0 unchecked, 1 checked, 2 partly checked
//   option button   its index in its group (property "optionIndex"), as text,
//                   stored only by the button that is on
//   text box, label its text
//   drop-down list  its selected position (0-based, -1 for none), as text;
//                   when loading, a number within the list selects that
//                   position and any other value the entry of that text (a
//                   list that allows typing shows the value as its text)
//   spin box/slider its value, as whole-number text

class QWidget;

namespace quillbay {

class OptionsTable;

void ControlsToOptions(QWidget *window, OptionsTable &options);
// A check box whose option is not a number is cleared, and "0" replaces the
// value in the table.
void OptionsToControls(QWidget *window, OptionsTable &options);

// The option button's index within its group.
void setOptionIndex(QWidget *optionButton, int index);

} // namespace quillbay
