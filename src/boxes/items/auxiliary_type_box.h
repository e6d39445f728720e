#pragma once
#include <string>
#include <vector>

#include "boxes/box.h"

// auxC: what an auxiliary image item is (an alpha plane, a depth map), as a URN,
// with bytes whose meaning the URN defines.
class CAuxiliaryTypeBox : public CFullBox {
public:
    explicit CAuxiliaryTypeBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    std::string m_auxType;  // zero byte included
    std::vector<uint8_t> m_auxSubtype;
};
