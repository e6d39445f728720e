#pragma once
#include <cstdint>

#include "reader/large_storage.h"

// One top-level box in memory: the bytes of it that were read (`available`, all of
// them present in the file) and the length it covers (`size`: its declared size, at
// most the in-memory limit). A payload that is only skipped (media data) or that lies
// past the end of the file is covered but not held.
class CBinaryData {
public:
    CBinaryData(uint64_t size, uint64_t available)
        : m_allocated(available ? available : 1),
          m_bytes(static_cast<uint8_t*>(AllocateLargeStorage(m_allocated))),
          m_size(size),
          m_available(available < size ? available : size) {}
    virtual ~CBinaryData() { FreeLargeStorage(m_bytes, m_allocated); }
    CBinaryData(const CBinaryData&) = delete;
    CBinaryData& operator=(const CBinaryData&) = delete;

    const uint8_t* Data() const { return m_bytes; }
    uint8_t* MutableData() { return m_bytes; }
    uint64_t Size() const { return m_size; }
    uint64_t Available() const { return m_available; }
    // Keeps the first `n` bytes held (a read that came up short).
    void Truncate(uint64_t n) { m_available = n < m_available ? n : m_available; }

private:
    uint64_t m_allocated;
    uint8_t* m_bytes;
    uint64_t m_size = 0;
    uint64_t m_available = 0;
};
