#pragma once
#include <cstdint>

#include "boxes/box.h"

// ccst: what an image sequence's coding restricts: intra-only references, intra
// prediction, references per picture (15: any number).
class CCodingConstraintsBox : public CFullBox {
public:
    explicit CCodingConstraintsBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_allRefPicsIntra = 0;  // 1
    uint32_t m_intraPredUsed = 0;    // 1
    uint32_t m_maxRefPerPic = 0;     // 4
    uint32_t m_reserved = 0;         // 26
};
