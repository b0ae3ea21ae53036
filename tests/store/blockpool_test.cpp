// The block pool of the store's page elements: blocks handed out again, regions given back
// only when nothing in them is in use, and a store that prepares again in the memory it had.
#include "engine/store/pageblockpool.h"
#include "tests/store/storefixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

using namespace storetest;

namespace {
constexpr size_t kPerRegion = TkvlPageBlockPool::kRegionSize / TkvlPageBlockPool::kBlockSize;
constexpr size_t kMB = 1048576;
} // namespace

TEST(PageBlockPoolTest, BlocksAreDistinctWritableAndGivenOutAgain)
{
    TkvlPageBlockPool pool;
    std::set<char *> blocks;
    for (size_t i = 0; i < kPerRegion + 1; ++i) {
        auto *b = static_cast<char *>(pool.TakeBlock());
        ASSERT_NE(b, nullptr);
        std::memset(b, int(i), TkvlPageBlockPool::kBlockSize);
        blocks.insert(b);
    }
    EXPECT_EQ(blocks.size(), kPerRegion + 1);
    EXPECT_EQ(pool.MappedBytes(), 2 * TkvlPageBlockPool::kRegionSize);
    for (char *b : blocks)  // each block still holds what was written to it: none overlaps another
        EXPECT_EQ(b[TkvlPageBlockPool::kBlockSize - 1], b[0]);

    char *given = *blocks.begin();
    pool.GiveBack(given);
    EXPECT_EQ(pool.FreeBytes(), TkvlPageBlockPool::kBlockSize);
    EXPECT_EQ(pool.TakeBlock(), given);
    EXPECT_EQ(pool.MappedBytes(), 2 * TkvlPageBlockPool::kRegionSize);
}

TEST(PageBlockPoolTest, TrimGivesBackOnlyWholeFreeRegionsBeyondWhatIsKept)
{
    struct Case {
        const char *Name;
        size_t InUse;      // blocks of the first region still out
        size_t KeepBytes;
        size_t Regions;    // left after trimming
    };
    const Case cases[] = {
        {"all free, nothing kept", 0, 0, 0},
        {"all free, one region kept", 0, TkvlPageBlockPool::kRegionSize, 1},
        {"one block of the first region in use", 1, 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        TkvlPageBlockPool pool;
        std::vector<void *> blocks;
        for (size_t i = 0; i < 2 * kPerRegion; ++i)
            blocks.push_back(pool.TakeBlock());
        for (size_t i = c.InUse; i < blocks.size(); ++i)
            pool.GiveBack(blocks[i]);
        pool.Trim(c.KeepBytes);
        EXPECT_EQ(pool.MappedBytes(), c.Regions * TkvlPageBlockPool::kRegionSize);
        // What is left can be taken and written again.
        for (size_t i = 0; i < 2 * kPerRegion - c.InUse; ++i)
            std::memset(pool.TakeBlock(), 1, TkvlPageBlockPool::kBlockSize);
    }
}

// A store that prepares again and again under the file cache's limit takes the memory its
// earlier pages gave back: what it holds stops growing, and the pages read back as written.
TEST(PageBlockPoolTest, StorePreparesAgainInTheMemoryItHad)
{
    Fixture f(true, 1, 50);
    std::vector<size_t> mapped;
    for (int run = 0; run < 4; ++run) {
        if (run > 0) {
            f.store->Clear();
            f.store->Initialize();
            f.store->BeginPass();
            f.store->AddSourcePage(f.page);
        }
        f.addPages(400);
        mapped.push_back(f.store->BlockPool().MappedBytes());
        // The pages swapped out gave their memory to the later ones.
        EXPECT_GT(mapped.back(), 0u);
        EXPECT_LE(mapped.back(), 4 * kMB) << "run " << run;
    }
    EXPECT_EQ(mapped[2], mapped[1]);
    EXPECT_EQ(mapped[3], mapped[1]);
    for (int p : {0, 1, 200, 399}) {
        QStringList written;
        for (int r = 0; r < Fixture::kRows; ++r)
            for (int m = 0; m < Fixture::kMemos; ++m)
                written.append(cellText(p, r, m));
        EXPECT_EQ(textsOf(drawnTexts(*f.store, p)), written) << "page " << p;
    }
}
