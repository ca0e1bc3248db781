#pragma once
// The ID3 version 1 tag: the fixed 128-byte trailer of an MP3 file that holds
// song title, artist, album, year, comment and genre number. Its texts carry
// no encoding mark; they are read in the legacy code page of the user's locale
// (see LegacyCodePage.h).

#include <QByteArray>
#include <QString>

namespace quillbay {

struct Mp3Tag {
    QString title;
    QString artist;
    QString album;
    QString year;
    QString comment;
    quint8 genre = 0;
};

// Reads the tag at the end of the file. True when the last 128 bytes start
// with "TAG"; tag is filled only then.
bool readMp3Tag(const QString &path, Mp3Tag &tag);

// The same for the 128 trailer bytes themselves, text read in encoding (an
// iconv name). False unless trailer holds 128 bytes starting with "TAG".
bool parseMp3Trailer(const QByteArray &trailer, const QByteArray &encoding, Mp3Tag &tag);

} // namespace quillbay
