#pragma once
// What each option pane holds: its controls in order, the rule attribute each
// one edits, the value shown when the attribute is missing, and for lists and
// option buttons the entry that a stored value matching none of them selects.

#include "settings/SettingsDocument.h"
#include "ui/panes/OptionLists.h"

#include <QList>

namespace quillbay {

// What a number box needs before the focus may leave it.
enum class NumberCheck { None, IsNumber, AtLeastOne };

struct ChoiceSpec {
    int captionId;
    const char *value;
    int tooltipId = 0;
};

struct ControlSpec {
    enum Kind { Heading, Text, Number, Choice, List, Flag };
    Kind kind = Heading;
    const char *name = ""; // the control's name; option buttons add "_N"
    int captionId = 0;     // Heading: its text; Text, Number, List: the label before; Flag: its caption
    int tooltipId = 0;
    const char *attribute = "";
    const char *defaultValue = ""; // shown when the attribute is missing
    int minimum = 0;               // Number: smaller values are raised to it (and written back)
    NumberCheck check = NumberCheck::None;
    int suffixId = 0;     // Number: a label after the box
    bool sameRow = false; // placed after the previous control, on its row
    OptionList list = OptionList::SetOrAdd;
    int fallbackIndex = 0; // List, Choice: what a value that matches no entry selects
    QList<ChoiceSpec> choices;
    // Shown default that differs from the one the rule is applied with: stored
    // whenever the attribute is missing, so that what the pane shows is what
    // the rename does.
    bool storeWhenMissing = false;
};

struct PaneSpec {
    int number;
    QList<ControlSpec> controls;
};

// The option panes of a rule list, indexed by the rule type's number.
const QList<PaneSpec> &rulePaneSpecs(RuleKind kind);

} // namespace quillbay
