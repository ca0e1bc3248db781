#include "CompoundFileBuilder.h"

#include <QFile>

#include <gsf/gsf-doc-meta-data.h>
#include <gsf/gsf-meta-names.h>
#include <gsf/gsf-msole-utils.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-output.h>
#include <gsf/gsf-utils.h>

namespace quillbay::test {

QByteArray le16(quint16 v)
{
    return QByteArray(1, char(v & 0xFF)) + char(v >> 8);
}

QByteArray le32(quint32 v)
{
    return le16(quint16(v & 0xFFFF)) + le16(quint16(v >> 16));
}

QByteArray le64(quint64 v)
{
    return le32(quint32(v & 0xFFFFFFFFu)) + le32(quint32(v >> 32));
}

QByteArray utf16le(const QString &text)
{
    QByteArray out;
    for (QChar c : text)
        out += le16(c.unicode());
    return out;
}

static QByteArray padded(QByteArray bytes)
{
    while (bytes.size() % 4)
        bytes += '\0';
    return bytes;
}

SectionBuilder &SectionBuilder::raw(quint32 id, const QByteArray &value)
{
    m_properties.append({id, value});
    return *this;
}

SectionBuilder &SectionBuilder::codePage(quint16 codePage)
{
    return raw(1, le16(2) + le16(0) + le16(codePage) + le16(0));
}

SectionBuilder &SectionBuilder::lpstr(quint32 id, const QByteArray &bytes)
{
    const QByteArray text = bytes + '\0';
    return raw(id, padded(le16(30) + le16(0) + le32(quint32(text.size())) + text));
}

SectionBuilder &SectionBuilder::lpstrUnicode(quint32 id, const QString &text)
{
    const QByteArray data = utf16le(text) + le16(0);
    return raw(id, padded(le16(30) + le16(0) + le32(quint32(data.size())) + data));
}

SectionBuilder &SectionBuilder::lpwstr(quint32 id, const QString &text)
{
    return raw(id, padded(le16(31) + le16(0) + le32(quint32(text.size() + 1)) + utf16le(text) + le16(0)));
}

SectionBuilder &SectionBuilder::fileTime(quint32 id, quint64 fileTime)
{
    return raw(id, le16(64) + le16(0) + le64(fileTime));
}

SectionBuilder &SectionBuilder::i4(quint32 id, qint32 value)
{
    return raw(id, le16(3) + le16(0) + le32(quint32(value)));
}

SectionBuilder &SectionBuilder::lpstrVector(quint32 id, const QList<QByteArray> &items, bool pad)
{
    QByteArray value = le16(0x101E) + le16(0) + le32(quint32(items.size()));
    for (const QByteArray &item : items) {
        const QByteArray element = le32(quint32(item.size() + 1)) + item + '\0';
        value += pad ? padded(element) : element;
    }
    return raw(id, padded(value));
}

SectionBuilder &SectionBuilder::lpwstrVector(quint32 id, const QStringList &texts)
{
    QByteArray value = le16(0x101F) + le16(0) + le32(quint32(texts.size()));
    for (const QString &text : texts)
        value += padded(le32(quint32(text.size() + 1)) + utf16le(text) + le16(0));
    return raw(id, value);
}

SectionBuilder &SectionBuilder::dictionary(const QList<QPair<quint32, QByteArray>> &names)
{
    QByteArray value = le32(quint32(names.size()));
    for (const auto &entry : names)
        value += le32(entry.first) + le32(quint32(entry.second.size() + 1)) + entry.second + '\0';
    return raw(0, padded(value));
}

QByteArray SectionBuilder::build() const
{
    const quint32 tableSize = 8 + 8 * quint32(m_properties.size());
    QByteArray table;
    QByteArray values;
    for (const auto &property : m_properties) {
        table += le32(property.first) + le32(tableSize + quint32(values.size()));
        values += property.second;
    }
    const quint32 size = tableSize + quint32(values.size());
    return le32(size) + le32(quint32(m_properties.size())) + table + values;
}

static QByteArray guidBytes(const QUuid &id)
{
    return le32(id.data1) + le16(id.data2) + le16(id.data3) + QByteArray(reinterpret_cast<const char *>(id.data4), 8);
}

QByteArray propertySetStream(const QList<QPair<QUuid, QByteArray>> &sections)
{
    QByteArray header =
        le16(0xFFFE) + le16(0) + le32(0x00020006) + QByteArray(16, '\0') + le32(quint32(sections.size()));
    quint32 offset = quint32(header.size() + 20 * sections.size());
    QByteArray bodies;
    for (const auto &section : sections) {
        header += guidBytes(section.first) + le32(offset + quint32(bodies.size()));
        bodies += section.second;
    }
    return header + bodies;
}

bool writeCompoundFile(const QString &path, const QList<QPair<QByteArray, QByteArray>> &streams)
{
    gsf_init();
    GsfOutput *output = gsf_output_stdio_new(QFile::encodeName(path).constData(), nullptr);
    if (!output)
        return false;
    GsfOutfile *storage = gsf_outfile_msole_new(output);
    g_object_unref(output);
    bool ok = storage != nullptr;
    for (const auto &stream : streams) {
        if (!ok)
            break;
        GsfOutput *child = gsf_outfile_new_child(storage, stream.first.constData(), FALSE);
        ok = child
            && gsf_output_write(child, size_t(stream.second.size()),
                                reinterpret_cast<const guint8 *>(stream.second.constData()))
            && gsf_output_close(child);
        if (child)
            g_object_unref(child);
    }
    if (storage) {
        ok = gsf_output_close(GSF_OUTPUT(storage)) && ok;
        g_object_unref(storage);
    }
    return ok;
}

static GValue *stringValue(const QString &text)
{
    GValue *value = g_new0(GValue, 1);
    g_value_init(value, G_TYPE_STRING);
    g_value_set_string(value, text.toUtf8().constData());
    return value;
}

bool writeCompoundFileWithGsfMetadata(const QString &path, const QString &title, const QString &subject,
                                      const QString &author)
{
    gsf_init();
    GsfOutput *output = gsf_output_stdio_new(QFile::encodeName(path).constData(), nullptr);
    if (!output)
        return false;
    GsfOutfile *storage = gsf_outfile_msole_new(output);
    g_object_unref(output);
    GsfDocMetaData *meta = gsf_doc_meta_data_new();
    gsf_doc_meta_data_insert(meta, g_strdup(GSF_META_NAME_TITLE), stringValue(title));
    gsf_doc_meta_data_insert(meta, g_strdup(GSF_META_NAME_SUBJECT), stringValue(subject));
    gsf_doc_meta_data_insert(meta, g_strdup(GSF_META_NAME_CREATOR), stringValue(author));
    GsfOutput *child = gsf_outfile_new_child(storage, "\005SummaryInformation", FALSE);
    bool ok = gsf_doc_meta_data_write_to_msole(meta, child, FALSE) && gsf_output_close(child);
    g_object_unref(child);
    GsfOutput *body = gsf_outfile_new_child(storage, "WordDocument", FALSE);
    ok = gsf_output_write(body, 4, reinterpret_cast<const guint8 *>("body")) && gsf_output_close(body) && ok;
    g_object_unref(body);
    g_object_unref(meta);
    ok = gsf_output_close(GSF_OUTPUT(storage)) && ok;
    g_object_unref(storage);
    return ok;
}

} // namespace quillbay::test
