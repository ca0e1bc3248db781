#pragma once
// UTF-8 to QString, taking the text as it stands.
//
// QString::fromUtf8 drops a byte order mark at the start of its input. In a
// file name, or in an attribute that holds one, U+FEFF is an ordinary
// character: dropping it names another file.

#include <QByteArrayView>
#include <QString>

namespace quillbay {

QString textFromUtf8(QByteArrayView utf8);

} // namespace quillbay
