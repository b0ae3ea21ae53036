#include "engine/store/pageblockpool.h"

#include <algorithm>
#include <cstdint>
#include <sys/mman.h>

TkvlPageBlockPool::~TkvlPageBlockPool()
{
    for (char *r : FRegions)
        munmap(r, kRegionSize);
}

bool TkvlPageBlockPool::addRegion()
{
    // Twice the size is mapped so that an aligned region lies inside; the rest goes back.
    void *p = mmap(nullptr, 2 * kRegionSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return false;
    char *raw = static_cast<char *>(p);
    char *region = reinterpret_cast<char *>((uintptr_t(raw) + kRegionSize - 1) & ~uintptr_t(kRegionSize - 1));
    if (region > raw)
        munmap(raw, size_t(region - raw));
    if (char *end = region + kRegionSize; end < raw + 2 * kRegionSize)
        munmap(end, size_t(raw + 2 * kRegionSize - end));
    // Only a hint: without huge pages the region faults page by page like any other memory.
    madvise(region, kRegionSize, MADV_HUGEPAGE);
    FRegions.push_back(region);
    FCarved = 0;
    return true;
}

void *TkvlPageBlockPool::TakeBlock()
{
    if (!FFree.empty()) {
        void *b = FFree.back();
        FFree.pop_back();
        return b;
    }
    if (FCarved == kBlocksPerRegion && !addRegion())
        return nullptr;
    return FRegions.back() + kBlockSize * FCarved++;
}

void TkvlPageBlockPool::GiveBack(void *Block) { FFree.push_back(Block); }

void TkvlPageBlockPool::Trim(size_t KeepBytes)
{
    for (size_t i = FRegions.size(); i-- > 0 && FreeBytes() > KeepBytes;) {
        char *r = FRegions[i];
        const auto inRegion = [r](void *b) { return b >= r && b < r + kRegionSize; };
        const size_t uncarved = i + 1 == FRegions.size() ? kBlocksPerRegion - FCarved : 0;
        if (size_t(std::count_if(FFree.begin(), FFree.end(), inRegion)) + uncarved < kBlocksPerRegion)
            continue;
        std::erase_if(FFree, inRegion);
        munmap(r, kRegionSize);
        FRegions.erase(FRegions.begin() + std::ptrdiff_t(i));
        if (i == FRegions.size())
            FCarved = kBlocksPerRegion;  // the newest region is gone: the next block maps one
    }
}
