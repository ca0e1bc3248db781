#include "ui/common/MessageBoxes.h"

#include "ui/text/UiText.h"

namespace quillbay {

QMessageBox::StandardButton ShowMessage(QWidget *parent, const QString &text, int titleId,
                                        QMessageBox::StandardButtons buttons, QMessageBox::Icon icon)
{
    // Table texts break lines as "\r\n"; a label wants "\n".
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon, UiText::LoadText(titleId), shown, buttons, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setTextFormat(Qt::PlainText);
    return QMessageBox::StandardButton(box.exec());
}

void ShowError(QWidget *parent, int textId)
{
    ShowErrorText(parent, UiText::LoadText(textId));
}

void ShowErrorText(QWidget *parent, const QString &text)
{
    ShowMessage(parent, text, kErrorTitleId, QMessageBox::Ok, QMessageBox::Warning);
}

} // namespace quillbay
