#include "run/RenameErrors.h"

#include "text/ErrorTexts.h"
#include "text/UiText.h"

#include <cerrno>

namespace quillbay {

bool ErrorTextFor(int number, QString &description)
{
    switch (number) {
    case ErrorNumber::BadFileName:
    case ErrorNumber::FileNotFound:
    case ErrorNumber::DeviceIoError:
    case ErrorNumber::FileAlreadyExists:
    case ErrorNumber::DiskNotReady:
        break;
    default:
        return false;
    }
    const std::optional<QString> text = UiText::findText(20000 + number);
    if (!text || text->isEmpty())
        return false;
    description = *text;
    return true;
}

EntryFailure programFailure(int number)
{
    EntryFailure f;
    f.number = number;
    if (number == ErrorNumber::FolderNotFound)
        f.description = UiText::LoadText(ErrorNumber::FolderNotFound);
    else
        ErrorTextFor(number, f.description);
    // A report line must never look like a success: without its text, the
    // number itself stands in.
    if (f.description.isEmpty())
        f.description = QString::number(number);
    return f;
}

EntryFailure failureForErrno(int err, bool folderEntry)
{
    switch (err) {
    case EEXIST:
    case ENOTEMPTY:
        return programFailure(ErrorNumber::FileAlreadyExists);
    case ENOENT:
        return programFailure(folderEntry ? ErrorNumber::FolderNotFound : ErrorNumber::FileNotFound);
    case EINVAL:
    case ENAMETOOLONG:
        return programFailure(ErrorNumber::BadFileName);
    case EIO:
        return programFailure(ErrorNumber::DeviceIoError);
    case ENOMEDIUM:
        return programFailure(ErrorNumber::DiskNotReady);
    default:
        break;
    }
    EntryFailure f;
    f.number = err;
    f.description = systemErrorText(err);
    return f;
}

} // namespace quillbay
