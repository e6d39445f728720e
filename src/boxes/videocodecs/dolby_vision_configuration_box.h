#pragma once
#include <cstdint>

#include "boxes/box.h"

// dvcC (profiles up to 7), dvvC (8 and up): the Dolby Vision decoder configuration
// record.
class CDolbyVisionConfigurationBox : public CBox {
public:
    explicit CDolbyVisionConfigurationBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_versionMajor = 0;  // 8
    uint32_t m_versionMinor = 0;  // 8
    uint32_t m_profile = 0;       // 7
    uint32_t m_level = 0;         // 6
    uint32_t m_rpuPresent = 0;
    uint32_t m_elPresent = 0;
    uint32_t m_blPresent = 0;
    uint32_t m_blSignalCompatibilityId = 0;  // 4
    uint32_t m_reserved = 0;                 // 28
    uint32_t m_reserved2[4] = {};
};
