#pragma once
// Heap allocations made through operator new by this process. A benchmark that links
// allocationcount.cpp counts them, to show what a path allocates per item.

namespace benchsupport {

long heapAllocations();

} // namespace benchsupport
