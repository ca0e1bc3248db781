// Writes the seed corpora of the fuzz targets: small valid files of each kind,
// built by the same helpers the unit tests use.
// Usage: fuzz_make_seeds <corpus folder>   (writes exif/, id3/, docprops/)
//
// exif/exiftool-made.jpg and .tif are jpeg-exif-le.jpg and tiff-be.tif after
// exiftool -Make="Quillbay Optics" -Model=QB-7 -DateTimeOriginal=... -ExposureTime=1/60
// -FNumber=4 -EXIF:Flash#=16 -GPSLatitude=35.6 -GPSLatitudeRef=N -Artist=Someone
// rewrote them (its own layout of the directories).

#include "CompoundFileBuilder.h"
#include "ExifBuilder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

using namespace quillbay::test;

namespace {

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

TiffBuilder camera(bool bigEndian)
{
    TiffBuilder t(bigEndian);
    t.ascii(Ifd::Zero, 0x010F, "Maker Co")
        .ascii(Ifd::Zero, 0x0110, "Snap 300")
        .ascii(Ifd::Zero, 0x0132, "2003:12:24 18:30:05")
        .shortValue(Ifd::Zero, 0x0100, 640)
        .rational(Ifd::Exif, 0x829A, 10, 1250)
        .rational(Ifd::Exif, 0x829D, 28, 10)
        .srational(Ifd::Exif, 0x9201, 7, 1)
        .rational(Ifd::Exif, 0x9202, 5, 1)
        .srational(Ifd::Exif, 0x9203, -3, 2)
        .entry(Ifd::Exif, 0x9000, 7, 4, "0220")
        .ascii(Ifd::Exif, 0x9003, "2003:12:24 18:30:06")
        .shortValue(Ifd::Exif, 0x9209, 0x19)
        .longValue(Ifd::Exif, 0xA002, 640)
        .shortValue(Ifd::One, 0x0100, 160);
    return t;
}

bool exifSeeds(const QDir &dir)
{
    return write(dir.filePath("jpeg-exif-be.jpg"), jpegFile(exifSegment(camera(true).build()) + frameSegment(640, 480)))
        && write(dir.filePath("jpeg-exif-le.jpg"),
                 jpegFile(exifSegment(camera(false).build()) + frameSegment(64, 48, 0xC2)))
        && write(dir.filePath("jpeg-jfif.jpg"),
                 jpegFile(jfifSegment() + exifSegment(camera(false).build()) + frameSegment(8, 8)))
        && write(dir.filePath("tiff-le.tif"), camera(false).build())
        && write(dir.filePath("tiff-be.tif"), camera(true).build());
}

QByteArray id3(const QByteArray &title, const QByteArray &artist)
{
    const auto field = [](const QByteArray &text, int length) {
        return (text + QByteArray(length, '\0')).left(length);
    };
    return "TAG" + field(title, 30) + field(artist, 30) + field("Album", 30) + "1999" + field("Comment", 30) + char(12);
}

bool id3Seeds(const QDir &dir)
{
    // The first byte picks the code page in the fuzz target.
    return write(dir.filePath("ascii"), QByteArray(1, '\1') + QByteArray(64, 'a') + id3("Song", "Band"))
        && write(dir.filePath("shift-jis"), QByteArray(1, '\0') + id3("\x93\xfa\x96\x7b\x8c\xea", "\xb1\xb2"))
        && write(dir.filePath("cyrillic"), QByteArray(1, '\2') + id3("\xcf\xf0\xe8", "  Intro  "))
        && write(dir.filePath("no-tag"), QByteArray(1, '\3') + QByteArray(200, 'x'));
}

bool docSeeds(const QDir &dir)
{
    SectionBuilder english;
    english.codePage(1252)
        .lpstr(2, "Annual Report")
        .lpstr(3, "Finance")
        .lpstr(4, "Jos\xe9")
        .fileTime(12, 127222530960000000ull)
        .lpstrVector(20, {"a", "bcd"}, false);
    SectionBuilder japanese;
    japanese.codePage(932)
        .lpstr(2, "\x93\xfa\x96\x7b\x8c\xea")
        .lpwstr(3, QStringLiteral("x"))
        .lpstr(4, "\x8e\x52\x93\x63");
    SectionBuilder unicode;
    unicode.codePage(1200)
        .lpstrUnicode(2, QStringLiteral("Title"))
        .lpwstrVector(21, {QStringLiteral("p"), QStringLiteral("qr")});
    SectionBuilder doc;
    doc.codePage(1252).lpstr(2, "Reports").lpstr(15, "Company").i4(23, 7);
    SectionBuilder user;
    user.codePage(1252).dictionary({{2, "Project"}}).lpstr(2, "Apollo");
    const QByteArray summary = propertySetStream({{SummaryFormatId, english.build()}});
    const QByteArray documentSummary =
        propertySetStream({{DocumentSummaryFormatId, doc.build()}, {UserDefinedFormatId, user.build()}});
    QTemporaryDir temp;
    const QString full = temp.filePath("full.doc");
    const QString japaneseDoc = temp.filePath("japanese.doc");
    if (!writeCompoundFile(full,
                           {{"WordDocument", QByteArray(700, 'w')},
                            {"\005SummaryInformation", summary},
                            {"\005DocumentSummaryInformation", documentSummary}})
        || !writeCompoundFile(japaneseDoc,
                              {{"\005SummaryInformation", propertySetStream({{SummaryFormatId, japanese.build()}})}}))
        return false;
    QFile a(full), b(japaneseDoc);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly))
        return false;
    return write(dir.filePath("full.doc"), a.readAll()) && write(dir.filePath("japanese.doc"), b.readAll())
        && write(dir.filePath("summary.stream"), summary) && write(dir.filePath("document.stream"), documentSummary)
        && write(dir.filePath("unicode.stream"), propertySetStream({{SummaryFormatId, unicode.build()}}));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    QDir root(QString::fromLocal8Bit(argv[1]));
    for (const char *name : {"exif", "id3", "docprops"}) {
        if (!root.mkpath(QString::fromLatin1(name)))
            return 1;
    }
    const bool ok = exifSeeds(QDir(root.filePath("exif"))) && id3Seeds(QDir(root.filePath("id3")))
        && docSeeds(QDir(root.filePath("docprops")));
    return ok ? 0 : 1;
}
