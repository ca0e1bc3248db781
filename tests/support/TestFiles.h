#pragma once
// Whole files and folders for tests: what a test writes, it checks it wrote.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quillbay::test {

// The whole content of a file; "<missing>" when it cannot be read (no file of
// the tests holds that text, so a missing file never equals an expected one).
QByteArray readFile(const QString &path);

// Writes a file whole, creating its folder first; a file that cannot be
// written fails the running test.
void writeFile(const QString &path, const QByteArray &content = "x");

// The exact names in a folder (files and folders, hidden ones too), sorted.
QStringList namesIn(const QString &folder);

// The UTF-16 little-endian bytes of a text, without a byte-order mark.
QByteArray utf16(const QString &text);

} // namespace quillbay::test
