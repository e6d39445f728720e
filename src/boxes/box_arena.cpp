#include "boxes/box_arena.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <new>
#include <unordered_set>

#include "base/sanitizer.h"

namespace {
// Blocks aligned to their size: the block of any byte is its address rounded down.
constexpr size_t kBlockBytes = size_t{1} << 20;
// Boxes hold nothing aligned wider than a pointer.
constexpr size_t kBoxAlignment = alignof(void*);
// A box larger than this (none is) comes from the heap.
constexpr size_t kLargestBox = kBlockBytes / 16;

thread_local BoxArena* t_arena = nullptr;

// The blocks of every live arena, so that a delete knows a box of an arena; while there
// are none (a streamed walk), a delete looks no further.
std::mutex g_blocksMutex;
std::atomic<size_t> g_liveBlocks{0};
std::unordered_set<uintptr_t>& Blocks() {
    static std::unordered_set<uintptr_t> blocks;
    return blocks;
}

uintptr_t BlockOf(const void* p) { return reinterpret_cast<uintptr_t>(p) & ~(uintptr_t{kBlockBytes} - 1); }

// A block straight from the system, aligned to its size: given back whole when the arena
// goes, so that the heap is not left with holes between a file's tree and the next one's.
void* MapBlock() {
    void* raw = mmap(nullptr, 2 * kBlockBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t block = BlockOf(raw) + (start % kBlockBytes ? kBlockBytes : 0);
    if (block > start) munmap(raw, block - start);
    if (start + 2 * kBlockBytes > block + kBlockBytes)
        munmap(reinterpret_cast<void*>(block + kBlockBytes), start + 2 * kBlockBytes - (block + kBlockBytes));
    return reinterpret_cast<void*>(block);
}
}  // namespace

BoxArena::~BoxArena() {
    std::lock_guard<std::mutex> lock(g_blocksMutex);
    for (void* block : m_blocks) {
        Blocks().erase(reinterpret_cast<uintptr_t>(block));
        munmap(block, kBlockBytes);
        --g_liveBlocks;
    }
}

BoxArena::Scope::Scope(BoxArena& arena) : m_previous(t_arena) { t_arena = kAddressSanitized ? nullptr : &arena; }

BoxArena::Scope::~Scope() { t_arena = m_previous; }

void* BoxArena::Allocate(size_t bytes) {
    bytes = (bytes + kBoxAlignment - 1) & ~(kBoxAlignment - 1);
    if (bytes > m_free) {
        void* block = MapBlock();
        {
            std::lock_guard<std::mutex> lock(g_blocksMutex);
            Blocks().insert(reinterpret_cast<uintptr_t>(block));
            ++g_liveBlocks;
        }
        m_blocks.push_back(block);
        m_free = kBlockBytes;
    }
    void* p = static_cast<char*>(m_blocks.back()) + (kBlockBytes - m_free);
    m_free -= bytes;
    m_used += bytes;
    return p;
}

void* BoxArena::AllocateBox(size_t bytes) {
    return t_arena && bytes <= kLargestBox ? t_arena->Allocate(bytes) : ::operator new(bytes);
}

void BoxArena::FreeBox(void* p) noexcept {
    if (!p) return;
    if (g_liveBlocks.load(std::memory_order_relaxed) != 0) {
        std::lock_guard<std::mutex> lock(g_blocksMutex);
        if (Blocks().count(BlockOf(p))) return;
    }
    ::operator delete(p);
}
