#include "samples/flv_tags.h"

#include "boxes/containers/media_data_box.h"
#include "flv/flv_tag.h"

size_t FlvTagCount(const CBox& box) {
    auto* mdat = dynamic_cast<const CMediaDataBox*>(&box);
    return mdat ? mdat->GetTagCount() : 0;
}

void VisitFlvTags(const CBox& box, const std::function<bool(const FlvTagRecord&)>& visit) {
    auto* mdat = dynamic_cast<const CMediaDataBox*>(&box);
    if (!mdat) return;
    for (size_t i = 0; i < mdat->GetTagCount(); ++i) {
        const CFLVTag& tag = *mdat->GetTag(i);
        if (!visit({i, tag.m_tagType, tag.Timestamp(), tag.m_dataSize, uint64_t(tag.m_startOffset)})) return;
    }
}
