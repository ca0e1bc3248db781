#pragma once
// The entries of the preview document as the preview list shows them: one
// row per entry, in document order, with the rows that need the user's
// attention and the counts of the summary line. It is read on the worker that
// made or carried out the document, so that a list of a million entries costs
// the window's thread nothing per entry; the rows are the document's own
// elements, valid until the document next changes.

#include <pugixml.hpp>
#include <vector>

namespace quillbay {

class PreviewDocument;

struct PreviewEntries {
    std::vector<pugi::xml_node> rows;
    // Rows the preview cleared (they carry a reason), or, after a run, rows that failed.
    std::vector<int> attention;
    int checked = 0;
    int cleared = 0;
    int renamed = 0;
    int failed = 0;
    bool afterRun = false; // the rows carry the outcome of a run

    // Reads every file and folder entry of the document (without changing it).
    static PreviewEntries read(const PreviewDocument &document, bool afterRun);
    // Writes "True" on every entry without an include mark (or with one that
    // is no flag), as the list showed them checked. Done as the run starts
    // rather than as the list is filled: the report is the same, and a large
    // list shows sooner.
    static void markShownEntries(PreviewDocument &document);

    int size() const { return int(rows.size()); }
    // The first attention row after row, wrapping round; -1 when there is none.
    int nextAttention(int row) const;
};

// Whether the entry is checked (include read as a flag; missing means checked).
bool entryChecked(pugi::xml_node entry);

} // namespace quillbay
