#include "ui/dialogs/frmInputBox.h"

#include "ui/common/WindowTexts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillbay {

frmInputBox::frmInputBox(QWidget *parent)
    : QDialog(parent), m_prompt(new QLabel(this)), m_line(new QLineEdit(this)), m_lines(new QPlainTextEdit(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setObjectName(QStringLiteral("frmInputBox"));
    m_prompt->setObjectName(QStringLiteral("lblPrompt"));
    m_prompt->setWordWrap(true);
    m_line->setObjectName(QStringLiteral("txtText"));
    m_lines->setObjectName(QStringLiteral("txtTextMultiLines"));
    // The buttons keep the platform's own captions (Qt translates them), as
    // their tags ask.
    QPushButton *ok = m_buttons->button(QDialogButtonBox::Ok);
    QPushButton *cancel = m_buttons->button(QDialogButtonBox::Cancel);
    ok->setObjectName(QStringLiteral("cmdOk"));
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    setTag(ok, QStringLiteral("c=601*"));
    setTag(cancel, QStringLiteral("c=602*"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_line);
    layout->addWidget(m_lines);
    layout->addWidget(m_buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_lines->setMinimumWidth(m_lines->fontMetrics().averageCharWidth() * 50);
    m_line->setMinimumWidth(m_line->fontMetrics().averageCharWidth() * 50);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &frmInputBox::acceptText);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void frmInputBox::setPrompt(const QString &prompt)
{
    m_prompt->setText(prompt);
    m_line->setAccessibleName(withoutAccessKey(prompt));
    m_lines->setAccessibleName(withoutAccessKey(prompt));
}

void frmInputBox::prepare()
{
    m_cancelled = true;
    m_text.clear();
    ApplyWindowTexts(this);
    m_line->setVisible(!m_multiLine);
    m_lines->setVisible(m_multiLine);
    m_prompt->setBuddy(m_multiLine ? static_cast<QWidget *>(m_lines) : m_line);
    if (m_multiLine) {
        m_lines->setPlainText(m_defaultText);
        m_lines->selectAll();
        m_lines->setFocus();
    } else {
        m_line->setText(m_defaultText);
        // The whole text selected, with the caret at its start.
        m_line->setSelection(m_defaultText.size(), -m_defaultText.size());
        m_line->setFocus();
    }
}

void frmInputBox::showEvent(QShowEvent *event)
{
    prepare();
    QDialog::showEvent(event);
}

void frmInputBox::acceptText()
{
    m_cancelled = false;
    m_text = m_multiLine ? m_lines->toPlainText() : m_line->text();
    accept();
}

std::optional<QString> frmInputBox::ask(QWidget *parent, const QString &title, const QString &prompt,
                                        const QString &defaultText)
{
    frmInputBox box(parent);
    box.setTitle(title);
    box.setPrompt(prompt);
    box.setDefaultText(defaultText);
    box.exec();
    if (box.cancelled())
        return std::nullopt;
    return box.text();
}

} // namespace quillbay
