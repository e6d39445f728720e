#pragma once
#include <cstdint>

#include "boxes/box.h"
#include "boxes/sampletable/table_allocator.h"

// padb: padding bits of two samples per byte.
class CPaddingBitsBox : public CFullBox {
public:
    explicit CPaddingBitsBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetSampleCount() const { return m_sampleCount; }
    size_t GetStoredByteCount() const { return m_bytes.size(); }
    // Byte i (samples 2i and 2i+1): bit 7 reserved, bits 6-4 pad1, bit 3 reserved, bits 2-0 pad2.
    uint8_t GetByte(uint32_t i) const { return i < m_bytes.size() ? m_bytes[i] : 0; }
    uint32_t GetPad1(uint32_t i) const { return (GetByte(i) >> 4) & 7; }
    uint32_t GetPad2(uint32_t i) const { return GetByte(i) & 7; }

    uint32_t m_sampleCount = 0;
    TableVector<uint8_t> m_bytes;
};
