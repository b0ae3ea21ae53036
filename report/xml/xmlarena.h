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
#include <memory>
#include <new>

// Where an owner's arenas take their blocks instead of the heap, so that the memory of the
// arenas it has let go serves the next ones. Shared by those arenas: it lives until the last
// of them is gone.
class TkvlXMLBlockSource
{
public:
    virtual ~TkvlXMLBlockSource() = default;
    // The size of every block it gives.
    virtual size_t BlockSize() const = 0;
    // A block; nullptr when there is none (the arena takes one from the heap).
    virtual void *TakeBlock() = 0;
    virtual void GiveBack(void *Block) = 0;
};

class TkvlXMLArena
{
public:
    TkvlXMLArena() = default;
    // Blocks come from Source while it has them.
    explicit TkvlXMLArena(std::shared_ptr<TkvlXMLBlockSource> Source) : FSource(std::move(Source)) {}
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
        bool FromSource;
    };

    static constexpr size_t kMaxBlock = size_t(64) << 10;

    ~TkvlXMLArena()
    {
        while (FLast) {
            Block *prev = FLast->Prev;
            if (FLast->FromSource)
                FSource->GiveBack(FLast);
            else
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
        size_t size = std::max(FNextSize, AtLeast + sizeof(Block));
        FNextSize = std::min(FNextSize * 2, kMaxBlock);
        Block *block = nullptr;
        if (FSource && size <= FSource->BlockSize()) {
            block = static_cast<Block *>(FSource->TakeBlock());
            if (block)
                size = FSource->BlockSize();
        }
        const bool fromSource = block != nullptr;
        if (!block)
            block = static_cast<Block *>(std::malloc(size));
        if (!block)
            throw std::bad_alloc();
        block->Prev = FLast;
        block->FromSource = fromSource;
        FLast = block;
        FNext = reinterpret_cast<char *>(block) + sizeof(Block);
        FEnd = reinterpret_cast<char *>(block) + size;
    }

    std::shared_ptr<TkvlXMLBlockSource> FSource;
    Block *FLast = nullptr;
    char *FNext = nullptr;
    char *FEnd = nullptr;
    size_t FNextSize = 16 * 1024;
    size_t FLive = 0;
    bool FReleased = false;
};
