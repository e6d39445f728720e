// The segment and random access indexes of the corpus against the fragments they
// point at: sidx references against the top-level boxes they span and the samples
// `corvel samples` walks, tfra entries against the moofs and their samples, mfro
// against its mfra.
#include <gtest/gtest.h>

#include "boxes/fragments/random_access_boxes.h"
#include "boxes/fragments/segment_index_boxes.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "boxes/fragments/track_run_box.h"
#include "samples/file_samples.h"
#include "corpus/corpus_refs.h"
#include "samples/sample_context.h"

namespace {
// The traf of a track in a moof; null when there is none.
const CBox* TrackFragment(const CBox& moof, uint32_t trackId) {
    for (const CBox* traf : BoxesUnder({&moof}, FourCC("traf")))
        if (auto* tfhd = dynamic_cast<const CTrackFragmentHeaderBox*>(Descend(traf, {"tfhd"})))
            if (tfhd->m_trackId == trackId) return traf;
    return nullptr;
}

// Sample k (from 0) of a track fragment as `corvel samples` gives it.
SampleRecord FragmentSample(const SampleContext& context, const CBox& traf, uint64_t k) {
    SampleRecord found;
    VisitSamples(context, &traf, [&](const SampleOrigin&, const SampleRecord& r) {
        found = r;
        return r.index < k;
    });
    return found;
}

// The top-level box that starts at `offset`; null when none does.
const CBox* TopLevelAt(const CorpusFile& f, uint64_t offset) {
    for (const CBox* box : f.Top())
        if (uint64_t(box->m_startOffset) == offset) return box;
    return nullptr;
}
}  // namespace

TEST(CorpusFragmentIndex, SegmentIndexReferencesSpanTheirFragments) {
    size_t references = 0;
    for (const char* name : {"dash_video_seg1.m4s", "dash_audio_seg1.m4s", "frag_global_sidx.mp4", "dash_ssix_seg.m4s"}) {
        SCOPED_TRACE(name);
        const CorpusFile f(name);
        ASSERT_EQ(f.status, 0);
        const SampleContext context(f.P());
        for (const CSegmentIndexBox* sidx : BoxesUnder<CSegmentIndexBox>(f.Top())) {
            ASSERT_EQ(sidx->m_references.size(), sidx->m_referenceCount);
            // The first subsegment starts first_offset bytes after the sidx.
            uint64_t start = uint64_t(sidx->m_startOffset) + sidx->BoxSize() + sidx->m_firstOffset;
            uint64_t time = sidx->m_earliestPresentationTime;
            for (const CSegmentIndexBox::Reference& r : sidx->m_references) {
                ASSERT_EQ(r.referenceType, 0u);  // media, not another index
                // Whole top-level boxes from the start on make up the referenced size.
                const CBox* moof = nullptr;
                uint64_t end = start;
                while (end < start + r.referencedSize) {
                    const CBox* box = TopLevelAt(f, end);
                    ASSERT_NE(box, nullptr) << "no box at " << end;
                    if (!moof && box->m_type == FourCC("moof")) moof = box;
                    end += box->BoxSize();
                }
                EXPECT_EQ(end, start + r.referencedSize);
                const CBox* traf = moof ? TrackFragment(*moof, sidx->m_referenceID) : nullptr;
                ASSERT_NE(traf, nullptr);
                EXPECT_EQ(FragmentSample(context, *traf, 0).decodeTime, time);
                start += r.referencedSize;
                time += r.subsegmentDuration;
                ++references;
            }
        }
    }
    EXPECT_GE(references, 7u);
}

TEST(CorpusFragmentIndex, RandomAccessEntriesNameRealFragmentsAndTimes) {
    size_t entries = 0, mfras = 0;
    ForEachCorpusFile([&](const std::string&, const CorpusFile& f) {
        const SampleContext context(f.P());
        for (const CBox* mfra : f.All(FourCC("mfra"))) {
            ++mfras;
            for (auto* mfro : BoxesUnder<CMovieFragmentRandomAccessOffsetBox>({mfra}))
                EXPECT_EQ(mfro->m_size, mfra->BoxSize());
            for (auto* tfra : BoxesUnder<CTrackFragmentRandomAccessbox>({mfra})) {
                ASSERT_EQ(tfra->m_entries.size(), tfra->m_numberOfEntry);
                for (const CTrackFragmentRandomAccessbox::Entry& e : tfra->m_entries) {
                    const CBox* moof = TopLevelAt(f, e.moofOffset);
                    // The sample_number-th sample of the trun_number-th run of the track's traf
                    // (the muxer of these files writes 1 for every traf_number).
                    const bool isMoof = moof && moof->m_type == FourCC("moof");
                    const CBox* traf = isMoof ? TrackFragment(*moof, tfra->m_trackID) : nullptr;
                    ASSERT_NE(traf, nullptr) << "moof at " << e.moofOffset;
                    const std::vector<const CTrackRunBox*> truns = BoxesUnder<CTrackRunBox>({traf});
                    ASSERT_LE(e.trunNumber, truns.size());
                    uint64_t k = e.sampleNumber - 1;
                    for (uint32_t t = 0; t + 1 < e.trunNumber; ++t)
                        k += truns[t]->GetSampleEntryCount();
                    // The entry's time is that sample's presentation time (or, as some muxers
                    // write it, its decode time). Smooth Streaming fragments carry their times
                    // in tfxd boxes, not in a tfdt: the walk does not know them.
                    if (!traf->RetrieveChildBox(FourCC("tfdt"), true)) continue;
                    const SampleRecord sample = FragmentSample(context, *traf, k);
                    const CTrackRunBox* trun = truns[e.trunNumber - 1];
                    const int64_t offset = trun->m_version == 0 ? int64_t(sample.compositionOffset)
                                                                : int64_t(int32_t(sample.compositionOffset));
                    const int64_t decode = int64_t(sample.decodeTime);
                    EXPECT_TRUE(int64_t(e.time) == decode + offset || int64_t(e.time) == decode)
                        << e.time << " for decode time " << decode << " + " << offset;
                    ++entries;
                }
            }
        }
    });
    EXPECT_GE(mfras, 9u);
    EXPECT_GE(entries, 32u);
}
