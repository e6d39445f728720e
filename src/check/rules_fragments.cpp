// Fragments: movie fragments agree with the moov, with each other, with their media
// data and with the indexes that point at them.
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "boxes/fragments/movie_extends_boxes.h"
#include "boxes/fragments/movie_fragment_header_box.h"
#include "boxes/fragments/random_access_boxes.h"
#include "boxes/fragments/segment_index_boxes.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "boxes/fragments/track_run_box.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/streaming/fragment_random_access_box.h"
#include "check/check_context.h"
#include "check/rules.h"
#include "samples/flv_tags.h"
#include "samples/fragment_samples.h"

namespace {
std::string Num(uint64_t v) { return std::to_string(v); }
std::string Signed(int64_t v) { return std::string(v > 0 ? "+" : "").append(std::to_string(v)); }

// A traf's track has a trex in the moov (when the file has a moov at all).
void TrackExtends(CheckContext& check, const CTrackFragmentHeaderBox& tfhd, bool hasMoov) {
    if (!hasMoov || check.Samples().TrackExtends(tfhd.m_trackId)) return;
    check.AddField(Severity::Error, "traf-without-trex", tfhd, tfhd.m_trackId,
                   "the fragment's track " + Num(tfhd.m_trackId) + " has no 'trex' in the movie");
}

// The media data a fragment's runs point at lies in the mdat that goes with it.
void RunData(CheckContext& check, const CBox& traf, const CBox& moof) {
    const CBox* mdat = check.Parser().MediaDataOf(moof);
    if (!mdat || check.Samples().OffsetMode() == FragmentOffsetMode::Afra) return;
    const uint64_t first = uint64_t(mdat->m_startOffset) + (mdat->m_size == 1 ? 16 : 8);
    const uint64_t last = std::min(BoxEnd(*mdat), check.FileSize());
    FragmentSamples samples(traf, &moof, mdat, &check.Samples());
    auto cursor = samples.From(0);
    for (uint64_t k = 0; k < samples.Count() && check.TakeSample(); ++k) {
        const SampleRecord r = cursor.Next();
        if (!r.size || (r.offset >= first && r.offset + r.size <= last && r.offset + r.size >= r.offset)) continue;
        // The run the sample belongs to, for the data offset at fault.
        const CTrackRunBox* trun = nullptr;
        uint64_t before = 0;
        for (const auto& child : traf.m_children)
            if (const auto* run = dynamic_cast<const CTrackRunBox*>(child.get())) {
                trun = run;
                if (k < before + run->GetSampleEntryCount()) break;
                before += run->GetSampleEntryCount();
            }
        const std::string text = "sample " + Num(k + 1) + " (" + Num(r.size) + " bytes at " + Num(r.offset) +
                                 ") lies outside its 'mdat' (" + Num(first) + " to " + Num(last) + ")";
        if (trun && (trun->m_flags & CTrackRunBox::kDataOffsetPresent))
            check.AddField(Severity::Error, "trun-data-outside-mdat", *trun, trun->m_dataOffset, text);
        else
            check.Add(Severity::Error, "trun-data-outside-mdat", trun ? static_cast<const CBox&>(*trun) : traf, text);
        return;
    }
}

struct TrackTime {
    uint64_t end = 0;
    uint32_t timescale = 0;
};

// A fragment's tfdt continues where the track's previous fragment ended.
void DecodeTimes(CheckContext& check, const CBox& traf, const CBox& moof, const CTrackFragmentHeaderBox& tfhd,
                 std::map<uint32_t, TrackTime>& times, const std::map<uint32_t, uint32_t>& timescales) {
    const auto* tfdt = ChildOf<CTfdtBox>(traf, FourCC("tfdt"));
    auto it = times.find(tfhd.m_trackId);
    if (tfdt && it != times.end() && tfdt->m_baseMediaDecodeTime != it->second.end) {
        const int64_t gap = int64_t(tfdt->m_baseMediaDecodeTime - it->second.end);
        std::string amount = Signed(gap);
        auto ts = timescales.find(tfhd.m_trackId);
        if (ts != timescales.end() && ts->second) {
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "%+.3f", double(gap) / ts->second);
            amount += " (" + std::string(seconds) + " s)";
        }
        check.AddField(Severity::Warning, "tfdt-discontinuity", *tfdt, tfdt->m_baseMediaDecodeTime,
                       "track " + Num(tfhd.m_trackId) + " starts this fragment at " +
                           Num(tfdt->m_baseMediaDecodeTime) + "; the previous one ended at " + Num(it->second.end) +
                           ": " + (gap > 0 ? "a gap of " : "an overlap of ") + amount);
    }
    const CBox* mdat = check.Parser().MediaDataOf(moof);
    FragmentSamples samples(traf, &moof, mdat, &check.Samples(), it != times.end() ? it->second.end : 0);
    times[tfhd.m_trackId].end = samples.EndDecodeTime();
}

