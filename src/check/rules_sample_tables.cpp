// Sample tables: the tables of a track agree with each other, with the file and with
// the track's durations.
#include <algorithm>
#include <memory>
#include <optional>
#include <queue>
#include <string>

#include "boxes/presentation/data_reference_boxes.h"
#include "boxes/presentation/edit_list_box.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/sampletable/aux_info_boxes.h"
#include "boxes/sampletable/chunk_offset_box.h"
#include "boxes/sampletable/sample_group_boxes.h"
#include "boxes/sampletable/sample_size_box.h"
#include "boxes/sampletable/sample_to_chunk_box.h"
#include "boxes/sampletable/sync_sample_box.h"
#include "boxes/sampletable/time_to_sample_box.h"
#include "check/check_context.h"
#include "check/rules.h"

namespace {
// The boxes of one track that the rules read; any may be null.
struct Track {
    const CBox* trak = nullptr;
    const CMovieHeaderBox* mvhd = nullptr;
    const CTrackHeaderBox* tkhd = nullptr;
    const CMediaHeaderBox* mdhd = nullptr;
    const CBox* stbl = nullptr;
    const CTimeToSampleBox* stts = nullptr;
    const CChunkOffsetBox* chunks = nullptr;  // stco or co64
    uint64_t samples = 0;                     // of the size box
    bool hasSizes = false;
    // From one pass over the chunk offsets: the first at or past the end of the file
    // (from 1; 0: none), and whether they ever decrease.
    uint32_t firstChunkPastEnd = 0;
    bool chunksOutOfOrder = false;
};

Track TrackOf(const CBox& trak, const CMovieHeaderBox* mvhd, uint64_t fileSize) {
    Track t;
    t.trak = &trak;
    t.mvhd = mvhd;
    t.tkhd = ChildOf<CTrackHeaderBox>(trak, FourCC("tkhd"));
    const CBox* mdia = trak.RetrieveChildBox(FourCC("mdia"), true);
    const CBox* minf = mdia ? mdia->RetrieveChildBox(FourCC("minf"), true) : nullptr;
    t.mdhd = mdia ? ChildOf<CMediaHeaderBox>(*mdia, FourCC("mdhd")) : nullptr;
    t.stbl = minf ? minf->RetrieveChildBox(FourCC("stbl"), true) : nullptr;
    if (!t.stbl) return t;
    t.stts = ChildOf<CTimeToSampleBox>(*t.stbl, FourCC("stts"));
    t.chunks = ChildOf<CChunkOffsetBox>(*t.stbl, FourCC("stco"));
    if (!t.chunks) t.chunks = ChildOf<CChunkOffsetBox>(*t.stbl, FourCC("co64"));
    if (t.chunks) {
        const auto& offsets = t.chunks->m_chunkOffsets;
        for (uint32_t i = 0; i < offsets.size(); ++i) {
            const uint64_t offset = offsets[i];
            if (offset >= fileSize && !t.firstChunkPastEnd) t.firstChunkPastEnd = i + 1;
            t.chunksOutOfOrder = t.chunksOutOfOrder || (i > 0 && offset < offsets[i - 1]);
        }
    }
    if (const auto* stsz = ChildOf<CSampleSizeBox>(*t.stbl, FourCC("stsz"))) {
        t.samples = stsz->m_sampleCount;
        t.hasSizes = true;
    } else if (const auto* stz2 = ChildOf<CCompactSampleSizeBox>(*t.stbl, FourCC("stz2"))) {
        t.samples = stz2->m_sampleCount;
        t.hasSizes = true;
    }
    return t;
}

std::string Num(uint64_t v) { return std::to_string(v); }

template <class Box>
uint64_t RunSum(const Box& box) {
    uint64_t sum = 0;
    for (const auto& e : box.m_entries) sum += e.sampleCount;
    return sum;
}

// stts, ctts, sdtp and sbgp count the samples the size box has.
void SampleCounts(CheckContext& check, const Track& t) {
    if (!t.hasSizes) return;
    if (t.stts && RunSum(*t.stts) != t.samples)
        check.AddField(Severity::Error, "stts-sample-count", *t.stts, t.stts->m_entries,
                       "the time-to-sample entries count " + Num(RunSum(*t.stts)) + " samples; the track has " +
                           Num(t.samples));
    if (const auto* ctts = ChildOf<CCompositionOffsetBox>(*t.stbl, FourCC("ctts")); ctts && RunSum(*ctts) != t.samples)
        check.AddField(Severity::Error, "ctts-sample-count", *ctts, ctts->m_entries,
                       "the composition offset entries count " + Num(RunSum(*ctts)) + " samples; the track has " +
                           Num(t.samples));
    // sdtp has one byte a sample and no count of its own: its size tells how many it has.
    if (const auto* sdtp = ChildOf<CFullBox>(*t.stbl, FourCC("sdtp"))) {
        const uint64_t header = (sdtp->m_size == 1 ? 16 : 8) + 4;
        const uint64_t held = sdtp->BoxSize() > header ? sdtp->BoxSize() - header : 0;
        if (held != t.samples && !sdtp->IsTruncated())
            check.Add(Severity::Error, "sdtp-sample-count", *sdtp,
                      "the dependency table holds " + Num(held) + " samples; the track has " + Num(t.samples));
    }
    for (const CBox* box : BoxesOf(*t.stbl, FourCC("sbgp"))) {
        const auto* sbgp = dynamic_cast<const CSampletoGroupBox*>(box);
        if (!sbgp || box == t.stbl) continue;
        uint64_t sum = 0;
        for (uint32_t i = 0; i < sbgp->m_entries.size(); ++i) sum += sbgp->GetSampleCount(i);
        if (sum > t.samples)
            check.Add(Severity::Error, "sbgp-sample-count", *sbgp,
                           "the sample-to-group entries count " + Num(sum) + " samples; the track has " +
                               Num(t.samples));
    }
}

// stsc: first chunks from 1, increasing, within the chunk offsets; its runs hold the samples.
void SampleToChunk(CheckContext& check, const Track& t) {
    const auto* stsc = ChildOf<CSampleToChunkbox>(*t.stbl, FourCC("stsc"));
    if (!stsc || !t.chunks) return;
    const uint64_t chunkCount = t.chunks->m_entryCount;
    uint64_t previous = 0, samples = 0;
    const size_t stored = stsc->m_entries.size();
    auto next = stored ? stsc->m_entries[0] : CSampleToChunkbox::Entry{};
    for (uint32_t i = 0; i < stored; ++i) {
        const auto e = next;
        if (i + 1 < stored) next = stsc->m_entries[i + 1];
        std::string fault;
        if (i == 0 && e.firstChunk != 1)
            fault = "the first entry starts at chunk " + Num(e.firstChunk) + ", not 1";
        else if (i > 0 && e.firstChunk <= previous)
            fault = "entry " + Num(i + 1) + " starts at chunk " + Num(e.firstChunk) + ", not after " + Num(previous);
        else if (e.firstChunk > chunkCount)
            fault = "entry " + Num(i + 1) + " starts at chunk " + Num(e.firstChunk) + " of " + Num(chunkCount);
        if (!fault.empty()) {
            check.Add(Severity::Error, "stsc-first-chunk", *stsc,
                      check.SpanOf(*stsc, stsc->m_entries.Address(i), stsc->m_entries.RecordBytes()), fault);
            return;
        }
        const uint64_t end = i + 1 < stored ? next.firstChunk : chunkCount + 1;
        if (end > e.firstChunk) samples += (end - e.firstChunk) * uint64_t(e.samplesPerChunk);
        previous = e.firstChunk;
    }
    if (t.hasSizes && samples != t.samples && stsc->m_entries.size() == stsc->m_entryCount)
        check.AddField(Severity::Error, "stsc-sample-count", *stsc, stsc->m_entries,
                       "the chunks hold " + Num(samples) + " samples; the track has " + Num(t.samples));
}

// stss: sample numbers within the track and increasing.
void SyncSamples(CheckContext& check, const Track& t) {
    const auto* stss = ChildOf<CSyncSampleBox>(*t.stbl, FourCC("stss"));
    if (!stss || !t.hasSizes) return;
    uint64_t previous = 0;
    for (uint32_t i = 0; i < stss->m_sampleNumbers.size(); ++i) {
        const uint64_t n = stss->m_sampleNumbers[i];
        std::string fault;
        if (n == 0 || n > t.samples)
            fault = "sync sample " + Num(n) + " is not a sample of the track (1 to " + Num(t.samples) + ")";
        else if (n <= previous)
            fault = "sync sample " + Num(n) + " follows " + Num(previous) + ": the numbers must increase";
        if (!fault.empty()) {
            check.Add(Severity::Error, "stss-sample-number", *stss,
                      check.SpanOf(*stss, stss->m_sampleNumbers.Address(i), stss->m_sampleNumbers.RecordBytes()), fault);
            return;
        }
        previous = n;
    }
}

// A track whose data lies in another file (a data reference without the self-contained flag).
bool DataElsewhere(const CBox& trak) {
    for (const CBox* box : BoxesOf(trak, FourCC("url ")))
        if (const auto* url = dynamic_cast<const CFullBox*>(box); url && !(url->m_flags & 1)) return true;
    return !BoxesOf(trak, FourCC("urn ")).empty();
}

// Chunks past the end of the file.
void ChunkOffsets(CheckContext& check, const Track& t) {
    if (!t.firstChunkPastEnd || DataElsewhere(*t.trak)) return;
    const uint32_t i = t.firstChunkPastEnd - 1;
    const auto& offsets = t.chunks->m_chunkOffsets;
    check.Add(Severity::Error, "stco-offset-past-eof", *t.chunks,
              check.SpanOf(*t.chunks, offsets.Address(i), offsets.RecordBytes()),
              "chunk " + Num(i + 1) + " at " + Num(offsets[i]) + " lies past the end of the file (" +
                  Num(check.FileSize()) + " bytes)");
}

// mdhd's duration is the sum of the sample durations.
void MediaDuration(CheckContext& check, const Track& t) {
    if (!t.mdhd || !t.stts || !t.samples || t.mdhd->m_duration == 0 || t.mdhd->m_duration == UINT64_MAX ||
        t.mdhd->m_duration == UINT32_MAX)
        return;
    uint64_t sum = 0;
    for (const auto& e : t.stts->m_entries) sum += uint64_t(e.sampleCount) * e.sampleDelta;
    if (sum != t.mdhd->m_duration)
        check.AddField(Severity::Warning, "mdhd-duration", *t.mdhd, t.mdhd->m_duration,
                       "the media duration is " + Num(t.mdhd->m_duration) + "; its samples last " + Num(sum) +
                           " (time scale " + Num(t.mdhd->m_timescale) + ")");
}

// tkhd's duration is the edit list's, else the media's, in the movie time scale.
void TrackDuration(CheckContext& check, const Track& t) {
    if (!t.tkhd || !t.mvhd || !t.mdhd || !t.samples || !t.mdhd->m_timescale || t.tkhd->m_duration == UINT64_MAX ||
        t.tkhd->m_duration == UINT32_MAX)
        return;
    const CBox* edts = t.trak->RetrieveChildBox(FourCC("edts"), true);
    const auto* elst = edts ? ChildOf<CEditListBox>(*edts, FourCC("elst")) : nullptr;
    uint64_t expected = 0;
    std::string from;
    if (elst && !elst->m_edits.empty()) {
        for (const auto& edit : elst->m_edits) expected += edit.segmentDuration;
        from = "its edits last " + Num(expected);
    } else {
        expected = static_cast<uint64_t>((unsigned __int128)t.mdhd->m_duration * t.mvhd->m_timescale /
                                         t.mdhd->m_timescale);
        from = "its media lasts " + Num(expected);
    }
    const uint64_t d = t.tkhd->m_duration;
    if (d + 1 < expected || d > expected + 1)
        check.AddField(Severity::Warning, "tkhd-duration", *t.tkhd, t.tkhd->m_duration,
                       "the track duration is " + Num(d) + "; " + from + " (movie time scale " +
                           Num(t.mvhd->m_timescale) + ")");
}

// An sbgp's group description indexes name entries of the sgpd of its grouping type.
void GroupIndexes(CheckContext& check, const CBox& holder) {
    for (const auto& child : holder.m_children) {
        const auto* sbgp = dynamic_cast<const CSampletoGroupBox*>(child.get());
        if (!sbgp) continue;
        uint64_t descriptions = 0;
        for (const auto& other : holder.m_children)
            if (const auto* sgpd = dynamic_cast<const CSampleGroupDescBox*>(other.get());
                sgpd && sgpd->m_groupingType == sbgp->m_groupingType)
                descriptions = sgpd->m_entryCount;
        // Fragment-local descriptions are numbered from 0x10001; those below are the track's.
        const bool inFragment = holder.m_type == FourCC("traf");
        for (uint32_t i = 0; i < sbgp->m_entries.size(); ++i) {
            uint64_t index = sbgp->GetGroupDescriptionIndex(i);
            if (index == 0 || (inFragment && index <= 0x10000)) continue;
            if (inFragment) index -= 0x10000;
            if (index <= descriptions) continue;
            check.Add(Severity::Error, "sbgp-group-index", *sbgp,
                      "entry " + Num(i + 1) + " names group description " + Num(sbgp->GetGroupDescriptionIndex(i)) +
                          "; the " + Quoted(sbgp->m_groupingType) + " descriptions number " + Num(descriptions));
            break;
        }
    }
}

// saiz has a size for each sample; saio one offset, or one per chunk.
void AuxInfo(CheckContext& check, const Track& t) {
    const auto* saiz = ChildOf<CSaizBox>(*t.stbl, FourCC("saiz"));
    if (saiz && saiz->m_sampleCount && t.hasSizes && saiz->m_sampleCount != t.samples)
        check.AddField(Severity::Error, "saiz-sample-count", *saiz, saiz->m_sampleCount,
                       "auxiliary information sizes for " + Num(saiz->m_sampleCount) + " samples; the track has " +
                           Num(t.samples));
    const auto* saio = ChildOf<CSaioBox>(*t.stbl, FourCC("saio"));
    if (saio && saiz && saiz->m_sampleCount && t.chunks && saio->m_entryCount != 1 &&
        saio->m_entryCount != t.chunks->m_entryCount)
        check.AddField(Severity::Error, "saio-entry-count", *saio, saio->m_entryCount,
                       Num(saio->m_entryCount) + " auxiliary information offsets: one, or one per chunk (" +
                           Num(t.chunks->m_entryCount) + "), are allowed");
}

// Where the samples lie: inside the file, inside an mdat, and not over each other.
// A chunk's samples follow each other, so the chunks are what is placed, one at a time as
// each track's tables are walked: the walk costs one step a chunk and one a stored size,
// never a sample record, and holds no list of the chunks.
struct Extent {
    uint64_t offset = 0, end = 0;
    uint64_t chunk = 0;  // from 1
};

// One track's chunks in chunk order, each with the bytes of its samples.
class ChunkWalk {
public:
    ChunkWalk(CheckContext& check, const Track& t)
        : m_check(check), m_track(t), m_offsets(t.chunks->m_chunkOffsets),
          m_stsc(ChildOf<CSampleToChunkbox>(*t.stbl, FourCC("stsc"))),
          m_stsz(ChildOf<CSampleSizeBox>(*t.stbl, FourCC("stsz"))),
          m_stz2(m_stsz ? nullptr : ChildOf<CCompactSampleSizeBox>(*t.stbl, FourCC("stz2"))) {
        if (!m_stsc || m_stsc->m_entries.empty() || !t.hasSizes) return;
        m_entry = m_stsc->m_entries[0];
        DecodeNext();
        m_live = true;
    }

