// Tracks: their identities, the references between them and their sample descriptions.
#include <map>
#include <string>

#include "boxes/fragments/movie_extends_boxes.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/presentation/track_reference_type_box.h"
#include "boxes/sampleentry/sample_description_box.h"
#include "boxes/sampletable/sample_to_chunk_box.h"
#include "check/check_context.h"
#include "check/rules.h"

namespace {
std::string Num(uint64_t v) { return std::to_string(v); }

// Track IDs are unique and not 0; the movie's next track ID is above all of them.
void TrackIds(CheckContext& check, const CBox& moov, std::map<uint32_t, const CBox*>& tracks) {
    uint32_t highest = 0;
    for (const CBox* box : BoxesOf(moov, FourCC("tkhd"))) {
        const auto* tkhd = dynamic_cast<const CTrackHeaderBox*>(box);
        if (!tkhd) continue;
        if (tkhd->m_trackID == 0)
            check.AddField(Severity::Error, "track-id-zero", *tkhd, tkhd->m_trackID, "the track ID is 0");
        else if (!tracks.emplace(tkhd->m_trackID, tkhd).second)
            check.AddField(Severity::Error, "track-id-duplicate", *tkhd, tkhd->m_trackID,
                           "a second track with ID " + Num(tkhd->m_trackID));
        highest = std::max(highest, tkhd->m_trackID);
    }
    const auto* mvhd = ChildOf<CMovieHeaderBox>(moov, FourCC("mvhd"));
    // All ones says "no free ID is known", which a file may say whatever its tracks. A
    // player never reads the field (only a tool that adds a track): a warning.
    if (mvhd && highest && mvhd->m_nextTrackID <= highest && mvhd->m_nextTrackID != UINT32_MAX)
        check.AddField(Severity::Warning, "next-track-id", *mvhd, mvhd->m_nextTrackID,
                       "the next track ID is " + Num(mvhd->m_nextTrackID) + ", not above track ID " + Num(highest));
}

void References(CheckContext& check, const CBox& moov, const std::map<uint32_t, const CBox*>& tracks) {
    for (const CBox* tref : BoxesOf(moov, FourCC("tref")))
        for (const auto& child : tref->m_children) {
            const auto* ref = dynamic_cast<const CTrackReferenceTypeBox*>(child.get());
            if (!ref) continue;
            for (const uint32_t& id : ref->m_trackIDs)
                if (!tracks.count(id)) {
                    check.Add(Severity::Error, "tref-missing-track", *ref,
                              check.SpanOf(*ref, &id, sizeof id),
                              Quoted(ref->m_type) + " refers to track " + Num(id) + ", which the movie has not");
                    break;
                }
        }
}

uint32_t EntriesOf(const CBox& trak) {
    const auto list = BoxesOf(trak, FourCC("stsd"));
    const auto* stsd = list.empty() ? nullptr : dynamic_cast<const CSampleDescriptionBox*>(list.front());
    return stsd ? uint32_t(stsd->GetChildCount()) : 0;
}

// Every sample description index names an entry of the track's stsd.
void DescriptionIndexes(CheckContext& check, const CBox& moov, std::map<uint32_t, uint32_t>& entriesById) {
    for (const auto& child : moov.m_children) {
        if (!child || child->m_type != FourCC("trak")) continue;
        const uint32_t entries = EntriesOf(*child);
        if (const auto* tkhd = ChildOf<CTrackHeaderBox>(*child, FourCC("tkhd"))) entriesById[tkhd->m_trackID] = entries;
        for (const CBox* box : BoxesOf(*child, FourCC("stsc"))) {
            const auto* stsc = dynamic_cast<const CSampleToChunkbox*>(box);
            if (!stsc) continue;
            for (uint32_t i = 0; i < stsc->m_entries.size(); ++i) {
                const uint32_t index = stsc->m_entries[i].sampleDescriptionIndex;
                if (index >= 1 && index <= entries) continue;
                check.Add(Severity::Error, "sample-description-index", *stsc,
                          check.SpanOf(*stsc, stsc->m_entries.Address(i), stsc->m_entries.RecordBytes()),
                          "entry " + Num(i + 1) + " names sample description " + Num(index) + "; 'stsd' has " +
                              Num(entries));
                break;
            }
        }
    }
}

void FragmentDescriptionIndexes(CheckContext& check, const std::map<uint32_t, uint32_t>& entriesById) {
    auto Check = [&](const CBox& box, uint32_t trackId, const uint32_t& index) {
        auto it = entriesById.find(trackId);
        if (it == entriesById.end() || (index >= 1 && index <= it->second)) return;
        check.AddField(Severity::Error, "sample-description-index", box, index,
                       "sample description " + Num(index) + " of track " + Num(trackId) + "; its 'stsd' has " +
                           Num(it->second));
    };
    for (const CBox* top : check.Tops()) {
        for (const CBox* box : BoxesOf(*top, FourCC("trex")))
            if (const auto* trex = dynamic_cast<const CTrackExtendsBox*>(box))
                Check(*trex, trex->m_trackId, trex->m_defaultSampleDescriptionIndex);
        for (const CBox* box : BoxesOf(*top, FourCC("tfhd")))
            if (const auto* tfhd = dynamic_cast<const CTrackFragmentHeaderBox*>(box);
                tfhd && (tfhd->m_flags & CTrackFragmentHeaderBox::kSampleDescriptionIndexPresent))
                Check(*tfhd, tfhd->m_trackId, tfhd->m_sampleDescriptionIndex);
    }
}
}  // namespace

void CheckTracks(CheckContext& check) {
    std::map<uint32_t, uint32_t> entriesById;
    for (const CBox* top : check.Tops()) {
        if (top->m_type != FourCC("moov")) continue;
        std::map<uint32_t, const CBox*> tracks;
        TrackIds(check, *top, tracks);
        References(check, *top, tracks);
        DescriptionIndexes(check, *top, entriesById);
        break;  // a second moov is a structure finding; its tracks are not the movie's
    }
    FragmentDescriptionIndexes(check, entriesById);
}
