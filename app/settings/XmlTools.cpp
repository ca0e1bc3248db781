#include "settings/XmlTools.h"

#include "settings/Utf16FileDecoder.h"

#include "base/AtomicFile.h"
#include "base/FileIo.h"
#include "base/LargeMemory.h"
#include "base/ReadableFile.h"
#include "text/ErrorTexts.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace quillbay {

namespace {

// Every XML document keeps its nodes and texts in pages of about 32 KiB. A
// preview or report of many entries fills hundreds of them, so they come from
// a pool of large regions (see LargeMemory); other sizes come from malloc.
constexpr std::size_t kXmlPageBlock = 32768 + 128;
constexpr std::size_t kXmlPageSmallest = 16384;
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPoolXmlPages = false; // AddressSanitizer watches only what malloc hands out
#else
constexpr bool kPoolXmlPages = true;
#endif

LargeMemory::BlockPool &xmlPages()
{
    // Never destroyed: documents that outlive the end of main still give their pages back.
    static auto *pool = new LargeMemory::BlockPool(kXmlPageBlock);
    return *pool;
}

void *allocateXmlMemory(std::size_t size)
{
    if (kPoolXmlPages && size > kXmlPageSmallest && size <= xmlPages().blockSize()) {
        if (void *block = xmlPages().take())
            return block;
    }
    return std::malloc(size);
}

void releaseXmlMemory(void *memory)
{
    if (!xmlPages().give(memory))
        std::free(memory);
}

// Memory that pugixml took before this ran is malloc's, which the release
// above hands back to free: the functions may be set at any time.
const bool xmlMemoryInstalled = (pugi::set_memory_management_functions(allocateXmlMemory, releaseXmlMemory), true);

} // namespace

std::optional<bool> parseFlag(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    if (auto n = parseNumber(t))
        return *n != 0.0;
    return std::nullopt;
}

unsigned int XmlTools::parseOptions()
{
    return pugi::parse_default | pugi::parse_declaration | pugi::parse_pi | pugi::parse_comments | pugi::parse_doctype;
}

static Result<void> reportParse(const pugi::xml_parse_result &r, pugi::xml_document &doc)
{
    if (r)
        return {};
    doc.reset();
    return Error::withMessage(xmlErrorText(QString::fromUtf8(r.description()), qint64(r.offset)));
}

// Opens the file for reading, keeping the system's reason when that fails.
static Result<void> openFile(QFile &file, const QString &path)
{
    const Result<int> fd = openForReading(path);
    if (!fd)
        return fd.error();
    if (!file.open(fd.value(), QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd.value());
        return Error::withMessage(file.errorString());
    }
    return {};
}

Result<void> XmlTools::loadFile(pugi::xml_document &doc, const QString &path)
{
    QFile file;
    const auto readFailed = [&]() -> Result<void> {
        doc.reset();
        return Error::withMessage(file.errorString());
    };
    if (Result<void> opened = openFile(file, path); !opened) {
        doc.reset();
        return opened;
    }

    // What this program writes is converted while it is read; anything else,
    // or anything irregular, goes to pugixml's own detection and conversion.
    const DecodedUtf16File decoded = decodeUtf16LeFile(file, allocateXmlMemory, releaseXmlMemory);
    switch (decoded.outcome) {
    case DecodedUtf16File::Decoded:
        // The document takes the text over and parses it where it lies.
        return reportParse(
            doc.load_buffer_inplace_own(decoded.text, decoded.length, parseOptions(), pugi::encoding_utf8), doc);
    case DecodedUtf16File::ReadFailed:
        return readFailed();
    case DecodedUtf16File::NotUtf16Le:
    case DecodedUtf16File::Irregular:
    case DecodedUtf16File::NoMemory:
        break;
    }
    if (!file.seek(0))
        return readFailed();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return readFailed();
    return reportParse(doc.load_buffer(bytes.constData(), size_t(bytes.size()), parseOptions()), doc);
}

