#include "samples/sample_context.h"

#include "boxes/containers/corvel.h"
#include "boxes/fragments/movie_extends_boxes.h"
#include "boxes/presentation/file_type_box.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "samples/track_samples.h"

void FindBoxes(const CBox& box, uint32_t type, std::vector<const CBox*>& list) {
    // Depth first without recursion: the tree's depth is bounded, but a stack costs nothing.
    std::vector<const CBox*> pending{&box};
    while (!pending.empty()) {
        const CBox* b = pending.back();
        pending.pop_back();
        if (b->m_type == type) list.push_back(b);
        for (auto it = b->m_children.rbegin(); it != b->m_children.rend(); ++it)
            if (*it) pending.push_back(it->get());
    }
}

SampleContext::SampleContext(uint64_t fileSize, const CCorvel* init) : m_fileSize(fileSize) {
    for (size_t i = 0; init && i < init->GetBoxCount(); ++i)
        if (const CBox* box = init->GetBox(i); box && box->m_type == FourCC("moov")) Note(*box);
    // The init segment's sample tables are not this file's.
    m_stbls.clear();
    m_tracksHaveSamples = false;
}

SampleContext::SampleContext(const CCorvel& parser, const CCorvel* init)
    : SampleContext(uint64_t(parser.FileSize()), init) {
    m_parser = &parser;
    for (size_t i = 0; i < parser.GetBoxCount(); ++i)
        if (const CBox* box = parser.GetBox(i)) Note(*box);
}

void SampleContext::Note(const CBox& box) {
    // The last match in file order decides.
    if (auto* ftyp = dynamic_cast<const CFileTypeBox*>(&box);
        ftyp && box.m_type == FourCC("ftyp") && ftyp->m_majorBrand == FourCC("isml"))
        m_mode = FragmentOffsetMode::Isml;
    else if (box.m_type == FourCC("afra"))
        m_mode = FragmentOffsetMode::Afra;
    if (m_moovSeen || box.m_type != FourCC("moov")) return;
    m_moovSeen = true;
    std::vector<const CBox*> found, stbls;
    std::unordered_map<const CBox*, uint32_t> trackOf;  // the track id of each stbl
    for (const auto& child : box.m_children) {
        if (!child) continue;
        FindBoxes(*child, FourCC("trex"), found);
        FindBoxes(*child, FourCC("stbl"), stbls);
    }
    // The first trex of a track id serves.
    for (const CBox* b : found)
        if (auto* trex = dynamic_cast<const CTrackExtendsBox*>(b)) m_trex.try_emplace(trex->m_trackId, *trex);
    for (const auto& trak : box.m_children) {
        if (!trak || trak->m_type != FourCC("trak")) continue;
        std::vector<const CBox*> tkhd, tables;
        FindBoxes(*trak, FourCC("tkhd"), tkhd);
        FindBoxes(*trak, FourCC("stbl"), tables);
        const auto* header = tkhd.empty() ? nullptr : dynamic_cast<const CTrackHeaderBox*>(tkhd.front());
        for (const CBox* stbl : tables) trackOf[stbl] = header ? header->m_trackID : 0;
    }
    for (const CBox* stbl : stbls) {
        m_stbls.push_back({stbl->m_id, TrackSampleCount(*stbl, m_fileSize), trackOf[stbl]});
        m_tracksHaveSamples = m_tracksHaveSamples || m_stbls.back().samples > 0;
    }
    m_protection = ProtectionOfTracks(box);
}

const TrackProtection* SampleContext::Protection(uint32_t trackId) const {
    auto it = m_protection.find(trackId);
    return it == m_protection.end() ? nullptr : &it->second;
}

const CTrackExtendsBox* SampleContext::TrackExtends(uint32_t trackId) const {
    auto it = m_trex.find(trackId);
    return it == m_trex.end() ? nullptr : &it->second;
}
