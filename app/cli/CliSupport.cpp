#include "cli/CliSupport.h"

#include "engine/Manager.h"
#include "run/PreviewDocument.h"
#include "services/DataFolders.h"
#include "settings/SettingsSchema.h"
#include "settings/SettingsVersion.h"
#include "settings/XmlTools.h"
#include "text/ErrorTexts.h"
#include "text/UiText.h"

#include <QFileInfo>
#include <cstdio>

namespace quillbay {

namespace {

constexpr int kUnknownOptionId = 30110;
constexpr int kOptionNeedsValueId = 30111;

} // namespace

Result<ParsedOptions> parseOptions(const QStringList &args, const QStringList &withValue, const QStringList &flags)
{
    ParsedOptions parsed;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (!arg.startsWith(QLatin1String("--")) || arg == QLatin1String("--")) {
            parsed.positional.append(arg);
            continue;
        }
        const qsizetype eq = arg.indexOf(u'=');
        const QString name = eq < 0 ? arg : arg.left(eq);
        if (flags.contains(name) && eq < 0) {
            parsed.flags.append(name);
        } else if (withValue.contains(name)) {
            if (eq >= 0) {
                parsed.values.insert(name, arg.mid(eq + 1));
            } else if (i + 1 < args.size()) {
                parsed.values.insert(name, args[++i]);
            } else {
                return Error::fromText(kOptionNeedsValueId,
                                       UiText::LoadTextWith(kOptionNeedsValueId, {QStringLiteral("&option;"), name}));
            }
        } else {
            return Error::fromText(kUnknownOptionId,
                                   UiText::LoadTextWith(kUnknownOptionId, {QStringLiteral("&option;"), arg}));
        }
    }
    return parsed;
}

bool asksForHelp(const QStringList &args)
{
    for (const QString &arg : args) {
        if (arg == QLatin1String("--"))
            return false;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            return true;
    }
    return false;
}

// Texts of the table break their lines with CR LF; a terminal wants LF.
static void writeTo(FILE *stream, const QString &text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QByteArray bytes = lines.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fputc('\n', stream);
}

void printError(const QString &text)
{
    writeTo(stderr, text);
}
void printLine(const QString &text)
{
    writeTo(stdout, text);
}

QString settingsFileFrom(const ParsedOptions &options)
{
    const QString given = options.values.value(QStringLiteral("--settings"));
    return given.isNull() ? DataFolders::userFolders().settingsFile : given;
}

int loadSettings(Manager &manager, const QString &path, const QString &settingName)
{
    if (const Result<void> loaded = manager.settings().loadFile(path); !loaded) {
        printError(UiText::LoadTextWith(
            30001, {QStringLiteral("&path;"), path, QStringLiteral("&reason;"), reasonOf(loaded.error())}));
        return ExitUsage;
    }
    const SettingsFormat format = classifySettings(manager.settings().document());
    if (format == SettingsFormat::Unusable) {
        printError(UiText::LoadTextWith(30008, {QStringLiteral("&path;"), path}));
        return ExitUsage;
    }
    if (format == SettingsFormat::Older)
        XmlTools::setAttribute(manager.settings().SettingsRoot(), kVersion, QStringLiteral("2.0"));
    manager.settings().RenumberIds();
    if (settingName.isNull()) {
        manager.settings().SelectedSetting();
        return ExitOk;
    }
    if (!manager.settings().SelectSetting(settingName)) {
        printError(UiText::LoadTextWith(30002, {QStringLiteral("&name;"), settingName}));
        return ExitUsage;
    }
    return ExitOk;
}

namespace {
struct StdoutWriter : pugi::xml_writer {
    void write(const void *data, size_t size) override { std::fwrite(data, 1, size, stdout); }
};
} // namespace

void printDocument(const pugi::xml_document &doc)
{
    std::fputs("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n", stdout);
    StdoutWriter writer;
    doc.document_element().print(writer, "  ", pugi::format_indent, pugi::encoding_utf8);
    std::fflush(stdout);
}

int writePreview(const PreviewDocument &preview, const QString &outputPath)
{
    if (outputPath.isNull()) {
        printDocument(preview.document());
        return ExitOk;
    }
    const Result<void> saved = XmlTools::saveToPath(preview.document(), outputPath, preview.prologue());
    if (!saved) {
        printError(UiText::LoadTextWith(
            30007, {QStringLiteral("&path;"), outputPath, QStringLiteral("&reason;"), reasonOf(saved.error())}));
        return ExitUsage;
    }
    return ExitOk;
}

} // namespace quillbay
