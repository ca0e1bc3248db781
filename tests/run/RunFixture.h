#pragma once
// Shared helpers of the rename-run tests: real files in temporary folders,
// preview documents built entry by entry, and saved reports read back.

#include "TestFiles.h"
#include "run/PreviewDocument.h"
#include "run/ReportFolders.h"
#include "settings/XmlTools.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace quillbay::test {

struct LoadedReport {
    pugi::xml_document doc;
    bool ok = false;
    pugi::xml_node root() const { return doc.document_element(); }
    int count() const
    {
        int n = 0;
        for (pugi::xml_node e = root().first_child(); e; e = e.next_sibling())
            ++n;
        return n;
    }
    pugi::xml_node entry(int index) const
    {
        pugi::xml_node e = root().first_child();
        for (int i = 0; i < index && e; ++i)
            e = e.next_sibling();
        return e;
    }
};

inline void loadReport(const QString &path, LoadedReport &report)
{
    const quillbay::Result<void> read = quillbay::XmlTools::loadFile(report.doc, path);
    report.ok = read.ok();
    QVERIFY2(report.ok, qPrintable(path + QStringLiteral(": ") + read.error().message));
}

inline QString attr(pugi::xml_node e, const char *name)
{
    return QString::fromUtf8(e.attribute(name).value());
}

inline bool hasAttr(pugi::xml_node e, const char *name)
{
    return bool(e.attribute(name));
}

// A report folder under its own temporary data folder.
struct ReportPlace {
    QTemporaryDir data;
    quillbay::ReportFolders folders() const { return quillbay::ReportFolders::underDataFolder(data.path()); }
    QString reportFolder() const { return folders().reportFolder; }
};

} // namespace quillbay::test
