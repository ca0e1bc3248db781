#pragma once
// Services that stand in on the private test bus for programs the code under
// test calls: a FolderOpen that fails, and the desktop's notification service.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QStringList>

// Answers every FolderOpen with an error, and remembers the paths.
class FailingFolderService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "Quillbay.Application")

public:
    static QString errorMessage() { return QStringLiteral("The folder cannot be taken now."); }
    // Serves "/Quillbay/Application" under the name "Quillbay.Application" on the session bus.
    bool serve();
    void withdraw();

    QStringList paths;

public slots:
    void FolderOpen(const QString &sFolderPath, int iMode, const QDBusMessage &message);
};

// Remembers the summary of every notification it is asked to show.
class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    bool serve();
    void withdraw();

    QStringList summaries;
    QStringList icons;

public slots:
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int expireTimeout);
};
