#include "settings/HelpFile.h"

#include "text/UiText.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace quillbay {

HelpFile::HelpFile(const QString &programFolder, Launcher launcher)
    : m_programFolder(programFolder), m_launcher(launcher ? std::move(launcher) : Launcher(&HelpFile::launchDetached))
{
}

QString HelpFile::helpFilePath() const
{
    const QDir folder(m_programFolder);
    const QString localized =
        folder.filePath(QStringLiteral("Quillbay") + UiText::LanguageSuffix() + QStringLiteral(".html"));
    if (QFileInfo::exists(localized))
        return localized;
    return folder.filePath(QStringLiteral("Quillbay.html"));
}

bool HelpFile::showHelp(int context) const
{
    QUrl url = QUrl::fromLocalFile(helpFilePath());
    if (context != 0)
        url.setFragment(QStringLiteral("context-%1").arg(context));
    return m_launcher(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}

bool HelpFile::launchDetached(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

} // namespace quillbay
