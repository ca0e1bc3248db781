#pragma once
// The trees the benchmark works on: a deterministic plan of folders and file
// names (realistic names: spaces, mixed case, digits, several extensions, some
// non-ASCII letters), and the operations that put such a tree on disk and take
// it away again. Every measurement starts from a freshly made copy of a plan.

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

enum class Layout { Flat, Nested };

const char *layoutName(Layout layout);

struct PlannedFile {
    int folder = 0;   // index into TreePlan::folders
    std::string name; // UTF-8
    bool old = false; // modification time set days back (outside the date filter)
};

struct TreePlan {
    Layout layout = Layout::Flat;
    // Relative paths of the folders; folders[0] is the root itself ("").
    // Parents come before their children.
    std::vector<std::string> folders;
    std::vector<PlannedFile> files;
    // Depth below the root at which every file lies (0 flat, 2 nested).
    int fileDepth = 0;
};

// The same n and layout always give the same plan.
TreePlan planTree(Layout layout, int n);

// Creates the plan's folders and empty files under root, which must not
// exist yet. False (with a message on stderr) when anything fails.
bool makeTree(const std::string &root, const TreePlan &plan);

// Removes root and everything below it. Follows no symbolic links.
bool removeTree(const std::string &root);

// Number of entries under root (recursively, files only) whose name starts with prefix.
long countFilesWithPrefix(const std::string &root, const std::string &prefix);

} // namespace bench
