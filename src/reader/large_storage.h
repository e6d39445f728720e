#pragma once
#include <cstddef>

// Memory for big blocks: the bytes of a large box, the entries of a long table. A big
// block (256 KB or more) is placed in 2 MB-aligned memory marked for huge pages, so
// filling it takes a few page faults instead of one per 4 KB page; on virtual machines
// those faults are most of the cost of reading it. Small blocks come from the heap.
void* AllocateLargeStorage(size_t bytes);
void FreeLargeStorage(void* p, size_t bytes);
