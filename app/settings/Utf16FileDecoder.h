#pragma once
// Reads a file written in UTF-16 LE with a byte order mark (the form in which
// this program writes its documents) and gives it back as UTF-8, converted
// piece by piece while it is read.
//
// A report of a million renames is a quarter of a gigabyte in UTF-16: read
// whole and then converted, it would first sit in memory as it is on disk.
// Here only a small piece of it is in memory at a time besides the UTF-8
// result, which goes to the XML parser as it stands.

#include <QFile>
#include <cstddef>

namespace quillbay {

struct DecodedUtf16File {
    enum Outcome {
        Decoded,    // text holds the file's content as UTF-8, without the byte order mark
        NotUtf16Le, // the file does not start with the UTF-16 LE byte order mark
        Irregular,  // an odd byte count, an unpaired surrogate or a file that grew while read
        ReadFailed, // see the file's errorString()
        NoMemory,
    };
    Outcome outcome = NotUtf16Le;
    char *text = nullptr; // from allocate; the caller owns it when Decoded
    std::size_t length = 0;
};

// file is open for reading at its start. allocate/release are the memory
// functions the result is to be given back with.
DecodedUtf16File decodeUtf16LeFile(QFile &file, void *(*allocate)(std::size_t), void (*release)(void *));

} // namespace quillbay
