#include "ErrorNotice.h"

#include <QDBusMessage>
#include <QVariantMap>
#include <cstdio>

namespace quillbay {

void showErrorNotice(const QDBusConnection &connection, const QString &description)
{
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    notify.setArguments({QStringLiteral("QuillbayOpener"), 0u, QStringLiteral("dialog-error"), description, QString(),
                         QStringList(), QVariantMap(), -1});
    constexpr int kNoticeMilliseconds = 5000;
    if (connection.isConnected()
        && connection.call(notify, QDBus::Block, kNoticeMilliseconds).type() == QDBusMessage::ReplyMessage)
        return;
    std::fprintf(stderr, "QuillbayOpener: %s\n", description.toLocal8Bit().constData());
}

} // namespace quillbay
