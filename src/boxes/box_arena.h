#pragma once
#include <cstddef>
#include <vector>

// The memory of the boxes a parse run keeps. A fragmented recording holds a million
// boxes of a few dozen bytes each: taken one by one from the heap, each costs an
// allocator header and rounding on top (a fifth of its size), and freeing the tree
// walks a million chunks. An arena hands out its blocks in order and gives them back
// all at once: a box costs its own bytes.
//
// While a Scope lives, the boxes made on its thread come from its arena; a box made
// outside any scope (a copy read again for a page, a box a streamed walk lets go) comes
// from the heap as usual. Deleting a box of an arena leaves its bytes to the arena.
class BoxArena {
public:
    BoxArena() = default;
    BoxArena(const BoxArena&) = delete;
    BoxArena& operator=(const BoxArena&) = delete;
    ~BoxArena();

    class Scope {
    public:
        explicit Scope(BoxArena& arena);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        BoxArena* m_previous;
    };

    // A box's memory: from the arena of the thread's scope, or from the heap.
    static void* AllocateBox(size_t bytes);
    static void FreeBox(void* p) noexcept;
    // The bytes the arena has handed out.
    size_t Used() const { return m_used; }

private:
    void* Allocate(size_t bytes);
    std::vector<void*> m_blocks;
    size_t m_free = 0;  // bytes left in the last block
    size_t m_used = 0;
};
