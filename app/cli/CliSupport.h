#pragma once
// What the subcommands of quillbay-cli share: option parsing, loading the
// settings, printing documents and messages.

#include "base/Result.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <pugixml.hpp>

namespace quillbay {

class Manager;
class PreviewDocument;

enum ExitCode { ExitOk = 0, ExitPrecondition = 1, ExitUsage = 2, ExitSomeFailed = 3 };

struct ParsedOptions {
    QHash<QString, QString> values; // "--settings" -> "file"
    QStringList flags;              // "--run"
    QStringList positional;
};

// Options that take a value are given as "--name value" or "--name=value".
// An unknown option, or one without its value, gives the message to print.
Result<ParsedOptions> parseOptions(const QStringList &args, const QStringList &withValue, const QStringList &flags);

// Whether "--help" or "-h" is among the arguments (before a "--").
bool asksForHelp(const QStringList &args);

// One message or text on standard error, or standard output, in UTF-8 with
// its lines broken by LF.
void printError(const QString &text);
void printLine(const QString &text);

// The settings file of "--settings", or the user's own settings file of the
// main program when the option is not given.
QString settingsFileFrom(const ParsedOptions &options);

// Loads the settings file and selects the named setting (or the one the file
// selects). The file is only read. A file of a version the main program would
// not use is refused; one of the older format is upgraded in memory only. On
// failure the message is printed and the exit code returned; ExitOk on success.
int loadSettings(Manager &manager, const QString &path, const QString &settingName);

// The preview document as UTF-8 XML on standard output, or as the program
// writes its files (UTF-16 with the report prologue) to path.
int writePreview(const PreviewDocument &preview, const QString &outputPath);
void printDocument(const pugi::xml_document &doc);

} // namespace quillbay
