#pragma once
// Where the program keeps the user's files.
//
// The per-user data folder is "$XDG_DATA_HOME/Tolvane/Quillbay" (XDG_DATA_HOME
// defaults to "~/.local/share"); the registry stand-in lives under
// "$XDG_CONFIG_HOME/Tolvane/Quillbay" (XDG_CONFIG_HOME defaults to "~/.config").
// A relative XDG value is ignored, as the XDG base directory rules ask.

#include <QString>

namespace quillbay {

struct DataFolders {
    QString makerFolder;  // ".../Tolvane"; empty when the program's folder serves
    QString dataFolder;   // ".../Tolvane/Quillbay", or the program's folder
    QString reportFolder; // dataFolder + "/Report"
    QString settingsFile; // dataFolder + "/Setting.xml"
    QString optionsFile;  // dataFolder + "/app.xml"
    QString backupFile;   // dataFolder + "/Setting_OldVersion1.xml"

    // The user's data home, created when it is missing. When it cannot be
    // had (no home, or it cannot be created) the program's folder holds
    // every file and the maker folder is not used.
    static DataFolders resolve(const QString &programFolder);
    // The folders below the user's data home as Resolve gives them, without
    // creating anything; empty paths when there is no data home.
    static DataFolders userFolders();
    // The folders below a given data folder, without a maker folder.
    static DataFolders inFolder(const QString &dataFolder);

    // The folder whose files the program reads as delivered with it (help
    // files, an options file for the first start): "<prefix>/share/quillbay"
    // when the program runs from "<prefix>/bin" and that folder exists, as an
    // installed program does; otherwise the program's own folder.
    static QString programFolder(const QString &executableFolder);

    // $XDG_DATA_HOME or ~/.local/share; empty when neither can be told.
    static QString dataHome();
    // $XDG_CONFIG_HOME or ~/.config; empty when neither can be told.
    static QString configHome();
};

} // namespace quillbay
