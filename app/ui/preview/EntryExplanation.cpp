#include "ui/preview/EntryExplanation.h"

#include "engine/NameValidation.h"
#include "run/ClearedReason.h"
#include "settings/XmlTools.h"
#include "text/UiText.h"

namespace quillbay {

namespace {

enum TextId {
    kEmptyName = 31310,
    kTooLong = 31311,
    kLeadingSpace = 31312,
    kForbiddenChar = 31313,
    kDotName = 31314,
    kUnstorable = 31315,
    kTaken = 31316,
    kBlockedByFile = 31317,
    kBlockedByFolder = 31318,
    kNoTemporaryName = 31319,
    kRenamed = 31320,
};

qsizetype utf8Bytes(const QString &text)
{
    return text.toUtf8().size();
}

} // namespace

QString invalidNameText(const QString &newName)
{
    const NameProblem problem = invalidNameProblem(newName);
    switch (problem.kind) {
    case NameProblem::None:
        return {};
    case NameProblem::Empty:
        return UiText::LoadText(kEmptyName);
    case NameProblem::TooLong:
        return UiText::LoadTextWith(kTooLong,
                                    {QStringLiteral("&units;"), QString::number(newName.size()),
                                     QStringLiteral("&bytes;"), QString::number(utf8Bytes(newName))});
    case NameProblem::LeadingSpace:
        return UiText::LoadText(kLeadingSpace);
    case NameProblem::ForbiddenChar:
        return UiText::LoadTextWith(kForbiddenChar, {QStringLiteral("&char;"), newName.at(problem.position)});
    case NameProblem::DotName:
        return UiText::LoadTextWith(kDotName, {QStringLiteral("&name;"), newName});
    case NameProblem::Unstorable:
        return UiText::LoadTextWith(
            kUnstorable,
            {QStringLiteral("&code;"),
             QStringLiteral("U+%1").arg(newName.at(problem.position).unicode(), 4, 16, QChar(u'0')).toUpper()});
    }
    return {};
}

EntryExplanation explainEntry(pugi::xml_node entry)
{
    if (const pugi::xml_attribute error = entry.attribute("error"))
        return {EntryState::Failed, toQString(error)};
    if (entry.attribute("renamed"))
        return {EntryState::Renamed, UiText::LoadText(kRenamed)};
    const QString newName = toQString(entry.attribute("newName"));
    const QString name = QStringLiteral("&name;");
    const ClearedReason reason = clearedReasonOf(entry);
    switch (reason) {
    case ClearedReason::None:
        return {};
    case ClearedReason::InvalidName:
        return {EntryState::Cleared, invalidNameText(newName)};
    case ClearedReason::TakenByNewName:
        return {EntryState::Cleared, UiText::LoadTextWith(kTaken, {name, newName})};
    case ClearedReason::BlockedByFile:
        return {EntryState::Cleared, UiText::LoadTextWith(kBlockedByFile, {name, newName})};
    case ClearedReason::BlockedByFolder:
        return {EntryState::Cleared, UiText::LoadTextWith(kBlockedByFolder, {name, newName})};
    case ClearedReason::NoTemporaryName:
        return {EntryState::Cleared, UiText::LoadText(kNoTemporaryName)};
    case ClearedReason::ChangedSinceRun:
    case ClearedReason::Replaced:
    case ClearedReason::Missing:
    case ClearedReason::Refused:
        return {EntryState::Cleared, reversalReasonText(reason)};
    }
    return {};
}

} // namespace quillbay
