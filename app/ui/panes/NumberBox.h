#pragma once
// A digit-only box of an option pane that the focus cannot leave while its
// content fails its check ("Number of digits" needs a number of at least 1,
// for instance): Tab and Shift+Tab stay in it, and a click on another control
// of the window is refused, until the content passes.

#include "ui/common/DigitLineEdit.h"

#include <functional>

namespace quillbay {

class NumberBox : public DigitLineEdit
{
public:
    using Check = std::function<bool(const QString &)>;

    explicit NumberBox(QWidget *parent = nullptr);
    ~NumberBox() override;

    // No check: the focus leaves freely.
    void setCheck(Check check) { m_check = std::move(check); }
    bool passes() const { return !m_check || m_check(text()); }

protected:
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Check m_check;
    bool m_watching = false;
};

} // namespace quillbay
