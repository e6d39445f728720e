#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

#include "boxes/sampletable/table_allocator.h"
#include "reader/bit_stream_reader.h"

// Fixed-size table records are decoded straight from the box bytes, which keeps big
// tables cheap. Counts come from the file: records are read only from the bytes the
// reader holds, and storage is reserved only for as many as those can hold.

// Big-endian fields of a record.
inline uint32_t Be16(const uint8_t* p) { return (uint32_t(p[0]) << 8) | p[1]; }
inline uint32_t Be32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
inline uint64_t Be64(const uint8_t* p) { return (uint64_t(Be32(p)) << 32) | Be32(p + 4); }

// How many of `count` records of `recordBytes` the bytes the reader holds can hold: a
// safe capacity for a table whose count comes from the file.
inline uint64_t RecordsThatFit(const CBitStreamReader& reader, uint64_t count, uint32_t recordBytes) {
    return std::min<uint64_t>(count, reader.PresentBytes() / recordBytes);
}

// Reads `count` records of `recordBytes` bytes, calling decode(const uint8_t*) for
// each complete one in file order. Returns 0, or -1 when the bytes end before the
// last record (the records before it have been decoded). Records are decoded in
// place when the reader is byte-aligned, otherwise from a copy made a block at a time.
template <class Decode>
int ReadRecords(CBitStreamReader& reader, uint64_t count, uint32_t recordBytes, Decode&& decode) {
    const uint64_t total = RecordsThatFit(reader, count, recordBytes);
    if (reader.BitPosition % 8 == 0) {
        const uint8_t* p = reader.CurrentByte();
        for (uint64_t i = 0; i < total; ++i) decode(p + i * recordBytes);
        reader.SkipBits(total * recordBytes * 8);
    } else {
        constexpr uint64_t kBlockBytes = 64 * 1024;
        const uint64_t perBlock = std::max<uint64_t>(1, kBlockBytes / recordBytes);
        std::vector<uint8_t> block;
        for (uint64_t done = 0; done < total;) {
            const uint64_t n = std::min(total - done, perBlock);
            block.clear();
            if (reader.ReadBytes(n * recordBytes, block) < 0) return -1;
            for (uint64_t i = 0; i < n; ++i) decode(block.data() + i * recordBytes);
            done += n;
        }
    }
    return count > total ? -1 : 0;
}

// Notes where a table's records lie: element i of `out` from `first` on comes from the
// record at `firstBit` + i records, and the whole table is `out`'s.
template <class Vector>
void NoteTable(const CBitStreamReader& reader, const Vector& out, size_t first, uint64_t firstBit, uint64_t recordBits) {
    SpanMap* spans = reader.Spans();
    if (!spans || out.size() <= first) return;
    spans->Record(&out, {firstBit, reader.FileBit() - firstBit});
    spans->RecordTable(out.data() + first, out.size() - first, sizeof(out[0]), firstBit, recordBits);
}

// Appends the records of a table to `out` (reserved up to what the payload can hold).
template <class Vector, class Decode>
int ReadTable(CBitStreamReader& reader, uint64_t count, uint32_t recordBytes, Vector& out, Decode&& decode) {
    const size_t first = out.size();
    const uint64_t firstBit = reader.FileBit();
    out.reserve(out.size() + RecordsThatFit(reader, count, recordBytes));
    const int status = ReadRecords(reader, count, recordBytes, [&](const uint8_t* p) { out.push_back(decode(p)); });
    NoteTable(reader, out, first, firstBit, uint64_t{recordBytes} * 8);
    return status;
}

// Reads up to `count` records straight into `out`, each with `read(record)`. Every
// record takes at least `minBytes` (1 or more) of the payload, so `out` is reserved for
// what the payload can hold and no record moves once read. A record that cannot be
// read whole is dropped, and the result is -1.
template <class Vector, class Read>
int ReadEach(const CBitStreamReader& reader, uint64_t count, uint32_t minBytes, Vector& out, Read&& read) {
    const uint64_t fit = RecordsThatFit(reader, count, minBytes);
    out.reserve(out.size() + fit);
    for (uint64_t i = 0; i < count; ++i) {
        if (i >= fit) return -1;
        if (read(out.emplace_back()) < 0) {
            out.pop_back();
            return -1;
        }
    }
    return 0;
}

// Entry i of a table, or 0 (a default record) at or past the stored entries.
template <class T>
T EntryAt(const TableVector<T>& v, uint64_t i) {
    return i < v.size() ? v[i] : T{};
}
