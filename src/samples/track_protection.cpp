#include "samples/track_protection.h"

#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/protection/protection_boxes.h"
#include "boxes/sampletable/sample_group_boxes.h"

namespace {
// The first box of class T from `box` down, depth first (the tree's depth is bounded).
template <class T>
const T* FirstOf(const CBox& box, uint32_t type = 0) {
    if (const auto* t = dynamic_cast<const T*>(&box); t && (!type || box.m_type == type)) return t;
    for (const auto& child : box.m_children)
        if (child)
            if (const T* t = FirstOf<T>(*child, type)) return t;
    return nullptr;
}

// The seig descriptions of an stbl's sample group description boxes, in order.
void SeigGroups(const CBox& stbl, std::vector<EncryptionDefaults>& out) {
    for (const auto& child : stbl.m_children) {
        const auto* sgpd = dynamic_cast<const CSampleGroupDescBox*>(child.get());
        if (!sgpd || sgpd->m_groupingType != FourCC("seig")) continue;
        for (uint32_t i = 0; i < sgpd->GetStoredEntryCount(); ++i) {
            const auto* seig = dynamic_cast<const EncryptionDefaults*>(sgpd->GetGroupEntry(i));
            out.push_back(seig ? *seig : EncryptionDefaults{});
        }
        return;
    }
}
}  // namespace

std::unordered_map<uint32_t, TrackProtection> ProtectionOfTracks(const CBox& moov) {
    std::unordered_map<uint32_t, TrackProtection> tracks;
    for (const auto& trak : moov.m_children) {
        if (!trak || trak->m_type != FourCC("trak")) continue;
        const auto* tkhd = FirstOf<CTrackHeaderBox>(*trak, FourCC("tkhd"));
        const auto* sinf = FirstOf<CProtectionSchemeInfoBox>(*trak, FourCC("sinf"));
        const auto* tenc = sinf ? FirstOf<CTrackEncryptionBox>(*sinf) : nullptr;
        if (!tkhd || !tenc) continue;
        TrackProtection p;
        const auto* schm = FirstOf<CSchemeTypeBox>(*sinf, FourCC("schm"));
        p.scheme = tenc->m_type == FourCC("uuid") ? FourCC("piff") : schm ? schm->m_schemeType : FourCC("cenc");
        p.defaults = *tenc;
        if (const CBox* stbl = FirstOf<CBox>(*trak, FourCC("stbl"))) SeigGroups(*stbl, p.groups);
        tracks.try_emplace(tkhd->m_trackID, std::move(p));
    }
    return tracks;
}
