#include "boxes/containers/media_data_box.h"

#include "base/log.h"
#include "flv/flv_tag.h"

CMediaDataBox::CMediaDataBox(const CBox& header, bool flvInMdat) : CBox(header), m_flv(flvInMdat) {}

CMediaDataBox::~CMediaDataBox() = default;

const std::vector<std::unique_ptr<CFLVTag>>& CMediaDataBox::Tags() const {
    static const std::vector<std::unique_ptr<CFLVTag>> kNone;
    return m_tags ? m_tags->tags : kNone;
}

const std::vector<uint32_t>& CMediaDataBox::PrevTagSizes() const {
    static const std::vector<uint32_t> kNone;
    return m_tags ? m_tags->prevTagSizes : kNone;
}

int CMediaDataBox::ParseBox(CBitStreamReader& reader) {
    if (!m_flv) {
        // Media data: skipped without touching its bytes.
        CORVEL_LOG("[Media Data Box] - length : %lld bytes", static_cast<long long>(reader.RemainingBytes()));
        reader.SkipBits(reader.RemainingBits);
        return 0;
    }
    // The first tag has no size before it; each later one follows the size of the one
    // before. The size after the last tag ends the box. A size follows a tag of at least
    // 11 bytes: the list is reserved once for as many as the payload can hold.
    m_tags = std::make_unique<FlvTags>();
    std::vector<uint32_t>& sizes = m_tags->prevTagSizes;
    sizes.reserve(reader.PresentBytes() / (CFLVTag::kHeaderBytes + 4) + 1);
    for (uint32_t i = 0; reader.RemainingBits > 0; ++i) {
        const int64_t at = m_startOffset + static_cast<int64_t>(reader.BitPosition / 8);
        if (i > 0) {
            uint32_t& size = sizes.emplace_back();
            if (reader.ReadBits(32, size) < 0) {
                sizes.pop_back();
                m_tags->incompleteTagOffset = at;
                break;
            }
            CORVEL_LOG("[CMediaDataBox::ParseBox] previous FLV Tag Size : %u", size);
            if (reader.RemainingBits == 0) break;
        }
        CORVEL_LOG("[CMediaDataBox::ParseBox] FLV Tag[%u]", i);
        auto tag = std::make_unique<CFLVTag>();
        tag->m_startOffset = m_startOffset + static_cast<int64_t>(reader.BitPosition / 8);
        if (tag->ParseTag(reader) < 0) {
            m_tags->incompleteTagOffset = tag->m_startOffset;
            break;
        }
        m_tags->tags.push_back(std::move(tag));
    }
    return 0;
}

int64_t IncompleteTagOffset(const CBox& box) {
    // The type first: a cast for every box of a large tree costs more than its line.
    if (box.m_type != FourCC("mdat")) return -1;
    auto* mdat = dynamic_cast<const CMediaDataBox*>(&box);
    return mdat ? mdat->IncompleteTagAt() : -1;
}

std::string BoxNotes(const CBox& box) {
    std::string notes;
    if (box.IsTruncated())
        notes = "truncated: " + std::to_string(box.PresentSize()) + " of " + std::to_string(box.DeclaredSize()) +
                " bytes present";
    if (const int64_t tag = IncompleteTagOffset(box); tag >= 0)
        notes += (notes.empty() ? "" : " ") + std::string("incomplete FLV tag at ") + std::to_string(tag);
    return notes;
}
