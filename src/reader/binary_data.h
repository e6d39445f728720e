#pragma once
#include <cstdint>
#include <memory>

// One top-level box in memory. The bytes either belong to this object (owned) or
// are a view into the mapped input file. `available` bytes are really present;
// the rest of `size` reads as zeros (a box that claims more than the file holds).
class CBinaryData {
public:
    explicit CBinaryData(uint64_t size);  // owned, zero-filled
    CBinaryData(const uint8_t* view, uint64_t size, uint64_t available);  // not owned
    virtual ~CBinaryData() = default;
    CBinaryData(const CBinaryData&) = delete;
    CBinaryData& operator=(const CBinaryData&) = delete;

    const uint8_t* Data() const { return m_data; }
    uint8_t* MutableData() { return m_owned.get(); }
    uint64_t Size() const { return m_size; }
    uint64_t Available() const { return m_available; }
    bool Owned() const { return m_owned != nullptr; }

private:
    std::unique_ptr<uint8_t[]> m_owned;
    const uint8_t* m_data = nullptr;
    uint64_t m_size = 0;
    uint64_t m_available = 0;
};
