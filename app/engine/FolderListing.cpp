#include "engine/FolderListing.h"

#include "run/PreviewDocument.h"
#include "run/TemporaryName.h"

#include "base/Assert.h"

#include <algorithm>

namespace quillbay {

FolderListing::FolderListing(QString folderPath, const NameSorter &sorter)
    : m_folderPath(std::move(folderPath)), m_sorter(sorter)
{
}

void FolderListing::reserve(size_t count)
{
    m_items.reserve(count);
    m_taken.reserve(count);
    m_takenNames.reserve(count);
}

void FolderListing::addItem(QStringView name, bool isFolder)
{
    m_names.append(name);
    m_addedAsFolder.push_back(isFolder);
}

void FolderListing::addFiles(NameBlock &&names)
{
    if (m_names.empty()) {
        m_names = std::move(names);
    } else {
        for (size_t i = 0; i < names.size(); ++i)
            m_names.append(names.at(i));
    }
    names.clear();
    m_addedAsFolder.resize(m_names.size(), false);
}

// An item's place in the sorted order, with the folded code units of its name
// from some depth on (sixteen of them, big-endian, zeros past the end).
struct FolderListing::Place {
    static constexpr qsizetype kUnits = 16;
    quint64 head[4];
    int index;
    uint32_t hash; // foldedNameHash of the name, taken while the name is at hand

