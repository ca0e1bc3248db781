#include "ui/common/MessageBoxes.h"

#include "text/UiText.h"

namespace quillbay {

QMessageBox::StandardButton showMessage(QWidget *parent, const QString &text, int titleId,
                                        QMessageBox::StandardButtons buttons, QMessageBox::Icon icon)
{
    return showMessageWithTitle(parent, text, UiText::LoadText(titleId), buttons, icon);
}

QMessageBox::StandardButton showMessageWithTitle(QWidget *parent, const QString &text, const QString &title,
                                                 QMessageBox::StandardButtons buttons, QMessageBox::Icon icon)
{
    // Table texts break lines as "\r\n"; a label wants "\n".
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon, title, shown, buttons, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setTextFormat(Qt::PlainText);
    return QMessageBox::StandardButton(box.exec());
}

void showError(QWidget *parent, int textId)
{
    showErrorText(parent, UiText::LoadText(textId));
}

void showErrorText(QWidget *parent, const QString &text)
{
    showMessage(parent, text, kErrorTitleId, QMessageBox::Ok, QMessageBox::Warning);
}

} // namespace quillbay
