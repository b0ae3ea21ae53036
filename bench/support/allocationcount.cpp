#include "bench/support/allocationcount.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

// The program's own malloc, calloc and realloc take the place of the C library's for every
// shared library of the process (Qt's included), count the call, and hand it to the C
// library's allocator under its internal names.
extern "C" {
void *__libc_malloc(size_t);
void *__libc_calloc(size_t, size_t);
void *__libc_realloc(void *, size_t);
}

namespace {
std::atomic<long> gBlocks{0};
std::atomic<long> gNews{0};
} // namespace

extern "C" void *malloc(size_t n) noexcept
{
    gBlocks.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(n);
}

extern "C" void *calloc(size_t n, size_t size) noexcept
{
    gBlocks.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(n, size);
}

// Growing or moving a block counts as taking one; shrinking to nothing frees it.
extern "C" void *realloc(void *p, size_t n) noexcept
{
    if (n != 0 || !p)
        gBlocks.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p, n);
}

void *operator new(std::size_t n)
{
    gNews.fetch_add(1, std::memory_order_relaxed);
    if (void *p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }

namespace benchsupport {

long heapAllocations() { return gBlocks.load(std::memory_order_relaxed); }
long operatorNewAllocations() { return gNews.load(std::memory_order_relaxed); }

} // namespace benchsupport
