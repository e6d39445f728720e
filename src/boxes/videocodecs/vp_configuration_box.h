#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// vpcC: the VP8/VP9 codec configuration record (version 1). Another version's payload
// is left unread.
class CVPConfigurationBox : public CFullBox {
public:
    explicit CVPConfigurationBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_profile = 0;  // 8
    uint32_t m_level = 0;    // 8
    uint32_t m_bitDepth = 0;            // 4
    uint32_t m_chromaSubsampling = 0;   // 3
    uint32_t m_videoFullRangeFlag = 0;  // 1
    uint32_t m_colourPrimaries = 0;          // 8
    uint32_t m_transferCharacteristics = 0;  // 8
    uint32_t m_matrixCoefficients = 0;       // 8
    uint32_t m_codecInitializationDataSize = 0;  // 16
    std::vector<uint8_t> m_codecInitializationData;
};
