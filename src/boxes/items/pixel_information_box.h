#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// pixi: the number of channels of an image item and the bits of each.
class CPixelInformationBox : public CFullBox {
public:
    explicit CPixelInformationBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_numChannels = 0;  // 8 bits
    std::vector<uint32_t> m_bitsPerChannel;  // 8 bits each
};
