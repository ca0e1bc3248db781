#include "run/ReportViewer.h"

#include "base/AtomicFile.h"
#include "text/UiText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

#include <libxml/parser.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

namespace quillbay {

namespace {

void ignoreLibraryMessage(void *, const char *, ...) {}

QString styleSheetNameOf(xmlDocPtr doc)
{
    static const QRegularExpression href(QStringLiteral("href\\s*=\\s*(['\"])([^'\"]*)\\1"));
    static const QRegularExpression acceptable(QStringLiteral("^Report[A-Za-z]{1,8}\\.xsl$"));
    for (xmlNodePtr n = doc->children; n; n = n->next) {
        if (n->type != XML_PI_NODE || !xmlStrEqual(n->name, BAD_CAST "xml-stylesheet") || !n->content)
            continue;
        const auto m = href.match(QString::fromUtf8(reinterpret_cast<const char *>(n->content)));
        // Only a style sheet of our own naming, never a path or an address
        // that a report from elsewhere might carry.
        const QString name = m.hasMatch() ? QFileInfo(m.captured(2)).fileName() : QString();
        if (acceptable.match(name).hasMatch())
            return name;
    }
    return QStringLiteral("ReportEn.xsl");
}

QByteArray styleSheetBytes(const QString &reportPath, const QString &name)
{
    const QString beside = QFileInfo(reportPath).absoluteDir().absoluteFilePath(QStringLiteral("../") + name);
    for (const QString &candidate : {beside, ReportFolders::builtInStyleSheets() + u'/' + name,
                                     ReportFolders::builtInStyleSheets() + QStringLiteral("/ReportEn.xsl")}) {
        QFile f(candidate);
        if (f.open(QIODevice::ReadOnly))
            return f.readAll();
    }
    return {};
}

xsltSecurityPrefsPtr lockedDownPrefs()
{
    xsltSecurityPrefsPtr prefs = xsltNewSecurityPrefs();
    for (xsltSecurityOption option : {XSLT_SECPREF_READ_FILE, XSLT_SECPREF_WRITE_FILE, XSLT_SECPREF_CREATE_DIRECTORY,
                                      XSLT_SECPREF_READ_NETWORK, XSLT_SECPREF_WRITE_NETWORK})
        xsltSetSecurityPrefs(prefs, option, xsltSecurityForbid);
    return prefs;
}

QByteArray transform(xmlDocPtr report, const QByteArray &sheetBytes)
{
    xmlDocPtr sheetDoc =
        xmlReadMemory(sheetBytes.constData(), int(sheetBytes.size()), "report.xsl", nullptr, XML_PARSE_NONET);
    if (!sheetDoc)
        return {};
    xsltStylesheetPtr sheet = xsltParseStylesheetDoc(sheetDoc);
    if (!sheet) {
        xmlFreeDoc(sheetDoc);
        return {};
    }
    QByteArray html;
    xsltSecurityPrefsPtr prefs = lockedDownPrefs();
    xsltTransformContextPtr context = xsltNewTransformContext(sheet, report);
    if (context && xsltSetCtxtSecurityPrefs(prefs, context) == 0) {
        xmlDocPtr result = xsltApplyStylesheetUser(sheet, report, nullptr, nullptr, nullptr, context);
        xmlChar *out = nullptr;
        int length = 0;
        if (result && xsltSaveResultToString(&out, &length, result, sheet) == 0 && out)
            html = QByteArray(reinterpret_cast<const char *>(out), length);
        xmlFree(out);
        xmlFreeDoc(result);
    }
    if (context)
        xsltFreeTransformContext(context);
    xsltFreeSecurityPrefs(prefs);
    xsltFreeStylesheet(sheet);
    return html;
}

QString fileUri(const QString &path)
{
    return QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded()).replace(u'\'', QStringLiteral("%27"));
}

} // namespace

bool SystemLauncher::startDetached(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

int SystemLauncher::run(const QString &program, const QStringList &arguments, int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForStarted(timeoutMs))
        return -1;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

ReportViewer::ReportViewer(ProcessLauncher &launcher, QString cacheFolder, MessageSink messages)
    : m_launcher(launcher), m_cacheFolder(std::move(cacheFolder)), m_messages(std::move(messages))
{
}

QString ReportViewer::defaultCacheFolder()
{
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.cache");
    return base + QStringLiteral("/Tolvane/Quillbay");
}

Result<void> ReportViewer::renderHtml(const QString &reportPath, const QString &htmlPath)
{
    QFile file(reportPath);
    if (!file.open(QIODevice::ReadOnly))
        return Error::withMessage(file.errorString());
    const QByteArray bytes = file.readAll();
    xmlSetGenericErrorFunc(nullptr, ignoreLibraryMessage);
    xsltSetGenericErrorFunc(nullptr, ignoreLibraryMessage);
    xmlDocPtr report = xmlReadMemory(bytes.constData(), int(bytes.size()), "report.xml", nullptr, XML_PARSE_NONET);
    QByteArray html;
    if (report) {
        html = transform(report, styleSheetBytes(reportPath, styleSheetNameOf(report)));
        xmlFreeDoc(report);
    }
    if (html.isEmpty())
        return Error::fromText(930, UiText::LoadText(930));
    QDir().mkpath(QFileInfo(htmlPath).absolutePath());
    return writeFileAtomically(htmlPath, html);
}

bool ReportViewer::showInFileManager(const QString &path)
{
    const QString items = QStringLiteral("['") + fileUri(path) + QStringLiteral("']");
    const int shown = m_launcher.run(QStringLiteral("gdbus"),
                                     {QStringLiteral("call"), QStringLiteral("--session"), QStringLiteral("--dest"),
                                      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("--object-path"),
                                      QStringLiteral("/org/freedesktop/FileManager1"), QStringLiteral("--method"),
                                      QStringLiteral("org.freedesktop.FileManager1.ShowItems"), items, QString()},
                                     5000);
    if (shown == 0)
        return true;
    return m_launcher.startDetached(QStringLiteral("xdg-open"), {QFileInfo(path).absolutePath()});
}

ReportViewer::Shown ReportViewer::OpenLastReport(const QString &reportPath)
{
    Shown shown;
    if (reportPath.isEmpty())
        return shown;
    const QString html = m_cacheFolder + QStringLiteral("/Reports/") + QFileInfo(reportPath).completeBaseName()
        + QStringLiteral(".html");
    shown.page = renderHtml(reportPath, html).ok() ? html : reportPath;
    shown.inBrowser = m_launcher.startDetached(QStringLiteral("xdg-open"), {shown.page});
    if (shown.inBrowser)
        return shown;
    if (m_messages)
        m_messages(UiText::LoadText(431), UiText::LoadText(400));
    shown.inFileManager = showInFileManager(reportPath);
    return shown;
}

} // namespace quillbay
