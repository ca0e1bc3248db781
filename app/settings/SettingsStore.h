#pragma once
// Keeps the settings document on disk: where the user's files live, reading
// the settings file at start-up (upgrading a file of the older format, or
// falling back to the default document), and writing the options file and
// the settings file together.
//
// Nothing the user had is lost: every file is written through a temporary
// file that is renamed over the old one, and a settings file that could not
// be used is copied to "Setting_Unusable<N>.xml" before the first save
// replaces it.

#include "services/DataFolders.h"
#include "settings/XmlTools.h"

#include <QString>
#include <functional>

namespace quillbay {

class Options;
class Registry;
class SettingsDocument;

// Shows a message to the user: text and title, both already localized.
using UserMessage = std::function<void(const QString &text, const QString &title)>;
// Asks whether to try again after a failure; reason is the system's description.
using RetryQuestion = std::function<bool(const QString &text, const QString &title, const QString &reason)>;

struct SettingsLoadOutcome {
    enum class Source { File, UpgradedFile, DefaultDocument };
    Source source = Source::DefaultDocument;
    bool fileExisted = false;
    QString problem;     // why an existing file was not used
    QString backupError; // why the backup of an upgraded file could not be made
};

class SettingsStore
{
public:
    SettingsStore(SettingsDocument &settings, Options &options);

    // Sets the folder paths (the user's data home, or the program's folder)
    // and tells the options where their file is.
    void ResolveDataFolders(const QString &programFolder);
    void setFolders(const DataFolders &folders, const QString &programFolder);
    const DataFolders &folders() const { return m_folders; }

    // Called by CreateDataFolders to prepare the report folder.
    void setReportFolderPreparer(std::function<void()> prepare) { m_prepareReports = std::move(prepare); }
    // Shows the upgrade notice; without one the notice is not shown.
    void setMessageSink(UserMessage sink) { m_message = std::move(sink); }

    // Creates the maker and data folders when missing (errors show at the
    // first save), then prepares the report folder. Always true.
    bool CreateDataFolders();

    // Reads the settings file; never fails, the default document being the
    // fallback. Ends with the declaration ensured, a setting selected and
    // fresh identifiers.
    SettingsLoadOutcome LoadSettings();

    Result<void> SaveSettingsFile();
    // The options file, then (when that worked) the settings file.
    Result<void> SaveAll();
    // Copies the options into the options document and saves both files;
    // after a failure asks whether to try again. True when the files were written.
    bool SaveSettingsWithRetry(const RetryQuestion &askRetry);

    // Removes what an older version kept in the registry.
    static void CleanUpOlderVersion(Registry &registry);

    // The copy the next save makes before it replaces the settings file.
    enum class PendingCopy {
        None,
        Backup,   // the upgrade's backup, which could not be made at start-up
        Unusable, // a file that could not be used: kept as "Setting_Unusable<N>.xml"
    };
    PendingCopy pendingCopy() const { return m_pendingCopy; }

private:
    Result<void> makePendingCopy();
    QString freeUnusableName() const;
    void upgrade(SettingsLoadOutcome &outcome);

    SettingsDocument &m_settings;
    Options &m_options;
    DataFolders m_folders;
    std::function<void()> m_prepareReports;
    UserMessage m_message;
    PendingCopy m_pendingCopy = PendingCopy::None;
};

} // namespace quillbay