// mfhd sequence numbers increase from fragment to fragment.
void Sequence(CheckContext& check, const CBox& moof, const CMovieFragmentHeaderBox*& previous) {
    const auto* mfhd = ChildOf<CMovieFragmentHeaderBox>(moof, FourCC("mfhd"));
    if (!mfhd) return;
    if (previous && mfhd->m_sequenceNumber <= previous->m_sequenceNumber)
        check.AddField(Severity::Error, "mfhd-sequence", *mfhd, mfhd->m_sequenceNumber,
                       "sequence number " + Num(mfhd->m_sequenceNumber) + " follows " +
                           Num(previous->m_sequenceNumber) + ": the numbers must increase");
    previous = mfhd;
}

// An afra entry points at the FLV tag of its random access point (or at a moof).
void FlvRandomAccess(CheckContext& check, const CFragmentRandomAccessBox& afra) {
    std::set<uint64_t> tags;
    for (const CBox* top : check.Tops())
        if (top->m_type == FourCC("mdat"))
            VisitFlvTags(*top, [&](const FlvTagRecord& tag) {
                tags.insert(tag.offset);
                return check.TakeSample();
            });
    for (size_t i = 0; i < afra.m_localEntries.size(); ++i) {
        const auto& e = afra.m_localEntries[i];
        const CBox* target = check.TopAt(e.offset);
        if (tags.count(e.offset) || (target && target->m_type == FourCC("moof"))) continue;
        check.AddField(Severity::Error, "afra-offset", afra, e.offset,
                       "entry " + Num(i + 1) + " points at " + Num(e.offset) +
                           ", where neither an FLV tag nor a 'moof' starts");
        return;
    }
}

// tfra and afra entries point at a moof; mfro tells the mfra's size.
void RandomAccess(CheckContext& check) {
    for (const CBox* top : check.Tops()) {
        for (const CBox* box : BoxesOf(*top, FourCC("tfra"))) {
            const auto* tfra = dynamic_cast<const CTrackFragmentRandomAccessbox*>(box);
            for (size_t i = 0; tfra && i < tfra->m_entries.size(); ++i) {
                const auto& e = tfra->m_entries[i];
                const CBox* target = check.TopAt(e.moofOffset);
                if (target && target->m_type == FourCC("moof")) continue;
                check.AddField(Severity::Error, "tfra-not-moof", *tfra, e.moofOffset,
                               "entry " + Num(i + 1) + " points at " + Num(e.moofOffset) + ", where no 'moof' starts");
                break;
            }
        }
        for (const CBox* box : BoxesOf(*top, FourCC("afra")))
            if (const auto* afra = dynamic_cast<const CFragmentRandomAccessBox*>(box)) FlvRandomAccess(check, *afra);
        if (top->m_type != FourCC("mfra")) continue;
        const auto* mfro = ChildOf<CMovieFragmentRandomAccessOffsetBox>(*top, FourCC("mfro"));
        if (mfro && mfro->m_size != top->BoxSize())
            check.AddField(Severity::Error, "mfro-size", *mfro, mfro->m_size,
                           "'mfro' says " + Num(mfro->m_size) + " bytes; the 'mfra' has " + Num(top->BoxSize()));
    }
}

// The duration of the samples of track `trackId` in the moofs that start in [first, end):
// false when there are none.
bool FragmentsDuration(CheckContext& check, uint32_t trackId, uint64_t first, uint64_t end, uint64_t& duration) {
    bool any = false;
    duration = 0;
    const auto& tops = check.Tops();
    for (size_t i = check.FirstTopFrom(first); i < tops.size() && uint64_t(tops[i]->m_startOffset) < end; ++i) {
        const CBox* top = tops[i];
        if (top->m_type != FourCC("moof")) continue;
        for (const auto& traf : top->m_children) {
            const auto* tfhd = traf ? ChildOf<CTrackFragmentHeaderBox>(*traf, FourCC("tfhd")) : nullptr;
            if (!tfhd || tfhd->m_trackId != trackId) continue;
            FragmentSamples samples(*traf, top, check.Parser().MediaDataOf(*top), &check.Samples());
            if (!samples.Count()) continue;
            duration += samples.EndDecodeTime() - samples.At(0).decodeTime;
            any = true;
        }
    }
    return any;
}

