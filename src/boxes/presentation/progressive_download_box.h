#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// pdin: pairs of download rate and initial playback delay.
class CProgressiveDownloadbox : public CFullBox {
public:
    struct Entry {
        uint32_t rate;
        uint32_t initialDelay;
    };
    explicit CProgressiveDownloadbox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    size_t GetEntryCount() const { return m_entries.size(); }
    uint32_t GetRate(size_t i) const { return i < m_entries.size() ? m_entries[i].rate : 0; }
    uint32_t GetInitialDelay(size_t i) const { return i < m_entries.size() ? m_entries[i].initialDelay : 0; }

    std::vector<Entry> m_entries;
};
