#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// senc: each sample's IV and, with flag 2, which of its bytes are clear and which
// protected. PIFF's sample encryption uuid box is alike; with its flag 1 it names its own
// algorithm, IV size and KID.
//
// The IV size is the track's (its tenc, or a seig group), which the box does not hold:
// the parse takes the size among 8, 16 and 0 whose records fill the box exactly, and a
// box that no size fills fails.
class CSampleEncryptionBox : public CFullBox {
public:
    struct Record {
        std::array<uint8_t, 16> iv{};
        uint32_t subsampleCount = 0;  // 16 bits, with flag 2
        uint32_t firstSubsample = 0;  // index into m_subsamples
    };
    struct Subsample {
        uint32_t clearBytes = 0;      // 16 bits
        uint32_t protectedBytes = 0;  // 32 bits
    };
    static constexpr uint32_t kOverrideTrackEncryption = 1;  // PIFF
    static constexpr uint32_t kUseSubsampleEncryption = 2;

    explicit CSampleEncryptionBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    // PIFF's own track encryption fields (flag 1).
    uint32_t m_algorithmId = 0;  // 24 bits
    uint32_t m_ivSize = 0;       // 8 bits, with flag 1; else the size the records take
    std::vector<uint8_t> m_kid;  // 16 bytes, with flag 1
    uint32_t m_sampleCount = 0;
    // The records, when each takes a byte or more (an IV of 0 bytes and no subsamples
    // leaves nothing to list).
    std::vector<Record> m_records;
    std::vector<Subsample> m_subsamples;

private:
    // Whether `count` records with IVs of `ivSize` bytes fill exactly what `reader` holds.
    bool Fills(CBitStreamReader reader, uint32_t ivSize) const;
    int ReadRecords(CBitStreamReader& reader);
};
