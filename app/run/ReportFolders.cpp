#include "run/ReportFolders.h"

#include "base/AtomicFile.h"
#include "run/ReportStore.h"
#include "settings/XmlTools.h"
#include "text/UiText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quillbay {

namespace {

const QString kStyleSheets[] = {QStringLiteral("ReportEn.xsl"), QStringLiteral("ReportJa.xsl")};

QString journalSuffix()
{
    return QStringLiteral(".journal");
}

} // namespace

QString ReportFolders::defaultDataFolder()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    // A relative value is to be ignored, as the base-directory rules say.
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/Tolvane/Quillbay");
}

QString ReportFolders::builtInStyleSheets()
{
    return QStringLiteral(":/quillbay/report");
}

ReportFolders ReportFolders::underDataFolder(const QString &dataFolder)
{
    ReportFolders f;
    f.dataFolder = dataFolder;
    f.reportFolder = dataFolder + QStringLiteral("/Report");
    f.styleSheetSource = builtInStyleSheets();
    return f;
}

ReportFolders ReportFolders::forReportFolder(const QString &reportFolder)
{
    ReportFolders f;
    const QString absolute = QDir::cleanPath(QDir(reportFolder).absolutePath());
    f.reportFolder = absolute;
    f.dataFolder = QFileInfo(absolute).absolutePath();
    f.styleSheetSource = builtInStyleSheets();
    return f;
}

ReportFolderKeeper::ReportFolderKeeper(ReportFolders folders, MessageSink messages)
    : m_folders(std::move(folders)), m_messages(std::move(messages))
{
}

bool ReportFolderKeeper::PrepareReportFolder()
{
    if (!QDir().mkpath(m_folders.reportFolder) && m_messages)
        m_messages(UiText::LoadText(460), UiText::LoadText(400));
    for (const QString &name : kStyleSheets)
        copyStyleSheet(name);
    moveNestedReportsUp();
    return true;
}

void ReportFolderKeeper::copyStyleSheet(const QString &fileName)
{
    // A style sheet that cannot be placed leaves the reports readable as plain
    // XML, so failures here are not worth a message.
    const QFileInfo source(m_folders.styleSheetSource + u'/' + fileName);
    const QFileInfo copy(m_folders.dataFolder + u'/' + fileName);
    if (!source.exists() || m_folders.dataFolder.isEmpty())
        return;
    if (copy.exists() && copy.lastModified() >= source.lastModified())
        return;
    QFile in(source.filePath());
    if (!in.open(QIODevice::ReadOnly))
        return;
    QDir().mkpath(m_folders.dataFolder);
    if (writeFileAtomically(copy.filePath(), in.readAll()).ok())
        QFile(copy.filePath()).setFileTime(source.lastModified(), QFileDevice::FileModificationTime);
}

void ReportFolderKeeper::moveNestedReportsUp()
{
    const QString nested = m_folders.reportFolder + QStringLiteral("/Report");
    QDir nestedDir(nested);
    if (!nestedDir.exists())
        return;
    const QStringList files = nestedDir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    if (!files.isEmpty()) {
        const int fromDir = ::open(QFile::encodeName(nested).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        const int toDir =
            ::open(QFile::encodeName(m_folders.reportFolder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (fromDir >= 0 && toDir >= 0) {
            for (const QString &name : files) {
                const QFileInfo info(name);
                const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
                const QString stem = suffix.isEmpty() ? name : name.left(name.size() - suffix.size());
                // A report that cannot be moved stays where it is, and keeps
                // the nested folder with it.
                static_cast<void>(ReportStore::moveToFreeName(fromDir, QFile::encodeName(name), toDir,
                                                              m_folders.reportFolder, stem, suffix));
            }
        }
        if (fromDir >= 0)
            ::close(fromDir);
        if (toDir >= 0)
            ::close(toDir);
    }
    // Removes the nested folder only when nothing is left in it.
    nestedDir.rmdir(nested);
}

int ReportFolderKeeper::DeleteOldReports(const QString &holdingDaysText, const QDateTime &now)
{
    PrepareReportFolder();
    const std::optional<double> value = parseNumber(holdingDaysText);
    if (!value)
        return 0;
    const int holdingDays = std::max(0, roundHalfEven(*value));
    const QDate today = now.date();
    int deleted = 0;
    QDir dir(m_folders.reportFolder);
    const QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &file : files) {
        // A journal is the only record of a run that ended without its report;
        // it is turned into a report, never deleted for its age.
        if (file.fileName().endsWith(journalSuffix()))
            continue;
        const qint64 boundaries = file.lastModified().date().daysTo(today);
        if (boundaries > holdingDays && QFile::remove(file.filePath()))
            ++deleted;
    }
    return deleted;
}

} // namespace quillbay
