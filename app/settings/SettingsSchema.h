#pragma once
// Element and attribute names of the settings document, and the comparison
// that decides when two setting names or two folder paths are the same.

#include <QString>

namespace quillbay {

inline constexpr const char *kSettings = "settings";
inline constexpr const char *kSelect = "select";
inline constexpr const char *kVersion = "version";
inline constexpr const char *kSetting = "setting";
inline constexpr const char *kName = "name";
inline constexpr const char *kFolders = "folders";
inline constexpr const char *kFolder = "folder";
inline constexpr const char *kPath = "path";
inline constexpr const char *kId = "id";
inline constexpr const char *kType = "type";
inline constexpr const char *kRule = "rule";
inline constexpr const char *kFileCriteria = "fileToBeChanged";
inline constexpr const char *kFolderCriteria = "folderToBeChanged";
inline constexpr const char *kFileRules = "newNameRules";
inline constexpr const char *kFolderRules = "newFolderNameRules";

// Setting names and "Look in" paths are equal when they differ only in letter
// case. The comparison is Qt's Unicode simple case folding, code point by code
// point: it does not depend on the locale the program happens to run under, so
// whether a name counts as taken never changes from one machine to the next
// (a locale-aware collation could call different names equal, or change its
// mind with the environment).
inline bool sameTextIgnoreCase(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace quillbay
