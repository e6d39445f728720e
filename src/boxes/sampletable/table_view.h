#pragma once
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/span_map.h"
#include "reader/bit_stream_reader.h"

// A table of fixed-size records left where they are in the box's bytes (the buffer
// the parse keeps for the top-level box) and decoded on access: a sample table of a
// million entries costs no memory of its own, and the tree never decodes it. Only the
// records the bytes hold are taken. A table that does not start on a byte boundary
// (never in a real file) is copied once.
//
// Record i is at Address(i), RecordBytes() long: where a page row finds its span.
template <class T>
class TableView {
public:
    // Decodes one record; `context` is the table's (the layout of a run's samples,
    // the width of a chunk offset).
    using Decode = T (*)(const uint8_t* record, uint32_t context);

    TableView() = default;
    explicit TableView(Decode decode) : m_decode(decode) {}
    // A copy would point into the other's bytes; a move keeps them (a vector's buffer moves).
    TableView(const TableView&) = delete;
    TableView& operator=(const TableView&) = delete;
    TableView(TableView&&) = default;
    TableView& operator=(TableView&&) = default;

    size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    T operator[](size_t i) const { return m_decode(Address(i), m_context); }
    // Record i, or a default record at or past the records held.
    T At(uint64_t i) const { return i < m_count ? (*this)[i] : T{}; }
    const uint8_t* Address(size_t i) const { return m_data + i * m_recordBytes; }
    uint32_t RecordBytes() const { return m_recordBytes; }

    // Takes up to `count` records of `recordBytes` at the reader's position and moves
    // past them; -1 when the bytes end before the last (the records before it are taken).
    int Read(CBitStreamReader& reader, uint64_t count, uint32_t recordBytes, uint32_t context = 0) {
        m_recordBytes = recordBytes;
        m_context = context;
        m_count = recordBytes ? static_cast<size_t>(std::min<uint64_t>(count, reader.PresentBytes() / recordBytes)) : 0;
        const uint64_t firstBit = reader.FileBit();
        if (reader.BitPosition % 8 == 0) {
            m_data = reader.CurrentByte();
            reader.SkipBits(uint64_t(m_count) * recordBytes * 8);
        } else {
            m_copy = std::make_unique<std::vector<uint8_t>>();
            if (reader.ReadBytes(uint64_t(m_count) * recordBytes, *m_copy) < 0) m_count = 0;
            m_data = m_copy->data();
        }
        if (SpanMap* spans = reader.Spans()) {
            spans->Record(this, {firstBit, reader.FileBit() - firstBit});
            spans->RecordTable(m_data, m_count, recordBytes, firstBit, uint64_t{recordBytes} * 8);
        }
        return count > m_count ? -1 : 0;
    }

    // Walks the records in order: `for (T record : view)`.
    class Iterator {
    public:
        Iterator(const TableView* view, size_t i) : m_view(view), m_i(i) {}
        T operator*() const { return (*m_view)[m_i]; }
        Iterator& operator++() {
            ++m_i;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return m_i != other.m_i; }

    private:
        const TableView* m_view;
        size_t m_i;
    };
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, m_count}; }

private:
    Decode m_decode = nullptr;
    const uint8_t* m_data = nullptr;
    size_t m_count = 0;
    uint32_t m_recordBytes = 0;
    uint32_t m_context = 0;
    std::unique_ptr<std::vector<uint8_t>> m_copy;  // made only for a table off the byte grid
};
