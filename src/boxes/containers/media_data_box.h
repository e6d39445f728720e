#pragma once
#include <cstdint>
#include <memory>
#include <string>
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
    // FLV: tags that end in one the box does not hold whole keep the tags before it, and
    // m_incompleteTagOffset tells where it starts; the box itself still parsed.
    int ParseBox(CBitStreamReader& reader) override;

    bool HoldsFlv() const { return m_flv; }
    size_t GetTagCount() const { return m_tags ? m_tags->tags.size() : 0; }
    CFLVTag* GetTag(size_t index) const { return index < GetTagCount() ? m_tags->tags[index].get() : nullptr; }
    uint32_t GetPrevTagSize(size_t index) const {
        return index < PrevTagSizes().size() ? PrevTagSizes()[index] : 0;
    }
    const std::vector<std::unique_ptr<CFLVTag>>& Tags() const;
    // Entry k is the size stored after tag k; read in place, never moved.
    const std::vector<uint32_t>& PrevTagSizes() const;
    // The file offset of a last tag (or previous-tag-size) that the box does not hold
    // whole; -1 when the tags end with the box.
    int64_t IncompleteTagAt() const { return m_tags ? m_tags->incompleteTagOffset : -1; }
    bool EndsInIncompleteTag() const { return IncompleteTagAt() >= 0; }

    bool m_flv;

private:
    // Only the mdat of an F4F fragment holds tags: the others keep no room for them.
    struct FlvTags {
        std::vector<std::unique_ptr<CFLVTag>> tags;
        std::vector<uint32_t> prevTagSizes;
        int64_t incompleteTagOffset = -1;
    };
    std::unique_ptr<FlvTags> m_tags;
};

// Where an F4F mdat's last tag starts when the box does not hold it whole; -1 for any other box.
int64_t IncompleteTagOffset(const CBox& box);
// What the tree tells of a box beside its type, offset and size: "truncated: N of M bytes
// present", "incomplete FLV tag at N", both, or nothing.
std::string BoxNotes(const CBox& box);
