#pragma once
// Small element operations shared by every part of the program that reads or
// writes its XML documents (settings, options, previews and reports).
//
// Documents are pugixml trees in UTF-8; text crosses into QString here and
// nowhere else. Failures are results: nothing in this file throws.

#include "base/AtomicFile.h"
#include "base/Numbers.h"
#include "base/Result.h"
#include "base/Utf8Text.h"

#include <QString>
#include <optional>
#include <pugixml.hpp>

namespace quillbay {

// Converts the text of a flag attribute: "true"/"false" in any letter case, or a
// number where zero means false. Anything else gives no value.
std::optional<bool> parseFlag(const QString &text);

// The text of a UTF-8 string from pugixml as a QString (a leading U+FEFF
// kept: it may begin a file name), and back.
inline QString toQString(const char *utf8)
{
    return textFromUtf8(utf8);
}
inline QString toQString(const pugi::xml_attribute &a)
{
    return textFromUtf8(a.value());
}
inline std::string toUtf8(const QString &text)
{
    return text.toStdString();
}

class XmlTools
{
public:
    // Parsing options of every document the program loads: keeps comments,
    // processing instructions and the declaration (so unknown nodes survive a
    // save), drops white-space-only text, resolves no external entities.
    static unsigned int parseOptions();

    // Loads a file (any encoding with a byte-order mark, or UTF-8). On failure
    // the document is left empty and the error describes why.
    static Result<void> loadFile(pugi::xml_document &doc, const QString &path);
    static Result<void> loadText(pugi::xml_document &doc, const QString &text);

    // First child element called name; created and appended when missing and create is set.
    static pugi::xml_node childElement(pugi::xml_node parent, const char *name, bool create);
    // First child element called name whose attribute equals value; created when asked.
    static pugi::xml_node keyedChild(pugi::xml_node parent, const char *name, const char *attribute,
                                     const QString &value, bool create);
    // The document element; a new one called name when the document has none.
    static pugi::xml_node root(pugi::xml_document &doc, const char *name);

    // The attribute's text; when missing, the default (written into the element with fillIn).
    static QString ReadAttribute(pugi::xml_node element, const char *name, const QString &defaultValue, bool fillIn);
    // The attribute as a flag; when missing or not a flag, the default, written back as "True"/"False".
    static bool ReadFlagAttribute(pugi::xml_node element, const char *name, bool defaultValue);
    // The attribute as plain decimal digits; otherwise the default (written back with fillIn).
    static int readWholeNumberAttribute(pugi::xml_node element, const char *name, int defaultValue, bool fillIn);
    // The attribute as a number rounded to a whole one. Missing, not numeric or
    // beyond the range of int: the default; below minimum: the minimum. Either
    // replacement is written back; a usable value is left as written.
    static int ReadIntAttribute(pugi::xml_node element, const char *name, int defaultValue, int minimum);

    static void setAttribute(pugi::xml_node element, const char *name, const QString &value);
    static void removeChild(pugi::xml_node parent, pugi::xml_node child);
    static void removeAllChildren(pugi::xml_node parent);
    static pugi::xml_node appendChild(pugi::xml_node parent, const char *name);

    // Gives the document a leading declaration <?xml version="1.0" encoding="..."?>,
    // replacing an existing one.
    static void ensureDeclaration(pugi::xml_document &doc, const char *encoding = "UTF-16");

    // Serializes as the program writes every XML file: UTF-16 little-endian with
    // a byte-order mark, the declaration <?xml version="1.0" encoding="UTF-16"?>
    // and no indentation. prologue, when given, replaces that declaration and
    // everything before the document element (reports start with a fixed prologue).
    static QByteArray serialize(const pugi::xml_document &doc, const QString &prologue = {});
    // The same bytes, written to an open file as they are made, so that a
    // document of tens of megabytes is never held twice. False (errno set) when
    // a write fails.
    static bool serializeToFile(const pugi::xml_document &doc, const QString &prologue, int fd);

    // Writes the document to path through writeFileAtomically (base/AtomicFile.h):
    // a failed save leaves the old file as it was.
    static Result<void> saveToPath(const pugi::xml_document &doc, const QString &path, const QString &prologue = {});
};

} // namespace quillbay
