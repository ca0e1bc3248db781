#pragma once
// The string table files as compiled into the program. The definitions are
// generated at build time from app/resources/strings (EmbedStrings.cmake).

#include <cstddef>

namespace quillbay::embedded {

struct EmbeddedFile {
    const unsigned char *data = nullptr;
    std::size_t size = 0;
    bool present = false; // false when the file did not exist at build time
};

EmbeddedFile englishTable();
EmbeddedFile japaneseTable();
// Entry 980: the settings document used when there is no usable settings file.
EmbeddedFile defaultSettingsDocument();

} // namespace quillbay::embedded
