#pragma once
// Heap blocks taken by this process. A benchmark that links allocationcount.cpp counts them,
// to show what a path allocates per item.

namespace benchsupport {

// Every block taken from the C library's allocator: malloc, calloc and realloc, wherever they
// are called from (Qt's string and array buffers, operator new, C libraries).
long heapAllocations();
// The part of them taken through operator new.
long operatorNewAllocations();

} // namespace benchsupport
