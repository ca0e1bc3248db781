#pragma once
// Reading of the string table files (app/resources/strings/UiText.*.txt):
// UTF-8 lines of the form <id>=<text>, with the escapes \r \n \t \\ in the text,
// "#" comment lines and blank lines. The README next to the files describes the
// format for translators.

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace quillbay {

struct ParsedStringTable {
    QHash<int, QString> texts;
    QList<int> ids;     // in file order, each once
    QStringList errors; // one per rejected line, with its line number
};

// Parses a whole file. A malformed line is rejected and reported in errors; the
// other lines are still read. A repeated identifier keeps its first text.
ParsedStringTable parseStringTable(QByteArrayView utf8);

// The text of one entry with its escapes resolved; no value when an escape is
// unknown or a backslash ends the text.
std::optional<QString> unescapeTableText(QStringView escaped);

} // namespace quillbay
