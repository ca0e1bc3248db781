#pragma once
// Where reports live: the data folder (which holds the report style sheets),
// the report folder inside it, and the upkeep of that folder: creating it,
// placing the style sheets, taking in reports of an earlier layout, and
// deleting reports past their holding time.

#include <QDateTime>
#include <QString>
#include <functional>

namespace quillbay {

// Shows a message to the user: text and title, both already localized.
using MessageSink = std::function<void(const QString &text, const QString &title)>;

struct ReportFolders {
    QString dataFolder;       // holds ReportEn.xsl and ReportJa.xsl
    QString reportFolder;     // dataFolder + "/Report" unless chosen otherwise
    QString styleSheetSource; // folder (or resource folder) the program's style sheets come from

    // $XDG_DATA_HOME (or ~/.local/share) + "/Tolvane/Quillbay".
    static QString defaultDataFolder();
    // The program's style sheets, built into it.
    static QString builtInStyleSheets();
    // The folders under a data folder: reports in "<data>/Report".
    static ReportFolders underDataFolder(const QString &dataFolder);
    // Reports in a folder of the user's choice; the style sheets go beside it,
    // where the reports' "../Report??.xsl" reference finds them.
    static ReportFolders forReportFolder(const QString &reportFolder);
};

class ReportFolderKeeper
{
public:
    explicit ReportFolderKeeper(ReportFolders folders, MessageSink messages = {});

    const ReportFolders &folders() const { return m_folders; }

    // Creates the report folder (message 460 when it cannot), refreshes the
    // style sheets in the data folder, and moves the files of a nested "Report"
    // folder up. Moving never replaces a report: a name that is taken gets a
    // free variant (" (2)", " (3)" ...). Always true, as the caller goes on
    // either way; whether the folder exists afterwards tells the rest.
    bool PrepareReportFolder();

    // Deletes the files of the report folder whose modification date lies more
    // than the holding days (the option's text) calendar days before now. A text
    // that is no number deletes nothing; the number is rounded half to even and
    // a negative one counts as 0. Journals of runs are never deleted here. Every
    // error is skipped. Returns the number of files deleted.
    int DeleteOldReports(const QString &holdingDaysText, const QDateTime &now = QDateTime::currentDateTime());

private:
    void copyStyleSheet(const QString &fileName);
    void moveNestedReportsUp();

    ReportFolders m_folders;
    MessageSink m_messages;
};

} // namespace quillbay
