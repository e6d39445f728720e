#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "boxes/box.h"

class CFLVTag;

// mdat. In an ordinary file its payload is skipped unread; in an F4F fragment
// (an mdat after a top-level afra or abst) it holds FLV tags.
class CMediaDataBox : public CBox {
public:
    CMediaDataBox(const CBox& header, bool flvInMdat);
    ~CMediaDataBox() override;
    int ParseBox(CBitStreamReader& reader) override;

    bool HoldsFlv() const { return m_flv; }
    size_t GetTagCount() const { return m_tags.size(); }
    CFLVTag* GetTag(size_t index) const { return index < m_tags.size() ? m_tags[index].get() : nullptr; }
    uint32_t GetPrevTagSize(size_t index) const { return index < m_prevTagSizes.size() ? m_prevTagSizes[index] : 0; }

    bool m_flv;
    std::vector<std::unique_ptr<CFLVTag>> m_tags;
    std::vector<uint32_t> m_prevTagSizes;
};