Result<void> XmlTools::loadText(pugi::xml_document &doc, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return reportParse(doc.load_buffer(utf8.constData(), size_t(utf8.size()), parseOptions(), pugi::encoding_utf8),
                       doc);
}

pugi::xml_node XmlTools::childElement(pugi::xml_node parent, const char *name, bool create)
{
    if (!parent)
        return {};
    pugi::xml_node child = parent.child(name);
    if (!child && create)
        child = parent.append_child(name);
    return child;
}

pugi::xml_node XmlTools::keyedChild(pugi::xml_node parent, const char *name, const char *attribute,
                                    const QString &value, bool create)
{
    if (!parent)
        return {};
    const std::string key = toUtf8(value);
    for (pugi::xml_node child = parent.child(name); child; child = child.next_sibling(name)) {
        // A child without the attribute has no key at all; it must not pass
        // for one whose key is the empty text.
        const pugi::xml_attribute a = child.attribute(attribute);
        if (a && key == a.value())
            return child;
    }
    if (!create)
        return {};
    pugi::xml_node child = parent.append_child(name);
    child.append_attribute(attribute).set_value(key.c_str());
    return child;
}

pugi::xml_node XmlTools::root(pugi::xml_document &doc, const char *name)
{
    pugi::xml_node root = doc.document_element();
    if (!root)
        root = doc.append_child(name);
    return root;
}

QString XmlTools::ReadAttribute(pugi::xml_node element, const char *name, const QString &defaultValue, bool fillIn)
{
    pugi::xml_attribute a = element.attribute(name);
    if (a)
        return toQString(a);
    if (fillIn && element)
        setAttribute(element, name, defaultValue);
    return defaultValue;
}

bool XmlTools::ReadFlagAttribute(pugi::xml_node element, const char *name, bool defaultValue)
{
    pugi::xml_attribute a = element.attribute(name);
    if (a) {
        if (auto flag = parseFlag(toQString(a)))
            return *flag;
    }
    if (element)
        setAttribute(element, name, defaultValue ? QStringLiteral("True") : QStringLiteral("False"));
    return defaultValue;
}

static std::optional<int> parseWholeNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    return text.toInt();
}

int XmlTools::readWholeNumberAttribute(pugi::xml_node element, const char *name, int defaultValue, bool fillIn)
{
    pugi::xml_attribute a = element.attribute(name);
    if (a) {
        if (auto n = parseWholeNumber(toQString(a)))
            return *n;
    }
    if (fillIn && element)
        setAttribute(element, name, QString::number(defaultValue));
    return defaultValue;
}

int XmlTools::ReadIntAttribute(pugi::xml_node element, const char *name, int defaultValue, int minimum)
{
    pugi::xml_attribute a = element.attribute(name);
    std::optional<double> number = a ? parseNumber(toQString(a)) : std::nullopt;
    // A number beyond the range of int cannot be taken as written; clamping it
    // would hand the engine an absurd count, so it counts as no number at all.
    if (number && (*number >= 2147483647.5 || *number <= -2147483648.5))
        number.reset();
    if (number) {
        const int value = roundHalfEven(*number);
        if (value >= minimum)
            return value;
    }
    const int taken = number ? minimum : std::max(defaultValue, minimum);
    if (element)
        setAttribute(element, name, QString::number(taken));
    return taken;
}

void XmlTools::setAttribute(pugi::xml_node element, const char *name, const QString &value)
{
    if (!element)
        return;
    pugi::xml_attribute a = element.attribute(name);
    if (!a)
        a = element.append_attribute(name);
    a.set_value(toUtf8(value).c_str());
}

void XmlTools::removeChild(pugi::xml_node parent, pugi::xml_node child)
{
    if (parent && child)
        parent.remove_child(child);
}

void XmlTools::removeAllChildren(pugi::xml_node parent)
{
    while (parent && parent.first_child())
        parent.remove_child(parent.first_child());
}

pugi::xml_node XmlTools::appendChild(pugi::xml_node parent, const char *name)
{
    return parent ? parent.append_child(name) : pugi::xml_node();
}

