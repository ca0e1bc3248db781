// Large memory: blocks straight from the system, the vector allocator on top,
// and the pool of equal blocks that XML documents take their pages from.

#include "base/LargeMemory.h"

#include <QTest>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

using namespace quillbay;

class LargeMemoryTest : public QObject
{
    Q_OBJECT

private slots:
    void blocksOfEverySizeAreUsable_data()
    {
        QTest::addColumn<qulonglong>("bytes");
        for (qulonglong bytes : {1ull, 4096ull, qulonglong(LargeMemory::kLargeBytes - 1),
                                 qulonglong(LargeMemory::kLargeBytes), 5ull * 1024 * 1024 + 3})
            QTest::newRow(qPrintable(QString::number(bytes))) << bytes;
    }

    void blocksOfEverySizeAreUsable()
    {
        QFETCH(qulonglong, bytes);
        auto *p = static_cast<unsigned char *>(LargeMemory::allocate(bytes));
        QVERIFY(p);
        QCOMPARE(reinterpret_cast<std::uintptr_t>(p) % 16, std::uintptr_t(0));
        std::memset(p, 0xA5, bytes);
        QCOMPARE(p[0], 0xA5);
        QCOMPARE(p[bytes - 1], 0xA5);
        LargeMemory::release(p, bytes);
        LargeMemory::release(nullptr, bytes);
    }

    void regionsGivenBackServeTheNextRequestOfTheirSize()
    {
        // A second preview of the same folder asks for the same sizes: it gets
        // the regions of the first back, usable, and another size a region of its own.
        const std::size_t bytes = 7 * 1024 * 1024 + 5;
        auto *first = static_cast<unsigned char *>(LargeMemory::allocate(bytes));
        QVERIFY(first);
        std::memset(first, 0x11, bytes);
        LargeMemory::release(first, bytes);
        auto *again = static_cast<unsigned char *>(LargeMemory::allocate(bytes));
        QCOMPARE(again, first);
        std::memset(again, 0x22, bytes);
        QCOMPARE(again[bytes - 1], 0x22);
        auto *other = static_cast<unsigned char *>(LargeMemory::allocate(bytes + 4 * 1024 * 1024));
        QVERIFY(other && other != again);
        std::memset(other, 0x33, bytes + 4 * 1024 * 1024);
        QCOMPARE(again[0], 0x22); // distinct memory
        LargeMemory::release(other, bytes + 4 * 1024 * 1024);
        LargeMemory::release(again, bytes);

        // A smaller request is carved from a kept region; the two parts are
        // distinct, and both go back.
        const std::size_t small = 2 * 1024 * 1024;
        auto *a = static_cast<unsigned char *>(LargeMemory::allocate(small));
        auto *b = static_cast<unsigned char *>(LargeMemory::allocate(small));
        QVERIFY(a && b && a != b);
        std::memset(a, 0x44, small);
        std::memset(b, 0x55, small);
        QCOMPARE(a[small - 1], 0x44);
        QCOMPARE(b[0], 0x55);
        LargeMemory::release(a, small);
        LargeMemory::release(b, small);
    }

    void vectorsGrowAndKeepTheirElements()
    {
        std::vector<std::uint64_t, LargeMemory::Allocator<std::uint64_t>> v;
        for (std::uint64_t i = 0; i < 600000; ++i) // through small and large blocks
            v.push_back(i * 7);
        for (std::uint64_t i = 0; i < v.size(); i += 9973)
            QCOMPARE(v[i], i * 7);
        v.clear();
        v.shrink_to_fit();
    }

    void poolHandsOutDistinctAlignedBlocksAndTakesThemBack()
    {
        LargeMemory::BlockPool pool(32768 + 100);
        QCOMPARE(pool.blockSize() % 64, std::size_t(0));
        std::vector<char *> blocks;
        std::set<char *> seen;
        for (int i = 0; i < 300; ++i) { // several regions
            char *b = static_cast<char *>(pool.take());
            QVERIFY(b);
            QCOMPARE(reinterpret_cast<std::uintptr_t>(b) % 64, std::uintptr_t(0));
            std::memset(b, i & 0xFF, pool.blockSize());
            QVERIFY(seen.insert(b).second);
            blocks.push_back(b);
        }
        QVERIFY(pool.regionCount() >= 4);
        for (size_t i = 0; i < blocks.size(); ++i)
            QCOMPARE(static_cast<unsigned char>(blocks[i][pool.blockSize() - 1]), static_cast<unsigned char>(i & 0xFF));

        void *foreign = std::malloc(64);
        QVERIFY(!pool.give(foreign));
        std::free(foreign);
        QVERIFY(!pool.give(nullptr));

        for (char *b : blocks)
            QVERIFY(pool.give(b));
        QCOMPARE(pool.regionCount(), std::size_t(1)); // one empty region is kept

        // Blocks given back are handed out again.
        char *again = static_cast<char *>(pool.take());
        QVERIFY(again);
        QVERIFY(seen.count(again) == 1);
        QVERIFY(pool.give(again));
    }

    void poolOfBlocksLargerThanARegionGivesNothing()
    {
        LargeMemory::BlockPool pool(std::size_t(3) << 20);
        QVERIFY(!pool.take());
    }
};

QTEST_GUILESS_MAIN(LargeMemoryTest)
#include "tst_largememory.moc"