    // The next chunk that holds bytes; false at the end (or once the check's budget is spent).
    bool Next(Extent& e) {
        while (m_live && m_chunk < m_offsets.size() && m_sample < m_track.samples && m_check.TakeSample()) {
            const uint64_t chunk = ++m_chunk;
            while (m_nextFirst <= chunk) {
                m_entry = m_next;
                ++m_run;
                DecodeNext();
            }
            if (m_entry.firstChunk > chunk) break;
            const uint64_t count = std::min<uint64_t>(m_entry.samplesPerChunk, m_track.samples - m_sample);
            const uint64_t bytes = Sizes(m_sample, count);
            m_sample += count;
            if (!bytes) continue;
            e.offset = m_offsets[chunk - 1];
            e.end = e.offset + bytes;
            e.chunk = chunk;
            return true;
        }
        m_live = false;
        return false;
    }

private:
    // Each stsc entry is decoded once: the walk holds the run it is in and the next.
    void DecodeNext() {
        const bool more = m_run + 1 < m_stsc->m_entries.size();
        if (more) m_next = m_stsc->m_entries[m_run + 1];
        m_nextFirst = more ? m_next.firstChunk : UINT64_MAX;
    }
    // The bytes of samples [first, first + count), numbered from 0.
    uint64_t Sizes(uint64_t first, uint64_t count) const {
        if (m_stsz && m_stsz->m_sampleSize) return count * m_stsz->m_sampleSize;
        uint64_t sum = 0;
        if (m_stsz) {
            for (uint64_t k = first, end = std::min<uint64_t>(first + count, m_stsz->m_entrySizes.size()); k < end; ++k)
                sum += m_stsz->m_entrySizes[k];
        } else if (m_stz2) {
            for (uint64_t k = first, end = std::min<uint64_t>(first + count, m_stz2->m_entrySizes.size()); k < end; ++k)
                sum += m_stz2->m_entrySizes[k];
        }
        return sum;
    }