void XmlTools::ensureDeclaration(pugi::xml_document &doc, const char *encoding)
{
    pugi::xml_node first = doc.first_child();
    pugi::xml_node decl;
    if (first && first.type() == pugi::node_declaration) {
        decl = first;
        decl.remove_attributes();
    } else {
        decl = doc.prepend_child(pugi::node_declaration);
    }
    decl.append_attribute("version").set_value("1.0");
    decl.append_attribute("encoding").set_value(encoding);
}

namespace {
struct ByteArrayWriter : pugi::xml_writer {
    explicit ByteArrayWriter(QByteArray &target) : out(target) {}
    QByteArray &out;
    void write(const void *data, size_t size) override { out.append(static_cast<const char *>(data), qsizetype(size)); }
};

void appendUtf16Le(QByteArray &bytes, const QString &text)
{
    const qsizetype start = bytes.size();
    bytes.resize(start + text.size() * 2);
    char *dst = bytes.data() + start;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        *dst++ = char(u & 0xff);
        *dst++ = char(u >> 8);
    }
}
} // namespace

// Writes the byte-order mark, the head and the document through writer: the
// one way both serializers make their bytes.
static void serializeThrough(pugi::xml_writer &writer, const pugi::xml_document &doc, const QString &prologue)
{
    const QString head = prologue.isEmpty() ? QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>") : prologue;
    QByteArray start;
    start.append(char(0xff));
    start.append(char(0xfe));
    appendUtf16Le(start, head);
    writer.write(start.constData(), size_t(start.size()));
    // pugixml writes UTF-16 itself, straight to the writer: the report of a
    // large run is tens of megabytes, and no intermediate copy is made.
    const unsigned int flags = pugi::format_raw | pugi::format_no_declaration;
    if (prologue.isEmpty()) {
        // The bytes are UTF-16 whatever the loaded file said, so the document's
        // own declaration (which may name another encoding, or be missing) is
        // never copied: the file always starts with the UTF-16 declaration.
        for (pugi::xml_node node = doc.first_child(); node; node = node.next_sibling()) {
            if (node.type() != pugi::node_declaration)
                node.print(writer, "", flags, pugi::encoding_utf16_le);
        }
    } else {
        // The prologue stands in for the document's own declaration and
        // processing instructions; only the document element follows it.
        doc.document_element().print(writer, "", flags, pugi::encoding_utf16_le);
    }
}

QByteArray XmlTools::serialize(const pugi::xml_document &doc, const QString &prologue)
{
    QByteArray bytes;
    ByteArrayWriter writer(bytes);
    serializeThrough(writer, doc, prologue);
    return bytes;
}

namespace {
// Collects pugixml's small pieces into large writes; after the first failed
// write it writes nothing more and keeps the error.
struct FileWriter : pugi::xml_writer {
    explicit FileWriter(int descriptor) : fd(descriptor) { buffer.reserve(kSize); }
    ~FileWriter() override = default;
    void write(const void *data, size_t size) override
    {
        if (buffer.size() + size > kSize)
            flush();
        if (size > kSize)
            writeOut(static_cast<const char *>(data), size);
        else
            buffer.append(static_cast<const char *>(data), size);
    }
    bool flush()
    {
        writeOut(buffer.data(), buffer.size());
        buffer.clear();
        return error == 0;
    }
    void writeOut(const char *p, size_t size)
    {
        if (error == 0)
            error = writeAll(fd, p, size);
    }
    static constexpr size_t kSize = 256 * 1024;
    int fd;
    int error = 0;
    std::string buffer;
};
} // namespace

bool XmlTools::serializeToFile(const pugi::xml_document &doc, const QString &prologue, int fd)
{
    FileWriter writer(fd);
    serializeThrough(writer, doc, prologue);
    if (writer.flush())
        return true;
    errno = writer.error;
    return false;
}

Result<void> XmlTools::saveToPath(const pugi::xml_document &doc, const QString &path, const QString &prologue)
{
    return writeFileAtomically(path, serialize(doc, prologue));
}

} // namespace quillbay
