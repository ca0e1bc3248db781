#include "engine/PreviewMessages.h"

#include "engine/PreviewRun.h"
#include "run/PreviewDocument.h"
#include "settings/XmlTools.h"
#include "text/ErrorTexts.h"
#include "text/UiText.h"

#include <QDir>

namespace quillbay {

namespace {

QStringList preconditionTexts(const PreviewPreconditions &found)
{
    QStringList texts;
    if (found.noRules)
        texts << UiText::LoadText(1276);
    if (found.noFolders)
        texts << UiText::LoadText(1278);
    if (found.missingFolders)
        texts << UiText::LoadText(1277);
    return texts;
}

} // namespace

QString preconditionMessage(const PreviewPreconditions &found)
{
    return preconditionTexts(found).join(QStringLiteral("\r\n"));
}

QStringList stoppingPreconditionTexts(const PreviewPreconditions &found)
{
    PreviewPreconditions stopping = found;
    stopping.missingFolders = false;
    return preconditionTexts(stopping);
}

QStringList missingFolderNotes(const PreviewPreconditions &found)
{
    QStringList notes;
    for (const QString &path : found.missingFolderPaths)
        notes << UiText::LoadTextWith(30013, {QStringLiteral("&path;"), path});
    return notes;
}

QString invalidCountMessage(int invalidCount)
{
    if (invalidCount <= 0)
        return {};
    return UiText::LoadTextWith(invalidCount == 1 ? 1274 : 1275,
                                {QStringLiteral("&num;"), QString::number(invalidCount)});
}

QString skippedFolderMessage(const SkippedFolder &skipped)
{
    return UiText::LoadTextWith(
        30003,
        {QStringLiteral("&path;"), skipped.path, QStringLiteral("&reason;"), systemErrorText(skipped.errorNumber)});
}

QString leftOutInvalidMessage(int invalidCount)
{
    if (invalidCount <= 0)
        return {};
    return UiText::LoadTextWith(invalidCount == 1 ? 30014 : 30015,
                                {QStringLiteral("&num;"), QString::number(invalidCount)});
}

QStringList previewNotes(const PreviewSummary &summary)
{
    QStringList notes;
    for (const SkippedFolder &skipped : summary.skippedFolders)
        notes << skippedFolderMessage(skipped);
    for (const QString &path : summary.undecodablePaths)
        notes << UiText::LoadTextWith(30004, {QStringLiteral("&path;"), path});
    if (const qsizetype unnamed = summary.undecodableNames - summary.undecodablePaths.size(); unnamed > 0)
        notes << UiText::LoadTextWith(30406, {QStringLiteral("&num;"), QString::number(unnamed)});
    if (summary.ruleFailures > 0)
        notes << UiText::LoadTextWith(30005,
                                      {QStringLiteral("&num;"), QString::number(summary.ruleFailures),
                                       QStringLiteral("&reason;"), summary.firstRuleError});
    if (summary.invalidCount > 0)
        notes << leftOutInvalidMessage(summary.invalidCount);
    return notes;
}

QString criteriaErrorMessage(const Error &error)
{
    return error.message;
}

QStringList failedEntryLines(const PreviewDocument &document)
{
    QStringList lines;
    for (pugi::xml_node e = document.root().first_child(); e; e = e.next_sibling()) {
        const pugi::xml_attribute error = e.attribute("error");
        if (!error)
            continue;
        const QString path = QDir(toQString(e.attribute("folder"))).filePath(toQString(e.attribute("name")));
        lines << UiText::LoadTextWith(30016,
                                      {QStringLiteral("&path;"), path, QStringLiteral("&newName;"),
                                       toQString(e.attribute("newName")), QStringLiteral("&reason;"),
                                       toQString(error)});
    }
    return lines;
}

QStringList recoveryNotes(const QList<JournalRecovery::Outcome> &recovered)
{
    QStringList notes;
    for (const JournalRecovery::Outcome &o : recovered) {
        if (!o.report)
            notes << UiText::LoadTextWith(
                30011,
                {QStringLiteral("&path;"), o.journalPath, QStringLiteral("&reason;"), reasonOf(o.report.error())});
        else if (!o.report.value().isEmpty())
            notes << UiText::LoadTextWith(30010, {QStringLiteral("&path;"), o.report.value()});
    }
    return notes;
}

QString reportNotSavedMessage(const QString &reportFolder, const Error &error)
{
    return UiText::LoadTextWith(30012,
                                {QStringLiteral("&path;"), reportFolder, QStringLiteral("&reason;"), reasonOf(error)});
}

} // namespace quillbay
