#pragma once
// Block storage of the elements read by one load: the elements themselves, their child
// lists and the undecoded bytes of their attribute texts. Nothing in it is freed one by
// one; the blocks go when the reader that filled it has let go and the last element
// allocated in it has been destroyed (elements may outlive their document when they are
// moved into another tree).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

class TkvlXMLArena
{
public:
    TkvlXMLArena() = default;
    TkvlXMLArena(const TkvlXMLArena &) = delete;
    TkvlXMLArena &operator=(const TkvlXMLArena &) = delete;

    void *Allocate(size_t Size, size_t Align = alignof(std::max_align_t))
    {
        uintptr_t p = (uintptr_t(FNext) + (Align - 1)) & ~uintptr_t(Align - 1);
        if (p + Size > uintptr_t(FEnd)) {
            grow(Size + Align);
            p = (uintptr_t(FNext) + (Align - 1)) & ~uintptr_t(Align - 1);
        }
        FNext = reinterpret_cast<char *>(p + Size);
        return reinterpret_cast<void *>(p);
    }
    char *CopyBytes(const char *Data, size_t Size)
    {
        char *p = static_cast<char *>(Allocate(Size, 1));
        std::memcpy(p, Data, Size);
        return p;
    }

    // The filler lets go; the arena is freed now if no element of it is left.
    void Release()
    {
        FReleased = true;
        if (FLive == 0)
            delete this;
    }
    void ItemCreated() { ++FLive; }
    void ItemDestroyed()
    {
        if (--FLive == 0 && FReleased)
            delete this;
    }

private:
    struct Block {
        Block *Prev;
    };

    static constexpr size_t kMaxBlock = size_t(64) << 10;

    ~TkvlXMLArena()
    {
        while (FLast) {
            Block *prev = FLast->Prev;
            std::free(FLast);
            FLast = prev;
        }
    }
    // Blocks double up to 64 KB, so a small document stays small. Larger blocks tend to be
    // mapped afresh by the allocator on every load and handed back when freed, paying a
    // page fault for every 4 KB each time; blocks of this size come from the heap's own
    // memory, which the next load reuses.
    void grow(size_t AtLeast)
    {
        const size_t size = std::max(FNextSize, AtLeast + sizeof(Block));
        FNextSize = std::min(FNextSize * 2, kMaxBlock);
        auto *block = static_cast<Block *>(std::malloc(size));
        if (!block)
            throw std::bad_alloc();
        block->Prev = FLast;
        FLast = block;
        FNext = reinterpret_cast<char *>(block) + sizeof(Block);
        FEnd = reinterpret_cast<char *>(block) + size;
    }

    Block *FLast = nullptr;
    char *FNext = nullptr;
    char *FEnd = nullptr;
    size_t FNextSize = 16 * 1024;
    size_t FLive = 0;
    bool FReleased = false;
};