    void takeHead(QStringView name, qsizetype depth) { foldedHeads(name, depth, head, 4); }
    bool headsBefore(const Place &other) const
    {
        for (int i = 0; i < 4; ++i) {
            if (head[i] != other.head[i])
                return head[i] < other.head[i];
        }
        return false;
    }
    bool sameHeads(const Place &other) const { return std::equal(head, head + 4, other.head); }
};

// Orders places by the folded text of their names, sixteen code units at a
// time: sorting by the units at one depth never reaches into the strings, and
// only places that agree so far have their next units read, each once. Names
// whose folded texts are alike are ordered by their exact text.
void FolderListing::sortByFoldedText(Place *begin, Place *end, qsizetype depth)
{
    std::sort(begin, end, [](const Place &a, const Place &b) { return a.headsBefore(b); });
    for (Place *run = begin; run != end;) {
        Place *runEnd = run + 1;
        while (runEnd != end && run->sameHeads(*runEnd))
            ++runEnd;
        if (runEnd - run > 1) {
            const auto nameOf = [this](const Place &p) { return m_names.at(size_t(p.index)); };
            const bool allEnded =
                std::all_of(run, runEnd, [&](const Place &p) { return nameOf(p).size() <= depth + Place::kUnits; });
            if (allEnded) {
                std::sort(run, runEnd, [&](const Place &a, const Place &b) {
                    return nameOf(a).compare(nameOf(b), Qt::CaseSensitive) < 0;
                });
            } else {
                for (Place *p = run; p != runEnd; ++p)
                    p->takeHead(nameOf(*p), depth + Place::kUnits);
                sortByFoldedText(run, runEnd, depth + Place::kUnits);
            }
        }
        run = runEnd;
    }
}

void FolderListing::sort()
{
    // The names are read in the order they were listed, which is the order
    // they lie in the block; later passes go in sorted order, so what can be
    // taken from a name is taken here.
    const size_t count = m_names.size();
    Table<Place> order(count);
    if (m_sorter.collates()) {
        // A collator orders by keys, made once per name.
        Table<QCollatorSortKey> keys;
        keys.reserve(count);
        for (size_t i = 0; i < count; ++i) {
            const QStringView name = m_names.at(i);
            keys.push_back(m_sorter.sortKey(QString::fromRawData(name.data(), name.size())));
            order[i] = Place{{0, 0, 0, 0}, int(i), uint32_t(foldedNameHash(name))};
        }
        std::sort(order.begin(), order.end(), [&](const Place &a, const Place &b) {
            const int c = keys[size_t(a.index)].compare(keys[size_t(b.index)]);
            if (c != 0)
                return c < 0;
            return m_names.at(size_t(a.index)).compare(m_names.at(size_t(b.index)), Qt::CaseSensitive) < 0;
        });
    } else {
        // Without a collator names are ordered by their folded text.
        for (size_t i = 0; i < count; ++i) {
            const QStringView name = m_names.at(i);
            order[i].index = int(i);
            order[i].hash = uint32_t(foldedNameHash(name));
            order[i].takeHead(name, 0);
        }
        sortByFoldedText(order.data(), order.data() + order.size(), 0);
    }
    // Each name becomes a string of its own in sorted order, so the strings
    // of neighbouring items lie side by side for the passes that follow.
    m_items.clear();
    m_items.reserve(count);
    m_byFoldedName.clear();
    m_byFoldedName.reserve(count);
    constexpr size_t kAhead = 8; // inserts at random places of a large table: ask for them early
    for (const Place &place : order) {
        const size_t next = m_items.size() + kAhead;
        if (next < count)
            m_byFoldedName.prefetch(order[next].hash);
        m_byFoldedName.insert(place.hash, int(m_items.size()));
        RenamePreviewListItem item;
        item.isFolder = m_addedAsFolder[size_t(place.index)];
        item.name = m_names.at(size_t(place.index)).toString();
        m_items.push_back(std::move(item));
    }
    m_names.clear();
    std::vector<bool>().swap(m_addedAsFolder);
    m_newNameHashes.assign(count, 0);
    m_queuedItem = -1;
    m_refusedNewNames = 0;
}

bool FolderListing::takeNewName(const QString &newName)
{
    settleNewNames();
    return takeNewName(newName, foldedNameHash(newName));
}

void FolderListing::queueNewName(int index)
{
    QB_ASSERT(index >= 0 && size_t(index) < m_items.size(), return);
    settleNewNames();
    const uint32_t hash = uint32_t(foldedNameHash(m_items[size_t(index)].newName));
    m_newNameHashes[size_t(index)] = hash;
    m_taken.prefetch(hash);
    m_queuedItem = index;
}

void FolderListing::settleNewNames()
{
    if (m_queuedItem >= 0) {
        RenamePreviewListItem &item = m_items[size_t(m_queuedItem)];
        item.include = takeNewName(item.newName, m_newNameHashes[size_t(m_queuedItem)]);
        if (!item.include) {
            item.cleared = ClearedReason::TakenByNewName;
            ++m_refusedNewNames;
        }
        m_queuedItem = -1;
    }
}

bool FolderListing::takeNewName(const QString &newName, size_t hash)
{
    bool taken = false;
    m_taken.find(hash, [&](int i) { return taken = sameFoldedName(m_takenNames[size_t(i)], newName); });
    if (taken)
        return false;
    m_taken.insert(hash, int(m_takenNames.size()));
    m_takenNames.push_back(newName);
    return true;
}

std::optional<int> FolderListing::FindItemByName(const QString &name) const
{
    return findItem(name, foldedNameHash(name));
}

std::optional<int> FolderListing::findItem(const QString &name, size_t foldedHash) const
{
    // The item of exactly that name, else the first of those that differ from
    // it in letter case only.
    std::optional<int> found;
    m_byFoldedName.find(foldedHash, [&](int i) {
        const QString &candidate = m_items[size_t(i)].name;
        if (candidate == name) {
            found = i;
            return true;
        }
        if ((!found || i < *found) && sameFoldedName(candidate, name))
            found = i;
        return false;
    });
    return found;
}

void FolderListing::emitEntry(PreviewDocument &preview, const QString &name, const QString &newName, bool include,
                              ClearedReason cleared)
{
    const pugi::xml_node entry = preview.AddPreviewEntry("file", m_folderPath, name, newName, include);
    if (!include)
        markCleared(entry, cleared);
}

int FolderListing::OrderFolderEntries(PreviewDocument &preview, TemporaryNameSource &temporaryNames)
{
    settleNewNames();
    int blocked = 0;
    m_onStack.assign(m_items.size(), false);
    // Each new name is looked up once its item's turn comes, and asked for a
    // few items ahead of that, by the hash taken when it was queued.
    constexpr int kAhead = 8;
    const int count = int(m_items.size());
    for (int i = 0; i < count; ++i) {
        if (i + kAhead < count) {
            const RenamePreviewListItem &ahead = m_items[size_t(i + kAhead)];
            if (ahead.isTarget && ahead.include)
                m_byFoldedName.prefetch(m_newNameHashes[size_t(i + kAhead)]);
        }
        resolveChain(i, preview, temporaryNames, blocked);
    }
    decltype(m_newNameHashes)().swap(m_newNameHashes);
    return blocked;
}

// One step of a chain being resolved. A chain of renames can be as long as the
// folder has files (think of shifting every number by one), so it is walked
// with an explicit stack instead of recursion.
struct FolderListing::Frame {
    int item;
    int waitingFor = -1; // the item this one waits on, once that one is resolved
    int newState = RenamePreviewListItem::Emitted;
    bool blocked = false;
    ClearedReason blockedBy = ClearedReason::BlockedByFile;
    bool emitAtEnd = true;
};

void FolderListing::resolveChain(int start, PreviewDocument &preview, TemporaryNameSource &temporaryNames, int &blocked)
{
    using Item = RenamePreviewListItem;
    if (!m_items[start].isTarget || m_items[start].state != Item::NotEmitted)
        return;

    std::vector<Frame> stack;
    std::vector<char> &onStack = m_onStack;
    stack.push_back(Frame{start});
    onStack[start] = true;

    while (!stack.empty()) {
        Frame &f = stack.back();
        Item &item = m_items[f.item];

        if (f.waitingFor >= 0) {
            // The item this one points at has just been resolved.
            const Item &next = m_items[f.waitingFor];
            if (next.state == Item::EmittedInCycle && f.item == start) {
                item.state = Item::EmittedInCycle;
                emitEntry(preview, m_cycleTemporaryName, item.newName, true);
                f.emitAtEnd = false;
            } else if (next.state == Item::Blocked) {
                f.blocked = true;
                f.newState = Item::Blocked;
            } else {
                f.newState = next.state;
            }
        } else if (item.include) {
            const std::optional<int> hit = findItem(item.newName, m_newNameHashes[size_t(f.item)]);
            const int j = (hit && *hit != f.item) ? *hit : -1;
            if (j < 0) {
                f.newState = Item::Emitted;
            } else if (!m_items[j].isTarget || !m_items[j].include) {
                f.blocked = true;
                f.newState = Item::Blocked;
                if (m_items[j].isFolder)
                    f.blockedBy = ClearedReason::BlockedByFolder;
            } else if (j != start) {
                const int state = m_items[j].state;
                if (state == Item::NotEmitted && !onStack[j]) {
                    f.waitingFor = j;
                    stack.push_back(Frame{j});
                    onStack[j] = true;
                    continue;
                }
                if (state == Item::Emitted || state == Item::EmittedInCycle) {
                    f.newState = Item::Emitted;
                } else {
                    f.blocked = true;
                    f.newState = Item::Blocked;
                }
            } else {
                // The chain has come back to where it started: a cycle. Move the
                // start out of the way first; it takes its new name last.
                const auto temporary = temporaryNames.MakeTemporaryName(m_folderPath, 100);
                if (!temporary) {
                    f.blocked = true;
                    f.newState = Item::Blocked;
                    f.blockedBy = ClearedReason::NoTemporaryName;
                } else {
                    m_cycleTemporaryName = temporary->name;
                    item.state = Item::EmittedInCycle;
                    emitEntry(preview, m_items[start].name, m_cycleTemporaryName, true);
                    emitEntry(preview, item.name, item.newName, true);
                    f.emitAtEnd = false;
                }
            }
        }

        if (f.blocked) {
            if (item.include) {
                ++blocked;
                item.cleared = f.blockedBy;
            }
            item.include = false;
        }
        if (f.emitAtEnd) {
            item.state = f.newState;
            emitEntry(preview, item.name, item.newName, item.include, item.cleared);
        }
        onStack[f.item] = false;
        stack.pop_back();
    }
}

} // namespace quillbay
