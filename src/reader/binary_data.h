#pragma once
#include <cstdint>

// One top-level box in memory: a view into the mapped input file. `available` bytes
// are really present; the rest of `size` reads as zeros (a box that claims more
// than the file holds).
class CBinaryData {
public:
    CBinaryData(const uint8_t* view, uint64_t size, uint64_t available)
        : m_data(view), m_size(size), m_available(available < size ? available : size) {}
    virtual ~CBinaryData() = default;
    CBinaryData(const CBinaryData&) = delete;
    CBinaryData& operator=(const CBinaryData&) = delete;

    const uint8_t* Data() const { return m_data; }
    uint64_t Size() const { return m_size; }
    uint64_t Available() const { return m_available; }

private:
    const uint8_t* m_data = nullptr;
    uint64_t m_size = 0;
    uint64_t m_available = 0;
};
