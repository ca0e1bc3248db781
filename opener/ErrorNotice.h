#pragma once
// Tells the user about an error without a window of the opener's own: a
// desktop notification, or standard error where no notification service
// answers.

#include <QDBusConnection>
#include <QString>

namespace quillbay {

void showErrorNotice(const QDBusConnection &connection, const QString &description);

} // namespace quillbay
