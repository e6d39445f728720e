#pragma once
#include <algorithm>
#include <cstdint>

// Where a value lives in the file: its first bit and its length in bits (a field of
// whole bytes starts and ends on byte boundaries). Empty when not known.
struct Span {
    uint64_t bit = 0;
    uint64_t bits = 0;

    static Span Bytes(uint64_t offset, uint64_t length) { return {offset * 8, length * 8}; }
    bool Empty() const { return bits == 0; }
    uint64_t Offset() const { return bit / 8; }
    uint64_t Length() const { return (bit + bits + 7) / 8 - bit / 8; }
    // A field packed in bits: it does not start or end on a byte boundary.
    bool Packed() const { return bit % 8 != 0 || bits % 8 != 0; }
    // The smallest span holding both.
    Span Union(const Span& o) const {
        if (Empty()) return o;
        if (o.Empty()) return *this;
        const uint64_t first = std::min(bit, o.bit), end = std::max(bit + bits, o.bit + o.bits);
        return {first, end - first};
    }
};
