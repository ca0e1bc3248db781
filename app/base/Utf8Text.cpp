#include "base/Utf8Text.h"

#include <QStringDecoder>

namespace quillbay {

QString textFromUtf8(QByteArrayView utf8)
{
    // Stateless: every call decodes on its own. ConvertInitialBom: keep U+FEFF.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

} // namespace quillbay
