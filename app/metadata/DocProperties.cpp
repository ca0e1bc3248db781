#include "metadata/DocProperties.h"

#include "metadata/LegacyCodePage.h"
#include "metadata/PropertySet.h"
#include "metadata/RegularFile.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QStringList>
#include <QUuid>
#include <cstdio>
#include <mutex>
#include <unistd.h>

#include <gsf/gsf-infile-impl.h>
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-utils.h>

namespace quillbay {
namespace {

// Property set streams hold a few kilobytes of text and perhaps a thumbnail;
// a larger one is not read.
constexpr gsf_off_t MaxStreamSize = 16 * 1024 * 1024;

struct SetPlace {
    const char *stream;
    QUuid formatId;
};

const SetPlace &setPlace(int setIndex)
{
    static const SetPlace places[] = {
        {"\005SummaryInformation", QUuid(QStringLiteral("{F29F85E0-4FF9-1068-AB91-08002B27B3D9}"))},
        {"\005DocumentSummaryInformation", QUuid(QStringLiteral("{D5CDD502-2E9C-101B-9397-08002B2CF9AE}"))},
        {"\005DocumentSummaryInformation", QUuid(QStringLiteral("{D5CDD505-2E9C-101B-9397-08002B2CF9AE}"))},
    };
    return places[setIndex];
}

void discardMessage(const gchar *, GLogLevelFlags, const gchar *, gpointer) {}

void initialiseGsf()
{
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        // A damaged document makes libgsf log warnings and "critical"
        // messages while it refuses the file. A damaged document in a folder
        // is normal here: it simply has no properties, so the messages go.
        const auto levels = GLogLevelFlags(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE
                                           | G_LOG_LEVEL_INFO | G_LOG_LEVEL_DEBUG);
        for (const char *domain : {"libgsf", "libgsf:msole"})
            g_log_set_handler(domain, levels, discardMessage, nullptr);
    });
}

} // namespace

struct DocProperties::Container {
    QByteArray memory; // the bytes behind a memory input, kept alive with it
    GsfInfile *storage = nullptr;
    QHash<QByteArray, std::optional<PropertySetStream>> streams;
    QByteArray fallbackEncoding = userLegacyCodePage();

    ~Container()
    {
        if (storage)
            g_object_unref(storage);
    }

    bool openInput(GsfInput *input)
    {
        if (!input)
            return false;
        GError *error = nullptr;
        storage = gsf_infile_msole_new(input, &error);
        g_object_unref(input);
        if (error)
            g_error_free(error);
        return storage != nullptr;
    }

    const std::optional<PropertySetStream> &stream(const char *name)
    {
        const QByteArray key(name);
        auto found = streams.find(key);
        if (found == streams.end())
            found = streams.insert(key, readStream(name));
        return *found;
    }

    std::optional<PropertySetStream> readStream(const char *name)
    {
        // The class function rather than gsf_infile_child_by_name(), which
        // logs a warning for every stream a damaged file cannot give.
        GError *error = nullptr;
        GsfInput *child = GSF_INFILE_CLASS(G_OBJECT_GET_CLASS(storage))->child_by_name(storage, name, &error);
        if (error)
            g_error_free(error);
        if (!child)
            return std::nullopt;
        std::optional<PropertySetStream> parsed;
        const gsf_off_t size = gsf_input_size(child);
        if (size > 0 && size <= MaxStreamSize) {
            QByteArray bytes(qsizetype(size), Qt::Uninitialized);
            if (gsf_input_read(child, size_t(size), reinterpret_cast<guint8 *>(bytes.data())))
                parsed = PropertySetStream::parse(bytes, fallbackEncoding);
        }
        g_object_unref(child);
        return parsed;
    }
};

DocProperties::DocProperties() = default;
DocProperties::~DocProperties() = default;

bool DocProperties::open(const QString &path)
{
    close();
    initialiseGsf();
    const int fd = openRegularFileForReading(path);
    if (fd < 0)
        return false;
    FILE *file = ::fdopen(fd, "rb");
    if (!file) {
        ::close(fd);
        return false;
    }
    // The input closes the FILE (and with it the descriptor) when it goes.
    GsfInput *input = gsf_input_stdio_new_FILE(QFile::encodeName(path).constData(), file, FALSE);
    if (!input) {
        std::fclose(file);
        return false;
    }
    auto container = std::make_unique<Container>();
    if (!container->openInput(input))
        return false;
    m_container = std::move(container);
    return true;
}

bool DocProperties::openBytes(const QByteArray &bytes)
{
    close();
    initialiseGsf();
    auto container = std::make_unique<Container>();
    container->memory = bytes;
    GsfInput *input = gsf_input_memory_new(reinterpret_cast<const guint8 *>(container->memory.constData()),
                                           gsf_off_t(container->memory.size()), FALSE);
    if (!container->openInput(input))
        return false;
    m_container = std::move(container);
    return true;
}

bool DocProperties::isOpen() const
{
    return m_container != nullptr;
}

void DocProperties::close()
{
    m_container.reset();
}

QVariant DocProperties::getProperty(int setIndex, quint32 id)
{
    if (!m_container || setIndex < 0 || setIndex > 2)
        return {};
    const SetPlace &place = setPlace(setIndex);
    const std::optional<PropertySetStream> &stream = m_container->stream(place.stream);
    if (!stream)
        return {};
    const std::optional<PropertySection> section = stream->section(place.formatId);
    return section ? section->value(id) : QVariant();
}

QVariant DocProperties::getProperty(int setIndex, const QString &key)
{
    bool numeric = false;
    const quint32 id = key.toUInt(&numeric);
    if (numeric)
        return getProperty(setIndex, id);
    if (!m_container || setIndex < 0 || setIndex > 2)
        return {};
    const SetPlace &place = setPlace(setIndex);
    const std::optional<PropertySetStream> &stream = m_container->stream(place.stream);
    const std::optional<PropertySection> section = stream ? stream->section(place.formatId) : std::nullopt;
    const std::optional<quint32> named = section ? section->idForName(key) : std::nullopt;
    return named ? section->value(*named) : QVariant();
}

QString DocProperties::text(int setIndex, quint32 id)
{
    return propertyText(getProperty(setIndex, id));
}

QString propertyText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QStringList:
        return value.toStringList().join(QStringLiteral("; "));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(Qt::ISODate);
    default:
        return value.canConvert<QString>() ? value.toString() : QString();
    }
}

} // namespace quillbay
