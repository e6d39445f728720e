#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// ftyp and styp: the brands a file (or segment) conforms to.
class CFileTypeBox : public CBox {
public:
    explicit CFileTypeBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    size_t GetCompatibleBrandCount() const { return m_compatibleBrands.size(); }
    uint32_t GetCompatibleBrand(size_t i) const { return i < m_compatibleBrands.size() ? m_compatibleBrands[i] : 0; }

    uint32_t m_majorBrand = 0;
    uint32_t m_minorVersion = 0;
    std::vector<uint32_t> m_compatibleBrands;
};
