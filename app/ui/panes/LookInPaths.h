#pragma once
// Paths that reach the Look-in list from outside the folder picker: dropped
// from the file manager, given on the command line or handed over by another
// program. Every way shares these steps: a file stands for the folder that
// holds it and also sets the files criteria to its own name; the folder is
// checked (ValidateLookInFolder) and added once.

#include <QString>
#include <QStringList>

class QMimeData;
class QWidget;

namespace quillbay {

class SettingHost;
class SettingsDocument;

struct LookInRequest {
    bool valid = false;
    QString folder;      // the folder to add
    bool isFile = false; // the path named a file in that folder
    QString baseName;    // the file's name split at its last "."
    QString extension;
};

enum class MissingPath { Report, Ignore };

// Checks a path as a Look-in folder. A refusal is shown in a message box
// owned by messageOwner; a path that names nothing is refused silently with
// MissingPath::Ignore (a drop of something that is not a file). An address
// of another machine ("smb://...") is refused as a network file.
LookInRequest checkLookInPath(const QString &path, QWidget *messageOwner, MissingPath missing);

// Writes a file request's name into the files criteria ("starts with" and
// "Extension") and adds the folder to the setting's Look-in list (once:
// a folder already listed, in any letter case, is not added again).
void applyLookInRequest(SettingsDocument &settings, const QString &settingName, const LookInRequest &request);

// The whole way of one path into the current setting's Look-in list: check,
// criteria of a file, folder added, the setting shown again. Used by drops
// (AcceptDroppedPath, missing paths ignored) and by requests from outside
// (AddPathDirectly, missing paths reported).
void addLookInPath(SettingHost &host, const QString &path, MissingPath missing);

// The paths a drop carries: every entry of a list of files (text/uri-list),
// in order, local files as paths and other addresses as they are; otherwise
// its plain text as one path; otherwise none.
QStringList droppedPaths(const QMimeData &data);

} // namespace quillbay
