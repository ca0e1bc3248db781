#include "text/ErrorTexts.h"

#include "base/RegExp.h"
#include "base/Result.h"
#include "text/UiText.h"

#include <cerrno>
#include <cstring>

namespace quillbay {

namespace {

constexpr int kNoSuchFileId = 30030;
constexpr int kPermissionDeniedId = 30031;
constexpr int kNoSpaceId = 30032;
constexpr int kNotADirectoryId = 30033;
constexpr int kReadOnlyId = 30034;
constexpr int kIsADirectoryId = 30035;
constexpr int kOtherSystemErrorId = 30036;
constexpr int kXmlErrorId = 30040;
constexpr int kPatternErrorId = 30041;
constexpr int kExpressionFailedId = 30042;

const QString kDescription = QStringLiteral("&description;");
const QString kPosition = QStringLiteral("&position;");

int commonErrorId(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return kNoSuchFileId;
    case EACCES:
    case EPERM:
        return kPermissionDeniedId;
    case ENOSPC:
        return kNoSpaceId;
    case ENOTDIR:
        return kNotADirectoryId;
    case EROFS:
        return kReadOnlyId;
    case EISDIR:
        return kIsADirectoryId;
    default:
        return 0;
    }
}

// "EIO": the symbolic name, which reads the same in every language.
QString errorName(int errorNumber)
{
    if (const char *name = ::strerrorname_np(errorNumber))
        return QString::fromLatin1(name);
    return QStringLiteral("errno %1").arg(errorNumber);
}

} // namespace

QString systemErrorText(int errorNumber)
{
    if (const int id = commonErrorId(errorNumber))
        return UiText::LoadText(id);
    return UiText::LoadTextWith(kOtherSystemErrorId,
                                {kDescription, QString::fromLocal8Bit(std::strerror(errorNumber)),
                                 QStringLiteral("&name;"), errorName(errorNumber)});
}

QString reasonOf(const Error &error)
{
    if (error.errorNumber != 0 && error.textId == 0 && error.message == Error::fromErrno(error.errorNumber).message)
        return systemErrorText(error.errorNumber);
    return error.message;
}

QString regExpErrorText(const RegExp &expression)
{
    const QStringList pairs{kDescription, expression.errorText(), kPosition, QString::number(expression.errorOffset())};
    return UiText::LoadTextWith(expression.errorOffset() >= 0 ? kPatternErrorId : kExpressionFailedId, pairs);
}

QString xmlErrorText(const QString &parserDescription, qint64 position)
{
    return UiText::LoadTextWith(kXmlErrorId, {kDescription, parserDescription, kPosition, QString::number(position)});
}

} // namespace quillbay
