#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// chan: a QuickTime sound's channel layout: a layout tag, a channel bitmap (for the
// bitmap tag), or a description of each channel (for the descriptions tag).
class CChannelLayoutBox : public CFullBox {
public:
    struct Description {
        uint32_t label = 0;
        uint32_t flags = 0;
        uint32_t coordinates[3] = {};  // 32-bit floats
    };
    explicit CChannelLayoutBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_layoutTag = 0;  // the layout in the high 16 bits, the channel count in the low
    uint32_t m_channelBitmap = 0;
    uint32_t m_descriptionCount = 0;
    std::vector<Description> m_descriptions;
};
