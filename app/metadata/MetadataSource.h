#pragma once
// What the naming rules read from inside files: Exif camera data, the MP3 tag
// trailer and the summary properties of Office documents.
//
// A source is made once per preview run (it may keep one reader for the whole
// run); each read opens the file, takes what the rules need and closes it again.
// A missing value is no failure: the read answers no value and the rule that
// asked does nothing.

#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>

namespace quillbay {

struct ExifFacts {
    bool hasDateTime = false;
    QDateTime dateTime; // the picture's date-time as recorded, local time
    qint64 width = 0;
    qint64 height = 0;
    QString manufacturer;
    QString model;
    QString flash;                  // the reader's text for the flash field
    QString fNumber;                // the reader's F number text
    QString exposureTime;           // exposure time text, plain (mode 0)
    QString exposureTimeReciprocal; // exposure time text, reciprocal (mode 10)
};

struct Mp3Facts {
    QString songTitle;
    QString artist;
    QString album;
    QString year;
    QString comment;
};

struct OfficeFacts {
    QString title;
    QString subject;
    QString author;
};

class MetadataSource
{
public:
    virtual ~MetadataSource() = default;
    virtual std::optional<ExifFacts> readExif(const QString &path) = 0;
    virtual std::optional<Mp3Facts> readMp3(const QString &path) = 0;
    virtual std::optional<OfficeFacts> readOffice(const QString &path) = 0;
};

// The readers the program uses.
std::unique_ptr<MetadataSource> makeFileMetadataSource();

} // namespace quillbay