    CheckContext& m_check;
    const Track& m_track;
    const TableView<uint64_t>& m_offsets;
    const CSampleToChunkbox* m_stsc;
    const CSampleSizeBox* m_stsz;
    const CCompactSampleSizeBox* m_stz2;
    CSampleToChunkbox::Entry m_entry{}, m_next{};
    uint64_t m_nextFirst = UINT64_MAX;
    size_t m_run = 0;
    uint64_t m_chunk = 0, m_sample = 0;
    bool m_live = false;
};

// A track's chunks in file order: as its walk gives them when its chunk offsets never
// decrease (nearly every file), else gathered and sorted first.
class PlacedChunks {
public:
    PlacedChunks(CheckContext& check, const Track& t) : track(t), m_walk(check, t) {
        if (!t.chunksOutOfOrder) return;
        for (Extent e; m_walk.Next(e);) m_sorted.push_back(e);
        std::stable_sort(m_sorted.begin(), m_sorted.end(),
                         [](const Extent& a, const Extent& b) { return a.offset < b.offset; });
        m_gathered = true;
    }
    bool Next(Extent& e) {
        if (!m_gathered) return m_walk.Next(e);
        if (m_at == m_sorted.size()) return false;
        e = m_sorted[m_at++];
        return true;
    }

    const Track& track;
    bool outsideTold = false, pastEndTold = false;

private:
    ChunkWalk m_walk;
    std::vector<Extent> m_sorted;
    size_t m_at = 0;
    bool m_gathered = false;
};

void SamplePlaces(CheckContext& check, const std::vector<Track>& tracks) {
    std::vector<std::pair<uint64_t, uint64_t>> mdats;  // payloads, in file order
    for (const CBox* top : check.Tops())
        if (top->m_type == FourCC("mdat"))
            mdats.emplace_back(uint64_t(top->m_startOffset) + (top->m_size == 1 ? 16 : 8), BoxEnd(*top));
    auto inMdat = [&](const Extent& e) {
        auto after = std::upper_bound(mdats.begin(), mdats.end(), e.offset,
                                      [](uint64_t at, const auto& m) { return at < m.first; });
        return after != mdats.begin() && e.end <= std::prev(after)->second;
    };
    auto chunkSpan = [&](const PlacedChunks& p, const Extent& e) {
        const auto& offsets = p.track.chunks->m_chunkOffsets;
        return check.SpanOf(*p.track.chunks, offsets.Address(e.chunk - 1), offsets.RecordBytes());
    };
    auto trackId = [](const Track& t) -> uint64_t { return t.tkhd ? t.tkhd->m_trackID : 0; };

    std::vector<std::unique_ptr<PlacedChunks>> sources;
    for (const Track& t : tracks)
        if (t.stbl && t.chunks && !DataElsewhere(*t.trak)) sources.push_back(std::make_unique<PlacedChunks>(check, t));
    // The next chunk of each track, the lowest offset first.
    struct Head {
        Extent extent;
        PlacedChunks* source;
        bool operator<(const Head& other) const { return extent.offset > other.extent.offset; }
    };
    std::priority_queue<Head> heads;
    auto advance = [&](PlacedChunks& p) {
        if (Extent e; p.Next(e)) heads.push({e, &p});
    };
    for (auto& p : sources) advance(*p);

    std::optional<Head> reach;  // of the chunks so far, the one that ends last
    bool overlapTold = false;
    while (!heads.empty()) {
        const Head head = heads.top();
        heads.pop();
        advance(*head.source);
        const Extent& e = head.extent;
        PlacedChunks& p = *head.source;
        if (e.end > check.FileSize() || e.end < e.offset) {
            // A chunk that starts past the end is told by its offset alone.
            if (!p.pastEndTold && e.offset < check.FileSize())
                check.Add(Severity::Error, "sample-past-eof", *p.track.chunks, chunkSpan(p, e),
                          "the samples of chunk " + Num(e.chunk) + " (" + Num(e.end - e.offset) + " bytes at " +
                              Num(e.offset) + ") end past the end of the file (" + Num(check.FileSize()) + " bytes)");
            p.pastEndTold = true;
            continue;
        }
        if (!p.outsideTold && !inMdat(e)) {
            check.Add(Severity::Warning, "sample-outside-mdat", *p.track.chunks, chunkSpan(p, e),
                      "the samples of chunk " + Num(e.chunk) + " (" + Num(e.end - e.offset) + " bytes at " +
                          Num(e.offset) + ") lie outside every 'mdat'");
            p.outsideTold = true;
        }
        if (!overlapTold && reach && e.offset < reach->extent.end) {
            const Extent& r = reach->extent;
            check.Add(Severity::Error, "samples-overlap", *p.track.chunks, chunkSpan(p, e),
                      "chunk " + Num(e.chunk) + " of track " + Num(trackId(p.track)) + " (" + Num(e.offset) + " to " +
                          Num(e.end) + ") overlaps chunk " + Num(r.chunk) + " of track " +
                          Num(trackId(reach->source->track)) + " (" + Num(r.offset) + " to " + Num(r.end) + ")");
            overlapTold = true;
        }
        if (!reach || e.end > reach->extent.end) reach = head;
    }
}
}  // namespace

void CheckSampleTables(CheckContext& check) {
    std::vector<Track> tracks;
    for (const CBox* top : check.Tops()) {
        if (top->m_type != FourCC("moov")) continue;
        const auto* mvhd = ChildOf<CMovieHeaderBox>(*top, FourCC("mvhd"));
        for (const auto& child : top->m_children)
            if (child && child->m_type == FourCC("trak")) tracks.push_back(TrackOf(*child, mvhd, check.FileSize()));
    }
    for (const Track& t : tracks) {
        if (!t.stbl) continue;
        SampleCounts(check, t);
        SampleToChunk(check, t);
        SyncSamples(check, t);
        ChunkOffsets(check, t);
        MediaDuration(check, t);
        TrackDuration(check, t);
        GroupIndexes(check, *t.stbl);
        AuxInfo(check, t);
    }
    for (const CBox* top : check.Tops())
        for (const CBox* traf : BoxesOf(*top, FourCC("traf"))) GroupIndexes(check, *traf);
    SamplePlaces(check, tracks);
}
