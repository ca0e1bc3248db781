#pragma once
// Whether a path may become a Look-in folder. A file stands for the folder
// that holds it; a path that names nothing refuses with 942 ("The folder is
// not found.").

#include <QString>

namespace quillbay {

struct LookInCheck {
    bool accepted = false;
    QString folder;    // the folder to add (a file's folder), when accepted
    int messageId = 0; // the refusal's message, when not accepted
    QString message;   // its text, placeholders filled
};

LookInCheck ValidateLookInFolder(const QString &path);

} // namespace quillbay
