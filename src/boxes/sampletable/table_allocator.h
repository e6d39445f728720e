#pragma once
#include <cstddef>
#include <vector>

#include "reader/large_storage.h"

// Storage of the tables decoded into memory of their own: a big one goes to huge pages.

template <class T>
struct TableAllocator {
    using value_type = T;
    TableAllocator() = default;
    template <class U>
    TableAllocator(const TableAllocator<U>&) {}
    T* allocate(size_t n) { return static_cast<T*>(AllocateLargeStorage(n * sizeof(T))); }
    void deallocate(T* p, size_t n) { FreeLargeStorage(p, n * sizeof(T)); }
    template <class U>
    bool operator==(const TableAllocator<U>&) const { return true; }
};

// An entry array of a table box, in file order.
template <class T>
using TableVector = std::vector<T, TableAllocator<T>>;
