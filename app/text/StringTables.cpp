#include "text/StringTables.h"

#include "text/EmbeddedStrings.h"

#include <QStringDecoder>

namespace quillbay {

namespace {

QByteArrayView bytesOf(const embedded::EmbeddedFile &file)
{
    return QByteArrayView(reinterpret_cast<const char *>(file.data), qsizetype(file.size));
}

// The default settings document is an XML file; it may have been saved as
// UTF-8 or, with a byte-order mark, as UTF-16. The mark is not part of the text.
QString decodeDocument(QByteArrayView bytes)
{
    const auto encoding = QStringConverter::encodingForData(bytes, u'<');
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf8), QStringConverter::Flag::Default);
    QString text = decoder.decode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

} // namespace

const ParsedStringTable &StringTables::table(UiLanguage language)
{
    // Function-local statics: parsed on first use, once, safely even if two
    // threads ask at the same time.
    static const ParsedStringTable english = parseStringTable(bytesOf(embedded::englishTable()));
    static const ParsedStringTable japanese = parseStringTable(bytesOf(embedded::japaneseTable()));
    return language == UiLanguage::Japanese ? japanese : english;
}

std::optional<QString> StringTables::languageIndependentText(int id)
{
    if (id != kDefaultSettingsId)
        return std::nullopt;
    static const std::optional<QString> document = []() -> std::optional<QString> {
        const embedded::EmbeddedFile file = embedded::defaultSettingsDocument();
        if (!file.present)
            return std::nullopt;
        return decodeDocument(bytesOf(file));
    }();
    return document;
}

} // namespace quillbay
