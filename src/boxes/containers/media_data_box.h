#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "boxes/box.h"

class CFLVTag;

// mdat. In an ordinary file its payload is skipped unread; in an F4F fragment
// (an mdat after a top-level afra or abst) it holds FLV tags, each followed by its
// previous-tag-size (the size of the tag before it).
class CMediaDataBox : public CBox {
public:
    CMediaDataBox(const CBox& header, bool flvInMdat);
    ~CMediaDataBox() override;
    // FLV: -1 when the tags end in one the box does not hold whole (the tags before it
    // stay; m_incompleteTagOffset tells where it starts).
    int ParseBox(CBitStreamReader& reader) override;

    bool HoldsFlv() const { return m_flv; }
    size_t GetTagCount() const { return m_tags.size(); }
    CFLVTag* GetTag(size_t index) const { return index < m_tags.size() ? m_tags[index].get() : nullptr; }
    uint32_t GetPrevTagSize(size_t index) const { return index < m_prevTagSizes.size() ? m_prevTagSizes[index] : 0; }
    bool EndsInIncompleteTag() const { return m_incompleteTagOffset >= 0; }

    bool m_flv;
    std::vector<std::unique_ptr<CFLVTag>> m_tags;
    // Entry k is the size stored after tag k; read in place, never moved.
    std::vector<uint32_t> m_prevTagSizes;
    // The file offset of a last tag (or previous-tag-size) that the box does not hold
    // whole; -1 when the tags end with the box.
    int64_t m_incompleteTagOffset = -1;
};
