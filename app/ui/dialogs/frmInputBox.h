#pragma once
// Asks the user for one text: a title, a prompt, a box (one line, or several
// lines when the caller asks for it) and OK / Cancel. Closing the window by
// any other means counts as Cancel.

#include <QDialog>
#include <optional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace quillbay {

class frmInputBox : public QDialog
{
    Q_OBJECT

public:
    explicit frmInputBox(QWidget *parent = nullptr);

    void setTitle(const QString &title) { setWindowTitle(title); }
    void setPrompt(const QString &prompt);
    void setDefaultText(const QString &text) { m_defaultText = text; }
    void setMultiLine(bool multiLine) { m_multiLine = multiLine; }

    // After the dialog closed: whether it was cancelled, and the text.
    bool cancelled() const { return m_cancelled; }
    QString text() const { return m_text; }

    // One question: title, prompt and default text; the answer, or no value
    // when the user cancelled.
    static std::optional<QString> ask(QWidget *parent, const QString &title, const QString &prompt,
                                      const QString &defaultText = QString());

protected:
    // Each showing starts as cancelled, with the default text selected.
    void showEvent(QShowEvent *event) override;

private:
    void prepare();
    void acceptText();

    QLabel *m_prompt;
    QLineEdit *m_line;
    QPlainTextEdit *m_lines;
    QDialogButtonBox *m_buttons;
    QString m_defaultText;
    bool m_multiLine = false;
    bool m_cancelled = true;
    QString m_text;
};

} // namespace quillbay
