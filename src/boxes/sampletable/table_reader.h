#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

#include "boxes/sampletable/table_allocator.h"
#include "reader/bit_stream_reader.h"

// Fixed-size table records are decoded straight from the box bytes, which keeps big
// tables cheap. Counts come from the file: records are appended while reading, and
// storage is reserved only for as many as the payload can hold.

// Big-endian fields of a record.
inline uint32_t Be16(const uint8_t* p) { return (uint32_t(p[0]) << 8) | p[1]; }
inline uint32_t Be32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
inline uint64_t Be64(const uint8_t* p) { return (uint64_t(Be32(p)) << 32) | Be32(p + 4); }

// How many of `count` records of `recordBytes` the reader can still hold: a safe
// capacity for a table whose count comes from the file.
inline uint64_t RecordsThatFit(const CBitStreamReader& reader, uint64_t count, uint32_t recordBytes) {
    return std::min<uint64_t>(count, reader.RemainingBytes() / recordBytes);
}

// Reads `count` records of `recordBytes` bytes, calling decode(const uint8_t*) for
// each complete one in file order. Returns 0, or -1 when the payload ends before
// the last record (the records before it have been decoded). Records are decoded
// in place when the reader is byte-aligned over bytes the buffer holds, otherwise
// from a copy made a block at a time (a zero-padded tail, an odd bit position).
template <class Decode>
int ReadRecords(CBitStreamReader& reader, uint64_t count, uint32_t recordBytes, Decode&& decode) {
    const uint64_t fit = reader.RemainingBytes() / recordBytes;
    const uint64_t total = std::min(count, fit);
    uint64_t done = 0;
    if (reader.BitPosition % 8 == 0) {
        const uint64_t inPlace = std::min(total, reader.PresentBytes() / recordBytes);
        const uint8_t* p = reader.CurrentByte();
        for (uint64_t i = 0; i < inPlace; ++i) decode(p + i * recordBytes);
        reader.SkipBits(inPlace * recordBytes * 8);
        done = inPlace;
    }
    constexpr uint64_t kBlockBytes = 64 * 1024;
    const uint64_t perBlock = std::max<uint64_t>(1, kBlockBytes / recordBytes);
    std::vector<uint8_t> block;
    while (done < total) {
        const uint64_t n = std::min(total - done, perBlock);
        block.clear();
        if (reader.ReadBytes(n * recordBytes, block) < 0) return -1;
        for (uint64_t i = 0; i < n; ++i) decode(block.data() + i * recordBytes);
        done += n;
    }
    return count > fit ? -1 : 0;
}

// Appends the records of a table to `out` (reserved up to what the payload can hold).
template <class T, class Decode>
int ReadTable(CBitStreamReader& reader, uint64_t count, uint32_t recordBytes, TableVector<T>& out, Decode&& decode) {
    out.reserve(out.size() + RecordsThatFit(reader, count, recordBytes));
    return ReadRecords(reader, count, recordBytes, [&](const uint8_t* p) { out.push_back(decode(p)); });
}

// Entry i of a table, or 0 (a default record) at or past the stored entries.
template <class T>
T EntryAt(const TableVector<T>& v, uint64_t i) {
    return i < v.size() ? v[i] : T{};
}
