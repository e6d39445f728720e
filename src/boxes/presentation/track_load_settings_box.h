#pragma once
#include <cstdint>

#include "boxes/box.h"

// load (QuickTime, in a trak): what of the track a player loads ahead, and how.
class CTrackLoadSettingsBox : public CBox {
public:
    static constexpr uint32_t kPreloadAlways = 1, kPreloadIfEnabled = 2;
    static constexpr uint32_t kDoubleBuffer = 0x20, kHighQuality = 0x100;

    explicit CTrackLoadSettingsBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_preloadStartTime = 0;  // in the movie's time scale
    uint32_t m_preloadDuration = 0;   // in the movie's time scale; -1: to the end
    uint32_t m_preloadFlags = 0;
    uint32_t m_defaultHints = 0;
};
