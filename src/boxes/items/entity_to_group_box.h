#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// A child of grpl: a group of items and tracks (entities) of the kind its type says
// (altr: alternatives, one of which to show; ster: a stereo pair, left then right).
class CEntityToGroupBox : public CFullBox {
public:
    explicit CEntityToGroupBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_groupId = 0;
    uint32_t m_numEntitiesInGroup = 0;
    std::vector<uint32_t> m_entityIds;
};
