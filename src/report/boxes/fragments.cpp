// The pages of the movie fragment boxes: mehd, trex, mfhd, tfhd, tfdt, trun.
#include "boxes/fragments/movie_extends_boxes.h"
#include "boxes/fragments/movie_fragment_header_box.h"
#include "boxes/fragments/track_fragment_header_box.h"
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

constexpr BoxEntry kEntries[] = {
    {FourCC("mehd"), "Movie Extends Header Box", nullptr, RowsOf<CMovieExtendsHeaderBox, MehdRows>},
    {FourCC("trex"), "Track Extends Box", nullptr, RowsOf<CTrackExtendsBox, TrexRows>},
    {FourCC("mfhd"), "Movie Fragment Header Box", nullptr, RowsOf<CMovieFragmentHeaderBox, MfhdRows>},
    {FourCC("tfhd"), "Track Fragment Header Box", nullptr, RowsOf<CTrackFragmentHeaderBox, TfhdRows>},
    {FourCC("tfdt"), "Track Fragment Base Media Decode Time Box", nullptr, RowsOf<CTfdtBox, TfdtRows>},
    {FourCC("trun"), "Track Fragment Run Box", nullptr, RowsOf<CTrackRunBox, TrunRows>},
    {FourCC("leva"), "Level Assignment Box"},
    // Random access and segment indexes.
    {FourCC("tfra"), "Track Fragment Random Access Box"},
    {FourCC("mfro"), "Movie Fragment Random Access Offset Box"},
    {FourCC("sidx"), "Segment Index Box"},
    {FourCC("ssix"), "Subsegment Index Box"},
    {FourCC("prft"), "Producer Reference Time Box"},
};
}  // namespace

std::span<const BoxEntry> FragmentEntries() { return kEntries; }
