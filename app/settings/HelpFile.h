#pragma once
// The help: HTML pages beside the program, shown in the user's browser.
// "Quillbay" + language suffix + ".html" ("QuillbayEn.html", "QuillbayJa.html")
// in the program's folder, or "Quillbay.html" when the page of the interface
// language is missing.

#include <QString>
#include <QStringList>
#include <functional>

namespace quillbay {

class HelpFile
{
public:
    // Starts a program with arguments without waiting for it; true when it started.
    using Launcher = std::function<bool(const QString &program, const QStringList &arguments)>;

    explicit HelpFile(const QString &programFolder, Launcher launcher = {});

    QString helpFilePath() const;

    // Opens the help page with xdg-open. Context 0 opens the page itself;
    // another context opens the anchor "context-<number>" of the page.
    // True when the opener could be started; what the browser does then is
    // not followed.
    bool showHelp(int context) const;

    static bool launchDetached(const QString &program, const QStringList &arguments);

private:
    QString m_programFolder;
    Launcher m_launcher;
};

} // namespace quillbay
