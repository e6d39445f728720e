#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "base/span.h"

// Where the fields of a parse were read from, keyed by the address of what each read
// filled (a member of a box or of one of its records). A reader given a SpanMap notes
// every read in it; a page then finds a field's span by the field's address.
class SpanMap {
public:
    void Record(const void* field, Span span) {
        m_spans.emplace_back(field, span);
        m_sorted = false;
    }
    // A table of `count` elements of `elementSize` bytes from `first`, decoded from
    // records that lie `strideBits` apart from `firstBit` on.
    void RecordTable(const void* first, size_t count, size_t elementSize, uint64_t firstBit, uint64_t strideBits) {
        if (count) m_tables.push_back({static_cast<const char*>(first), count, elementSize, firstBit, strideBits});
    }
    // The smallest span holding every read into [address, address + size); empty when none.
    Span Lookup(const void* address, size_t size) const;
    void Clear() {
        m_spans.clear();
        m_tables.clear();
        m_sorted = true;
    }

private:
    struct Table {
        const char* first;
        size_t count, elementSize;
        uint64_t firstBit, strideBits;
    };
    mutable std::vector<std::pair<const void*, Span>> m_spans;
    mutable bool m_sorted = true;
    std::vector<Table> m_tables;
};
