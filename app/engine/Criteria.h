#pragma once
// The files and folders criteria of a setting, compiled into expressions once
// per preview run.

#include "base/RegExp.h"
#include "base/Result.h"

#include <QString>
#include <pugixml.hpp>

namespace quillbay {

// The text as a pattern that matches it literally.
QString EscapeRegExpLiteral(const QString &text);

class Criteria
{
public:
    // Reads fileToBeChanged and folderToBeChanged of the setting. An error
    // saying which pattern was rejected and why.
    Result<void> compile(pugi::xml_node setting);

    bool usesDateFilter() const { return m_dateFilter; }
    // The base name and extension tests, in that order.
    bool nameSelected(const QString &base, const QString &ext);
    // Last-modified time (ms since the epoch) strictly after the cut-off.
    bool modifiedSelected(qint64 modifiedMSecs) const { return modifiedMSecs > m_cutOffMSecs; }
    bool folderSelected(const QString &name);

    // Why the last test could not be made (an expression that hit its limits).
    QString lastError() const { return m_lastError; }

private:
    bool test(RegExp &re, const QString &subject);
    // A pattern that matches every text ("" or "^"): the test is skipped.
    static bool matchesAll(const RegExp &re);

    RegExp m_fileBase, m_fileExt, m_folderFirst, m_folderSecond;
    bool m_fileBaseAll = false;
    bool m_fileExtAll = false;
    bool m_folderRegExpMode = false;
    bool m_dateFilter = false;
    qint64 m_cutOffMSecs = 0;
    QString m_lastError;
};

} // namespace quillbay
