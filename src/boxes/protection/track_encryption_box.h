#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// The defaults a protected track's samples share (key, IV size, pattern): tenc's fields
// after its version and flags, and a seig sample group entry's.
struct EncryptionDefaults {
    int Read(CBitStreamReader& reader);
    // Samples carry no IV of their own: one constant IV serves them all.
    bool HasConstantIv() const { return m_isProtected == 1 && m_perSampleIvSize == 0; }

    uint32_t m_reserved = 0;          // 8 bits
    uint32_t m_cryptByteBlock = 0;    // 4 bits, tenc version 1 and seig (else reserved)
    uint32_t m_skipByteBlock = 0;     // 4 bits, tenc version 1 and seig (else reserved)
    uint32_t m_isProtected = 0;       // 8 bits
    uint32_t m_perSampleIvSize = 0;   // 8 bits: 0, 8 or 16
    std::vector<uint8_t> m_kid;       // 16 bytes
    uint32_t m_constantIvSize = 0;    // 8 bits, with a constant IV
    std::vector<uint8_t> m_constantIv;
};

// tenc: a protected track's defaults. PIFF's track encryption uuid box holds the
// version 0 fields.
class CTrackEncryptionBox : public CFullBox, public EncryptionDefaults {
public:
    explicit CTrackEncryptionBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override {
        return CFullBox::ParseBox(reader) < 0 ? -1 : Read(reader);
    }
};
