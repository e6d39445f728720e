#include "samples/fragment_samples.h"

#include <algorithm>

#include "boxes/containers/corvel.h"
#include "boxes/fragments/movie_extends_boxes.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "boxes/fragments/track_run_box.h"
#include "samples/sample_context.h"
#include "samples/track_samples.h"

namespace {
// The first payload byte of an mdat.
uint64_t PayloadStart(const CBox& mdat) { return uint64_t(mdat.m_startOffset) + (mdat.m_size == 1 ? 16 : 8); }

// The sample is not a sync sample (sample_is_non_sync_sample).
constexpr uint32_t kNonSyncSample = 0x10000;
}  // namespace

uint64_t FragmentSampleCount(const CBox& traf, const SampleContext* context) {
    return FragmentSamples(traf, nullptr, nullptr, context).Count();
}

FragmentSamples::FragmentSamples(const CBox& traf, const CBox* moof, const CBox* mdat, const SampleContext* context,
                                 uint64_t firstDecodeTime) {
    const CCorvel* parser = context ? context->Parser() : nullptr;
    const FragmentOffsetMode mode = context ? context->OffsetMode() : FragmentOffsetMode::Plain;
    const uint64_t moofStart = moof ? uint64_t(moof->m_startOffset) : 0;
    uint64_t base = moofStart;
    bool explicitBase = false;
    const CTrackFragmentHeaderBox* tfhd = nullptr;
    const CTrackExtendsBox* trex = nullptr;
    bool haveRunEnd = false;
    uint64_t runEnd = 0;  // where the previous run's data ended
    uint64_t first = 0, time = firstDecodeTime;
    // The samples of runs without fields must fit in the media data that goes with the
    // fragment (or in the file): each takes its size, and at least a byte.
    uint64_t room = context && context->FileSize() ? context->FileSize() : UINT64_MAX;
    if (mdat) {
        const uint64_t header = PayloadStart(*mdat) - uint64_t(mdat->m_startOffset);
        room = mdat->DeclaredSize() > header ? mdat->DeclaredSize() - header : 0;
    }
    if (auto* tfdt = dynamic_cast<const CTfdtBox*>(traf.RetrieveChildBox(FourCC("tfdt"), true)))
        time = tfdt->m_baseMediaDecodeTime;

    for (const auto& child : traf.m_children) {
        if (auto* h = dynamic_cast<const CTrackFragmentHeaderBox*>(child.get())) {
            tfhd = h;
            trex = context ? context->TrackExtends(h->m_trackId) : nullptr;
            explicitBase = (h->m_flags & CTrackFragmentHeaderBox::kBaseDataOffsetPresent) != 0;
            base = moofStart;
            if (explicitBase) {
                base = h->m_baseDataOffset;
                if (mode == FragmentOffsetMode::Isml && parser && moof && mdat && uint64_t(mdat->m_startOffset) >= base)
                    base += parser->FragmentBytesBefore(*moof);
            }
            continue;
        }
        auto* trun = dynamic_cast<const CTrackRunBox*>(child.get());
        if (!trun) continue;
        uint64_t offset;
        if (trun->m_flags & CTrackRunBox::kDataOffsetPresent)
            offset = base + static_cast<int64_t>(static_cast<int32_t>(trun->m_dataOffset));
        else if (haveRunEnd)
            offset = runEnd;
        else if (explicitBase)
            offset = base;
        else
            offset = mdat ? PayloadStart(*mdat) : base;
        m_runs.push_back({trun, tfhd, trex, trun->GetSampleEntryCount(), first, offset, time});
        Run& run = m_runs.back();
        // The data ends after the last sample; an empty run ends where it starts.
        runEnd = offset;
        if (trun->IsFieldless()) {
            // All its samples alike, from the defaults.
            const uint64_t size = Size(run, 0), taken = std::max<uint64_t>(size, 1);
            run.count = std::min(run.count, room / taken);
            room -= run.count * taken;
            runEnd += run.count * size;
            time += run.count * Duration(run, 0);
        } else {
            for (uint64_t j = 0; j < run.count; ++j) {
                runEnd += Size(run, j);
                time += Duration(run, j);
            }
        }
        haveRunEnd = true;
        first += run.count;
    }
    m_count = std::min(first, kMaxListedSamples);
    m_endTime = time;
}