// A sidx's references follow each other from the end of the sidx: each starts a box
// of the file, lasts what its fragments last, and, when it says it starts with a SAP,
// starts with a sync sample of the track.
void SegmentIndexes(CheckContext& check, const std::map<uint32_t, uint32_t>& timescales) {
    for (const CBox* top : check.Tops()) {
        const auto* sidx = dynamic_cast<const CSegmentIndexBox*>(top);
        if (!sidx) continue;
        uint64_t offset = BoxEnd(*sidx) + sidx->m_firstOffset;
        for (size_t i = 0; i < sidx->m_references.size(); ++i) {
            const auto& ref = sidx->m_references[i];
            const CBox* target = check.TopAt(offset);
            const Span at = check.SpanOf(*sidx, &ref.referencedSize, sizeof ref.referencedSize);
            if (!target) {
                // Where a reference starts is the first offset's doing, or the size of the one before.
                const Span cause = i == 0 ? check.SpanOf(*sidx, &sidx->m_firstOffset, sizeof sidx->m_firstOffset)
                                          : check.SpanOf(*sidx, &sidx->m_references[i - 1].referencedSize,
                                                         sizeof ref.referencedSize);
                check.Add(Severity::Error, "sidx-reference", *sidx, cause,
                          "reference " + Num(i + 1) + " starts at " + Num(offset) +
                              (offset >= check.FileSize() ? ", past the end of the file" : ", where no box starts"));
                break;
            }
            if (ref.referenceType == 0 && ref.startsWithSAP && target->m_type == FourCC("moof")) {
                for (const auto& child : target->m_children) {
                    const auto* tfhd = child ? ChildOf<CTrackFragmentHeaderBox>(*child, FourCC("tfhd")) : nullptr;
                    if (!tfhd || tfhd->m_trackId != sidx->m_referenceID) continue;
                    FragmentSamples samples(*child, target, check.Parser().MediaDataOf(*target), &check.Samples());
                    if (samples.Count() && samples.At(0).sync == SampleRecord::Sync::No)
                        check.Add(Severity::Warning, "sidx-sap-not-sync", *sidx,
                                  check.SpanOf(*sidx, &ref.startsWithSAP, sizeof ref.startsWithSAP),
                                  "reference " + Num(i + 1) + " says it starts with a SAP; the first sample of track " +
                                      Num(tfhd->m_trackId) + " at " + Num(offset) + " is not a sync sample");
                    break;
                }
            }
            // Durations compare only where the track's time scale is known (a segment
            // without its init segment has no mdhd).
            auto ts = timescales.find(sidx->m_referenceID);
            uint64_t duration = 0;
            if (ref.referenceType == 0 && ts != timescales.end() && ts->second && sidx->m_timescale &&
                FragmentsDuration(check, sidx->m_referenceID, offset, offset + ref.referencedSize, duration)) {
                const uint64_t scaled = uint64_t((unsigned __int128)duration * sidx->m_timescale / ts->second);
                if (scaled + 1 < ref.subsegmentDuration || scaled > uint64_t(ref.subsegmentDuration) + 1)
                    check.Add(Severity::Error, "sidx-duration", *sidx,
                              check.SpanOf(*sidx, &ref.subsegmentDuration, sizeof ref.subsegmentDuration),
                              "reference " + Num(i + 1) + " lasts " + Num(ref.subsegmentDuration) +
                                  "; its fragments of track " + Num(sidx->m_referenceID) + " last " + Num(scaled) +
                                  " (time scale " + Num(sidx->m_timescale) + ")");
            }
            offset += ref.referencedSize;
            if (offset > check.FileSize()) {
                check.Add(Severity::Error, "sidx-reference", *sidx, at,
                          "reference " + Num(i + 1) + " ends at " + Num(offset) + ", past the end of the file (" +
                              Num(check.FileSize()) + " bytes)");
                break;
            }
        }
    }
}
}  // namespace

void CheckFragments(CheckContext& check) {
    bool hasMoov = false;
    std::map<uint32_t, uint32_t> timescales;
    for (const CBox* top : check.Tops())
        if (top->m_type == FourCC("moov")) {
            hasMoov = true;
            for (const auto& trak : top->m_children) {
                if (!trak || trak->m_type != FourCC("trak")) continue;
                const auto* tkhd = ChildOf<CTrackHeaderBox>(*trak, FourCC("tkhd"));
                const auto mdhds = BoxesOf(*trak, FourCC("mdhd"));
                const auto* mdhd = mdhds.empty() ? nullptr : dynamic_cast<const CMediaHeaderBox*>(mdhds.front());
                if (tkhd && mdhd) timescales[tkhd->m_trackID] = mdhd->m_timescale;
            }
            break;
        }
    std::map<uint32_t, TrackTime> times;
    const CMovieFragmentHeaderBox* previous = nullptr;
    for (const CBox* top : check.Tops()) {
        if (top->m_type != FourCC("moof")) continue;
        Sequence(check, *top, previous);
        for (const auto& traf : top->m_children) {
            if (!traf || traf->m_type != FourCC("traf")) continue;
            const auto* tfhd = ChildOf<CTrackFragmentHeaderBox>(*traf, FourCC("tfhd"));
            if (!tfhd) continue;
            TrackExtends(check, *tfhd, hasMoov);
            RunData(check, *traf, *top);
            DecodeTimes(check, *traf, *top, *tfhd, times, timescales);
        }
    }
    RandomAccess(check);
    SegmentIndexes(check, timescales);
}
