#pragma once
// Message boxes whose texts come from the string table. The title is the
// entry the caller names: "Error" (400) for errors, the program title (11)
// otherwise. The buttons are Qt's standard buttons, whose captions Qt's own
// translations give in the interface language.

#include <QMessageBox>
#include <QString>

namespace quillbay {

constexpr int kProgramTitleId = 11;
constexpr int kErrorTitleId = 400;

// Shows a modal message box owned by parent and returns the button chosen.
// The box's object name is "messageBox", so tests can find and answer it.
QMessageBox::StandardButton showMessage(QWidget *parent, const QString &text, int titleId,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        QMessageBox::Icon icon = QMessageBox::NoIcon);

// The same with a title already made.
QMessageBox::StandardButton showMessageWithTitle(QWidget *parent, const QString &text, const QString &title,
                                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                 QMessageBox::Icon icon = QMessageBox::NoIcon);

// Message textId titled "Error", with OK.
void showError(QWidget *parent, int textId);
// A text already made (placeholders filled) titled "Error", with OK.
void showErrorText(QWidget *parent, const QString &text);

} // namespace quillbay
