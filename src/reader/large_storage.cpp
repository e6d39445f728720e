#include "reader/large_storage.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

#include "base/sanitizer.h"

namespace {
constexpr size_t kHugePage = size_t{2} << 20;
// Below this a block is a few dozen 4 KB pages: the heap serves it.
constexpr size_t kHugeThreshold = size_t{256} << 10;

size_t RoundUp(size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }
}  // namespace


void* AllocateLargeStorage(size_t bytes) {
    if (bytes < kHugeThreshold || kAddressSanitized) return ::operator new(bytes);
    const size_t size = RoundUp(bytes);
    // Map one huge page more than needed, then trim to a 2 MB-aligned run.
    void* raw = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t aligned = (start + kHugePage - 1) & ~(uintptr_t{kHugePage} - 1);
    if (aligned > start) munmap(raw, aligned - start);
    const uintptr_t end = start + size + kHugePage;
    if (end > aligned + size) munmap(reinterpret_cast<void*>(aligned + size), end - (aligned + size));
    madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);  // a hint: ignored where unsupported
    return reinterpret_cast<void*>(aligned);
}

void FreeLargeStorage(void* p, size_t bytes) {
    if (!p) return;
    if (bytes < kHugeThreshold || kAddressSanitized) {
        ::operator delete(p);
        return;
    }
    munmap(p, RoundUp(bytes));
}
