#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// elst: the edits that map the media timeline onto the presentation.
class CEditListBox : public CFullBox {
public:
    struct Edit {
        uint64_t segmentDuration = 0;
        uint64_t mediaTime = 0;          // as stored: 64 bits in version 1, else 32
        uint32_t mediaRateInteger = 0;   // 16 bits
        uint32_t mediaRateFraction = 0;  // 16 bits
    };
    explicit CEditListBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetEntryCount() const { return m_entryCount; }
    // Edit i, or a zero edit at or past the stored ones.
    Edit GetEdit(uint32_t i) const { return i < m_edits.size() ? m_edits[i] : Edit{}; }
    // The media time is signed in either width: -1 marks an empty edit.
    int64_t GetMediaTime(uint32_t i) const;
    // The rate's parts are signed 16-bit numbers.
    int32_t GetMediaRateInteger(uint32_t i) const { return static_cast<int16_t>(GetEdit(i).mediaRateInteger); }
    int32_t GetMediaRateFraction(uint32_t i) const { return static_cast<int16_t>(GetEdit(i).mediaRateFraction); }

    uint32_t m_entryCount = 0;
    std::vector<Edit> m_edits;
};
