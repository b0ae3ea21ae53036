#pragma once
// The memory of a store's page elements once its pages outgrow the heap's small blocks:
// blocks carved from 2 MB regions that the kernel may back with huge pages (one page fault
// for a region instead of one for every 4 KB of it), and given out again once the pages
// written in them are swapped out or cleared, so that a store that has reached its memory
// limit, or prepares again, touches no new memory. One store and the arenas it made own it.
#include "report/xml/xmlarena.h"

#include <cstddef>
#include <vector>

class TkvlPageBlockPool final : public TkvlXMLBlockSource
{
public:
    static constexpr size_t kBlockSize = size_t(128) << 10;
    static constexpr size_t kRegionSize = size_t(2) << 20;

    TkvlPageBlockPool() = default;
    TkvlPageBlockPool(const TkvlPageBlockPool &) = delete;
    TkvlPageBlockPool &operator=(const TkvlPageBlockPool &) = delete;
    ~TkvlPageBlockPool() override;

    size_t BlockSize() const override { return kBlockSize; }
    // A block given back earlier (the latest first), else a new one; nullptr when the system
    // gives no more memory.
    void *TakeBlock() override;
    void GiveBack(void *Block) override;

    // Blocks given back and not taken again.
    size_t FreeBytes() const { return FFree.size() * kBlockSize; }
    // Regions held, in bytes.
    size_t MappedBytes() const { return FRegions.size() * kRegionSize; }
    // Hands whole regions with no block in use back to the system while more than KeepBytes
    // are free.
    void Trim(size_t KeepBytes);

private:
    static constexpr size_t kBlocksPerRegion = kRegionSize / kBlockSize;

    bool addRegion();

    std::vector<char *> FRegions;
    std::vector<void *> FFree;
    size_t FCarved = kBlocksPerRegion;  // blocks of the newest region given out so far
};
