#pragma once
#include <cstddef>
#include <vector>

// Storage of the per-sample tables. A big table (a long movie has hundreds of
// thousands of samples) is placed in 2 MB-aligned memory marked for huge pages:
// filling it then takes a few page faults instead of one per 4 KB page, and on
// virtual machines those faults are most of the cost of reading a table. Small
// tables come from the ordinary heap.
void* AllocateTableStorage(size_t bytes);
void FreeTableStorage(void* p, size_t bytes);

template <class T>
struct TableAllocator {
    using value_type = T;
    TableAllocator() = default;
    template <class U>
    TableAllocator(const TableAllocator<U>&) {}
    T* allocate(size_t n) { return static_cast<T*>(AllocateTableStorage(n * sizeof(T))); }
    void deallocate(T* p, size_t n) { FreeTableStorage(p, n * sizeof(T)); }
    template <class U>
    bool operator==(const TableAllocator<U>&) const { return true; }
};

// An entry array of a table box, in file order.
template <class T>
using TableVector = std::vector<T, TableAllocator<T>>;
