#pragma once
// The bookkeeping of one folder during a preview: its files and child folders
// sorted by name, the new names already taken, and the order in which the
// files' renames can be carried out one after the other.

#include "base/HashIndex.h"
#include "base/LargeMemory.h"
#include "engine/NameBlock.h"
#include "engine/NameCompare.h"
#include "run/ClearedReason.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace quillbay {

class PreviewDocument;
class TemporaryNameSource;

struct RenamePreviewListItem {
    enum State { NotEmitted = 0, Emitted = 1, Blocked = 2, EmittedInCycle = 3 };
    bool isTarget = false;
    bool include = false;
    bool isFolder = false;
    ClearedReason cleared = ClearedReason::None; // why include is false, once decided
    int state = NotEmitted;
    QString name;
    QString newName;
};

class FolderListing
{
public:
    // A folder may hold a million items: its tables live in large memory.
    template<typename T>
    using Table = std::vector<T, LargeMemory::Allocator<T>>;

    FolderListing(QString folderPath, const NameSorter &sorter);

    // Room for count items and as many new names.
    void reserve(size_t count);
    void addItem(QStringView name, bool isFolder);
    // Adds every name of the block as a file; cheapest while the listing is empty.
    void addFiles(NameBlock &&names);
    // Sorts by current name without regard to case; call once, after adding
    // every item. The items exist from then on.
    void sort();
    Table<RenamePreviewListItem> &items() { return m_items; }

    // Registers a new name of this folder; false when it is already taken
    // (compared without regard to case).
    bool takeNewName(const QString &newName);

    // Registers the new name of the item at index, a file, and sets its
    // include flag: false when an earlier new name of this folder has it.
    // The decision is made when the next name is queued, or by
    // settleNewNames(): in a large folder the look-up waits for memory, and
    // meanwhile the rules of the next file run.
    void queueNewName(int index);
    // Decides the queued name, if any.
    void settleNewNames();
    // How many queued names have been refused since the listing was sorted.
    int refusedNewNames() const { return m_refusedNewNames; }

    // The item whose current name equals name without regard to case. An
    // item of exactly that name wins over one that differs in case only.
    std::optional<int> FindItemByName(const QString &name) const;

    // Emits the file entries of this folder, those whose new names were
    // queued and taken, into the preview document so that
    // every rename targets a name that is free at that moment; a cycle goes
    // through a temporary name. Returns how many entries had to be blocked.
    int OrderFolderEntries(PreviewDocument &preview, TemporaryNameSource &temporaryNames);

private:
    struct Frame;
    struct Place;
    void sortByFoldedText(Place *begin, Place *end, qsizetype depth);
    void resolveChain(int start, PreviewDocument &preview, TemporaryNameSource &temporaryNames, int &blocked);
    std::optional<int> findItem(const QString &name, size_t foldedHash) const;
    void emitEntry(PreviewDocument &preview, const QString &name, const QString &newName, bool include,
                   ClearedReason cleared = ClearedReason::None);
    bool takeNewName(const QString &newName, size_t hash);

    QString m_folderPath;
    const NameSorter &m_sorter;
    NameBlock m_names; // the names as added, until sort()
    std::vector<bool> m_addedAsFolder;
    Table<RenamePreviewListItem> m_items;
    HashIndex m_byFoldedName; // item indexes by foldedNameHash; filled by sort()
    HashIndex m_taken;        // indexes into m_takenNames, by foldedNameHash
    Table<QString> m_takenNames;
    QString m_cycleTemporaryName;
    std::vector<char> m_onStack;     // items of the chain being resolved
    Table<uint32_t> m_newNameHashes; // foldedNameHash of each queued item's new name
    int m_queuedItem = -1;           // the item whose new name waits to be taken
    int m_refusedNewNames = 0;
};

} // namespace quillbay
