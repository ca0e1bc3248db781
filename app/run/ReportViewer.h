#pragma once
// Showing a report: browsers no longer apply a style sheet to a local file
// from a parent folder, so the report is rendered here, with the style sheet
// its prologue names, into an HTML page in the cache folder, and that page is
// opened with the user's default browser. Where no browser can be started, the
// user is told (message 431) and the file manager shows the report instead.

#include "base/Result.h"
#include "run/ReportFolders.h"

#include <QString>
#include <QStringList>

namespace quillbay {

// Starts other programs; tests put a recorder in its place.
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;
    // Starts the program and does not wait; false when it could not be started.
    virtual bool startDetached(const QString &program, const QStringList &arguments) = 0;
    // Runs the program to its end; its exit code, or -1 when it could not be
    // started or did not end within timeoutMs.
    virtual int run(const QString &program, const QStringList &arguments, int timeoutMs) = 0;
};

class SystemLauncher : public ProcessLauncher
{
public:
    bool startDetached(const QString &program, const QStringList &arguments) override;
    int run(const QString &program, const QStringList &arguments, int timeoutMs) override;
};

class ReportViewer
{
public:
    ReportViewer(ProcessLauncher &launcher, QString cacheFolder, MessageSink messages = {});

    // $XDG_CACHE_HOME (or ~/.cache) + "/Tolvane/Quillbay".
    static QString defaultCacheFolder();

    struct Shown {
        bool inBrowser = false;
        bool inFileManager = false;
        QString page; // the rendered HTML page, or the report itself when rendering failed
    };
    // Shows the report at reportPath (the last report of a run).
    Shown OpenLastReport(const QString &reportPath);

    // Renders the report through the style sheet named in its prologue (in the
    // folder above the report's folder, else the program's own copy) into an
    // HTML file. The transformation may not read or write anything else, nor
    // reach the network.
    static Result<void> renderHtml(const QString &reportPath, const QString &htmlPath);

    // Shows the file selected in the file manager, or its folder.
    bool showInFileManager(const QString &path);

private:
    ProcessLauncher &m_launcher;
    QString m_cacheFolder;
    MessageSink m_messages;
};

} // namespace quillbay