// Each field: the run's own value when it carries it, else the tfhd default, else
// the trex default.
uint32_t FragmentSamples::Size(const Run& r, uint64_t j) const {
    if (r.trun->m_flags & CTrackRunBox::kSizePresent) return r.trun->GetSample(j).size;
    if (r.tfhd && (r.tfhd->m_flags & CTrackFragmentHeaderBox::kDefaultSizePresent)) return r.tfhd->m_defaultSampleSize;
    return r.trex ? r.trex->m_defaultSampleSize : 0;
}

uint32_t FragmentSamples::Duration(const Run& r, uint64_t j) const {
    if (r.trun->m_flags & CTrackRunBox::kDurationPresent) return r.trun->GetSample(j).duration;
    if (r.tfhd && (r.tfhd->m_flags & CTrackFragmentHeaderBox::kDefaultDurationPresent))
        return r.tfhd->m_defaultSampleDuration;
    return r.trex ? r.trex->m_defaultSampleDuration : 0;
}

uint32_t FragmentSamples::Flags(const Run& r, uint64_t j) const {
    const uint32_t runFlags = r.trun->m_flags;
    if (runFlags & CTrackRunBox::kFlagsPresent) return r.trun->GetSample(j).flags;
    if (j == 0 && (runFlags & CTrackRunBox::kFirstSampleFlagsPresent)) return r.trun->m_firstSampleFlags;
    if (r.tfhd && (r.tfhd->m_flags & CTrackFragmentHeaderBox::kDefaultFlagsPresent)) return r.tfhd->m_defaultSampleFlags;
    return r.trex ? r.trex->m_defaultSampleFlags : 0;
}

FragmentSamples::Cursor FragmentSamples::From(uint64_t k) const {
    Cursor c(*this);
    // The run holding sample k: the last one that starts at or before it.
    auto run = std::upper_bound(m_runs.begin(), m_runs.end(), k,
                                [](uint64_t s, const Run& r) { return s < r.firstSample; });
    if (run == m_runs.begin()) return c;
    --run;
    c.m_run = run - m_runs.begin();
    c.m_j = k - run->firstSample;
    c.m_index = k;
    c.m_offset = run->offset;
    c.m_time = run->time;
    const uint64_t before = std::min(c.m_j, run->count);
    if (run->trun->IsFieldless()) {
        c.m_offset += before * Size(*run, 0);
        c.m_time += before * Duration(*run, 0);
    } else {
        for (uint64_t j = 0; j < before; ++j) {
            c.m_offset += Size(*run, j);
            c.m_time += Duration(*run, j);
        }
    }
    return c;
}

bool FragmentSamples::Cursor::Done() const {
    // Runs without samples are stepped over.
    for (size_t r = m_run, j = m_j; r < m_f.m_runs.size(); ++r, j = 0)
        if (j < m_f.m_runs[r].count) return false;
    return true;
}

SampleRecord FragmentSamples::Cursor::Next() {
    while (m_run < m_f.m_runs.size() && m_j >= m_f.m_runs[m_run].count) {
        ++m_run;
        m_j = 0;
        if (m_run < m_f.m_runs.size()) {
            m_offset = m_f.m_runs[m_run].offset;
            m_time = m_f.m_runs[m_run].time;
        }
    }
    SampleRecord r;
    r.index = m_index++;
    if (m_run >= m_f.m_runs.size()) return r;
    const Run& run = m_f.m_runs[m_run];
    const uint64_t j = m_j++;
    r.size = m_f.Size(run, j);
    r.duration = m_f.Duration(run, j);
    r.flags = m_f.Flags(run, j);
    r.compositionOffset = run.trun->GetSample(j).compositionTimeOffset;
    r.offset = m_offset;
    r.decodeTime = m_time;
    r.sync = (r.flags & kNonSyncSample) ? SampleRecord::Sync::No : SampleRecord::Sync::Yes;
    m_offset += r.size;
    m_time += r.duration;
    return r;
}
