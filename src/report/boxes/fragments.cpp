// The pages of the movie fragment boxes (mehd, trex, mfhd, tfhd, tfdt, trun), the
// random access boxes (tfra, mfro) and the segment indexes (sidx, ssix, prft).
#include <cinttypes>

#include "boxes/fragments/movie_extends_boxes.h"
#include "boxes/fragments/movie_fragment_header_box.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "boxes/fragments/random_access_boxes.h"
#include "boxes/fragments/segment_index_boxes.h"
#include "boxes/fragments/track_run_box.h"
#include "report/box_entry.h"

namespace {
void MehdRows(PageBuilder& page, const CMovieExtendsHeaderBox& b) {
    page.Table();
    page.U64("Fragment duration", b.m_fragmentDuration);
}

void TrexRows(PageBuilder& page, const CTrackExtendsBox& b) {
    page.Table();
    page.U32("Track id", b.m_trackId);
    page.U32("Sample description index", b.m_defaultSampleDescriptionIndex);
    page.U32("Sample duration", b.m_defaultSampleDuration);
    page.U32("Sample size", b.m_defaultSampleSize);
    page.U32("Sample flags", b.m_defaultSampleFlags);
}

void MfhdRows(PageBuilder& page, const CMovieFragmentHeaderBox& b) {
    page.Table();
    page.U32("Sequence number", b.m_sequenceNumber);
}

// Every row, whatever the flags: an absent field shows 0.
void TfhdRows(PageBuilder& page, const CTrackFragmentHeaderBox& b) {
    page.Table();
    page.U32("Track id", b.m_trackId);
    page.U64("Base data offset", b.m_baseDataOffset);
    page.U32("Sample description index", b.m_sampleDescriptionIndex);
    page.U32("Default sample duration", b.m_defaultSampleDuration);
    page.U32("Default sample size", b.m_defaultSampleSize);
    page.U32("Default sample flags", b.m_defaultSampleFlags);
}

void TfdtRows(PageBuilder& page, const CTfdtBox& b) {
    page.Table();
    page.U64("Base media decode time", b.m_baseMediaDecodeTime);
}

// The samples as a list: one row per sample read.
void TrunRows(PageBuilder& page, const CTrackRunBox& b) {
    page.Table();
    page.U32("Sample count", b.m_sampleCount);
    page.U32("Data offset", b.m_dataOffset);
    page.U32("First sample flags", b.m_firstSampleFlags);
    page.List("Samples", {"No.", "Duration", "Size", "Flags", "Composition time offset"});
    // The samples the run holds (a run whose samples carry no field holds none).
    for (size_t i = 0; i < b.m_samples.size(); ++i) {
        const CTrackRunBox::Sample s = b.m_samples[i];
        // Version 1 offsets are signed: a stored 0xFFFFFFFF reads -1.
        page.ListEntry({Decimal(int64_t(i + 1)), Decimal(uint64_t{s.duration}), Decimal(uint64_t{s.size}),
                        Decimal(uint64_t{s.flags}), Decimal(int64_t{static_cast<int32_t>(s.compositionTimeOffset)})},
                       {RecordSource(b.m_samples, i)});
    }
}

// "%u": a number alone.
std::string Plain(uint64_t v) { return Decimal(v); }

void TfraRows(PageBuilder& page, const CTrackFragmentRandomAccessbox& b) {
    page.Table();
    page.Row("Track ID", Plain(b.m_trackID), {b.m_trackID});
    page.Row("Reserved", Plain(b.m_reserved), {b.m_reserved});
    page.Row("Length size of traf num", Plain(b.m_lengthSizeOfTrafNum), {b.m_lengthSizeOfTrafNum});
    page.Row("Length size Of trun num", Plain(b.m_lengthSizeOfTrunNum), {b.m_lengthSizeOfTrunNum});
    page.Row("Length size of sample num", Plain(b.m_lengthSizeOfSampleNum), {b.m_lengthSizeOfSampleNum});
    page.Row("Number of entry", Plain(b.m_numberOfEntry), {b.m_numberOfEntry});
    page.List("Entries", {"time", "moof offset", "traf number", "trun number", "sample number"});
    for (const auto& e : b.m_entries)
        page.ListEntry({Plain(e.time), Plain(e.moofOffset), Plain(e.trafNumber), Plain(e.trunNumber), Plain(e.sampleNumber)},
                       {e});
}

void MfroRows(PageBuilder& page, const CMovieFragmentRandomAccessOffsetBox& b) {
    page.Table();
    page.U32("Size", b.m_size);
}

void SidxRows(PageBuilder& page, const CSegmentIndexBox& b) {
    page.Table();
    page.U32("Reference id", b.m_referenceID);
    page.U32("Time scale", b.m_timescale);
    page.U64("Earliest presentation time", b.m_earliestPresentationTime);
    page.U64("First offset", b.m_firstOffset);
    page.U32("Reserved", b.m_reserved);
    page.U32("Reference count", b.m_referenceCount);
    page.List("Reference Info", {"Type", "Size", "Subsegment duration", "Starts with SAP", "SAP type", "SAP delta time"});
    for (const auto& r : b.m_references)
        page.ListEntry({Plain(r.referenceType), Plain(r.referencedSize), Plain(r.subsegmentDuration),
                        Plain(r.startsWithSAP), Plain(r.SAPType), Plain(r.SAPDeltaTime)},
                       {r});
}

// One row per subsegment: its range count and its first range (0 and 0 without one).
void SsixRows(PageBuilder& page, const CSubsegmentIndexBox& b) {
    page.Table();
    page.U32("Subsegment count", b.m_subsegmentCount);
    page.List("Subsegment", {"Range count", "level", "Range size"});
    for (const auto& s : b.m_subsegments) {
        if (s.ranges.empty())
            page.ListEntry({Plain(s.rangesCount), Plain(0), Plain(0)}, {s.rangesCount});
        else
            page.ListEntry({Plain(s.rangesCount), Plain(s.ranges[0].level), Plain(s.ranges[0].rangeSize)},
                           {s.rangesCount, s.ranges[0]});
    }
    // Every range of every subsegment, the first ones again.
    page.List("More fields: ranges", {"Subsegment", "Range", "level", "Range size"});
    for (size_t i = 0; i < b.m_subsegments.size(); ++i)
        for (size_t k = 0; k < b.m_subsegments[i].ranges.size(); ++k) {
            const CSubsegmentIndexBox::Range& r = b.m_subsegments[i].ranges[k];
            page.ListEntry({Plain(uint32_t(i + 1)), Plain(uint32_t(k + 1)), Plain(r.level), Plain(r.rangeSize)}, {r});
        }
}

void PrftRows(PageBuilder& page, const CProducerReferenceTimeBox& b) {
    page.Table();
    page.U32("Reference track id", b.m_referenceTrackID);
    page.U64("NTP time stamp", b.m_ntpTimestamp);
    page.Derived("NTP time stamp(UTC)", FormatNtpText(b.m_ntpTimestamp), {b.m_ntpTimestamp});
    page.U64("Media time", b.m_mediaTime);
}

constexpr BoxEntry kEntries[] = {
    {FourCC("mehd"), "Movie Extends Header Box", nullptr, RowsOf<CMovieExtendsHeaderBox, MehdRows>},
    {FourCC("trex"), "Track Extends Box", nullptr, RowsOf<CTrackExtendsBox, TrexRows>},
    {FourCC("mfhd"), "Movie Fragment Header Box", nullptr, RowsOf<CMovieFragmentHeaderBox, MfhdRows>},
    {FourCC("tfhd"), "Track Fragment Header Box", nullptr, RowsOf<CTrackFragmentHeaderBox, TfhdRows>},
    {FourCC("tfdt"), "Track Fragment Base Media Decode Time Box", nullptr, RowsOf<CTfdtBox, TfdtRows>},
    {FourCC("trun"), "Track Fragment Run Box", nullptr, RowsOf<CTrackRunBox, TrunRows>},
    {FourCC("leva"), "Level Assignment Box"},
    // Random access and segment indexes.
    {FourCC("tfra"), "Track Fragment Random Access Box", nullptr, RowsOf<CTrackFragmentRandomAccessbox, TfraRows>},
    {FourCC("mfro"), "Movie Fragment Random Access Offset Box", nullptr,
     RowsOf<CMovieFragmentRandomAccessOffsetBox, MfroRows>},
    {FourCC("sidx"), "Segment Index Box", nullptr, RowsOf<CSegmentIndexBox, SidxRows>},
    {FourCC("ssix"), "Subsegment Index Box", nullptr, RowsOf<CSubsegmentIndexBox, SsixRows>},
    {FourCC("prft"), "Producer Reference Time Box", nullptr, RowsOf<CProducerReferenceTimeBox, PrftRows>},
};
}  // namespace

std::span<const BoxEntry> FragmentEntries() { return kEntries; }
