// libFuzzer target: document properties. The bytes are tried both as a whole
// compound document and as one property set stream.
#include "metadata/DocProperties.h"
#include "metadata/PropertySet.h"

#include <QUuid>
#include <cstddef>
#include <cstdint>

namespace {

void readStream(const QByteArray &bytes)
{
    static const QUuid formats[] = {
        QUuid(QStringLiteral("{F29F85E0-4FF9-1068-AB91-08002B27B3D9}")),
        QUuid(QStringLiteral("{D5CDD502-2E9C-101B-9397-08002B2CF9AE}")),
        QUuid(QStringLiteral("{D5CDD505-2E9C-101B-9397-08002B2CF9AE}")),
    };
    const std::optional<quillbay::PropertySetStream> stream = quillbay::PropertySetStream::parse(bytes, "CP932");
    if (!stream)
        return;
    for (const QUuid &format : formats) {
        const std::optional<quillbay::PropertySection> section = stream->section(format);
        if (!section)
            continue;
        for (quint32 id = 0; id < 24; ++id)
            (void)quillbay::propertyText(section->value(id));
        if (const std::optional<quint32> id = section->idForName(QStringLiteral("Project")))
            (void)section->value(*id);
    }
}

void readDocument(const QByteArray &bytes)
{
    quillbay::DocProperties doc;
    if (!doc.openBytes(bytes))
        return;
    (void)doc.title();
    (void)doc.subject();
    (void)doc.author();
    (void)doc.keywords();
    (void)doc.comments();
    (void)doc.revisionNumber();
    (void)doc.applicationName();
    (void)doc.category();
    (void)doc.company();
    (void)doc.getProperty(quillbay::DocProperties::UserDefinedProperties, QStringLiteral("Project"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    readStream(bytes);
    readDocument(bytes);
    return 0;
}
