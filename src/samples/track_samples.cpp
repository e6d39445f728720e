#include "samples/track_samples.h"

#include <algorithm>

#include "boxes/sampletable/chunk_offset_box.h"
#include "boxes/sampletable/sample_size_box.h"
#include "boxes/sampletable/sample_to_chunk_box.h"
#include "boxes/sampletable/sync_sample_box.h"
#include "boxes/sampletable/time_to_sample_box.h"

namespace {
// The last child of one of two types (null when there is none), as its class.
template <class T>
const T* LastChildAs(const CBox& box, uint32_t type, uint32_t other = 0) {
    const CBox* found = nullptr;
    for (const auto& child : box.m_children)
        if (child && (child->m_type == type || (other && child->m_type == other))) found = child.get();
    return dynamic_cast<const T*>(found);
}

uint64_t SaturatingAdd(uint64_t a, uint64_t b) { return a > UINT64_MAX - b ? UINT64_MAX : a + b; }
uint64_t SaturatingMul(uint64_t a, uint64_t b) { return b != 0 && a > UINT64_MAX / b ? UINT64_MAX : a * b; }
}  // namespace

uint64_t TrackSampleCount(const CBox& stbl, uint64_t fileSize) {
    uint64_t n = 0;
    if (auto* stsz = LastChildAs<CSampleSizeBox>(stbl, FourCC("stsz"))) {
        const uint64_t size = stsz->GetSampleSize();
        n = size ? std::min<uint64_t>(stsz->GetSampleCount(), fileSize ? fileSize / size : UINT64_MAX)
                 : std::min<uint64_t>(stsz->GetSampleCount(), stsz->GetStoredEntryCount());
    } else if (auto* stz2 = LastChildAs<CCompactSampleSizeBox>(stbl, FourCC("stz2"))) {
        n = std::min<uint64_t>(stz2->GetSampleCount(), stz2->GetStoredEntryCount());
    }
    return std::min(n, kMaxListedSamples);
}

TrackSamples::TrackSamples(const CBox& stbl, uint64_t fileSize)
    : m_stsz(LastChildAs<CSampleSizeBox>(stbl, FourCC("stsz"))),
      m_stz2(m_stsz ? nullptr : LastChildAs<CCompactSampleSizeBox>(stbl, FourCC("stz2"))),
      m_stts(LastChildAs<CTimeToSampleBox>(stbl, FourCC("stts"))),
      m_stss(LastChildAs<CSyncSampleBox>(stbl, FourCC("stss"))),
      m_stsc(LastChildAs<CSampleToChunkbox>(stbl, FourCC("stsc"))),
      m_stco(LastChildAs<CChunkOffsetBox>(stbl, FourCC("stco"), FourCC("co64"))),
      m_count(TrackSampleCount(stbl, fileSize)),
      m_constantSize(m_stsz ? m_stsz->GetSampleSize() : 0) {
    // An stts entry covers its sample count, at least one sample; past the stored
    // entries every sample steps to the next entry with a delta of 0.
    if (m_stts) {
        const uint32_t stored = static_cast<uint32_t>(
            std::min<uint64_t>(m_stts->GetStoredEntryCount(), m_stts->GetEntryCount()));
        m_timeRuns.reserve(stored);
        for (uint32_t j = 0; j < stored; ++j) {
            const uint32_t count = m_stts->RetrieveSampleCount(j), delta = m_stts->RetrieveSampleDelta(j);
            const uint64_t length = std::max<uint64_t>(count, 1);
            m_timeRuns.push_back({m_timedSamples, length, m_timedEnd, count, delta});
            m_timedSamples += length;
            m_timedEnd += length * delta;
        }
    }
    // Chunks before the first stsc entry that applies hold one sample each. Entry j+1
    // applies from chunk first_chunk(j+1) on, reached only when it is past entry j's.
    m_chunkRuns.push_back({1, 0, -1, -1});
    if (m_stsc) {
        const uint64_t stored = m_stsc->GetStoredEntryCount();
        uint64_t previous = 0;
        for (uint64_t j = 0; j < stored; ++j) {
            const uint64_t first = m_stsc->GetFirstChunk(static_cast<uint32_t>(j));
            if (first <= previous) break;  // never reached: the walk stays on the entry before
            ChunkRun& last = m_chunkRuns.back();
            const uint64_t perChunk = std::max<int64_t>(last.perChunk, 1);
            const uint64_t firstSample =
                SaturatingAdd(last.firstSample, SaturatingMul(first - last.firstChunk, perChunk));
            // A run that starts where the previous one does replaces it.
            if (first == last.firstChunk) m_chunkRuns.pop_back();
            m_chunkRuns.push_back(
                {first, firstSample, int64_t(j), int64_t(m_stsc->GetSamplesPerChunk(static_cast<uint32_t>(j)))});
            previous = first;
        }
    }
    // A walk matches stss entries in order, so only the strictly increasing ones from
    // the first can ever match (a number 0 never does).
    if (m_stss) {
        const uint64_t stored = m_stss->GetStoredEntryCount();
        uint32_t previous = 0;
        for (; m_syncPrefix < stored; ++m_syncPrefix) {
            const uint32_t number = m_stss->GetSampleNumber(static_cast<uint32_t>(m_syncPrefix));
            if (number <= previous) break;
            previous = number;
        }
    }
}

uint64_t TrackSamples::SizeOf(uint64_t number) const {
    if (m_constantSize) return m_constantSize;
    if (number == 0 || number > UINT32_MAX) return 0;
    if (m_stsz) return m_stsz->GetEntrySize(static_cast<uint32_t>(number - 1));
    return m_stz2 ? m_stz2->GetEntrySize(static_cast<uint32_t>(number - 1)) : 0;
}

uint64_t TrackSamples::SizesBetween(uint64_t first, uint64_t last) const {
    if (m_constantSize) return (last - first) * m_constantSize;
    uint64_t sum = 0;
    for (uint64_t n = first; n < last; ++n) sum += SizeOf(n);
    return sum;
}

TrackSamples::Cursor TrackSamples::From(uint64_t k) const {
    Cursor c(*this);
    c.m_next = k + 1;
    if (k == 0) return c;
    const uint64_t last = k - 1;  // the last sample walked past, from 0

    if (m_stts) {
        if (last < m_timedSamples) {
            auto run = std::upper_bound(m_timeRuns.begin(), m_timeRuns.end(), last,
                                        [](uint64_t s, const TimeRun& r) { return s < r.first; }) - 1;
            const uint64_t pos = last - run->first;
            c.m_sttsIndex = run - m_timeRuns.begin();
            c.m_sttsRemaining = int64_t(run->count) - int64_t(pos);
            c.m_decodeTime = run->time + (pos + 1) * run->delta;
        } else {
            c.m_sttsIndex = int64_t(m_timeRuns.size() + (last - m_timedSamples));
            c.m_decodeTime = m_timedEnd;
        }
    }

    auto run = std::upper_bound(m_chunkRuns.begin(), m_chunkRuns.end(), last,
                                [](uint64_t s, const ChunkRun& r) { return s < r.firstSample; }) - 1;
    const uint64_t perChunk = std::max<int64_t>(run->perChunk, 1);
    const uint64_t inRun = last - run->firstSample;
    const uint64_t place = inRun % perChunk;  // the last sample's place in its chunk
    c.m_stscIndex = run->entry;
    c.m_leftInChunk = run->perChunk - int64_t(place);
    c.m_chunkNumber = run->firstChunk + inRun / perChunk;
    c.m_chunkIndex = int64_t(c.m_chunkNumber - 1);
    c.m_offsetInChunk = SizesBetween(k - place, k);

    if (m_stss) {
        uint64_t lo = 0, hi = m_syncPrefix;  // entries up to sample number k have matched
        while (lo < hi) {
            const uint64_t mid = lo + (hi - lo) / 2;
            if (m_stss->GetSampleNumber(static_cast<uint32_t>(mid)) <= k) lo = mid + 1;
            else hi = mid;
        }
        c.m_stssIndex = lo;
    }
    return c;
}

SampleRecord TrackSamples::Cursor::Next() {
    const TrackSamples& t = m_t;
    const uint64_t i = m_next++;
    SampleRecord r;
    r.index = i - 1;
    r.size = t.SizeOf(i);
    r.decodeTime = m_decodeTime;

    if (t.m_stts) {
        if (--m_sttsRemaining <= 0) {
            ++m_sttsIndex;
            m_sttsRemaining = m_sttsIndex <= UINT32_MAX ? t.m_stts->RetrieveSampleCount(uint32_t(m_sttsIndex)) : 0;
        }
        r.duration = m_sttsIndex <= UINT32_MAX ? t.m_stts->RetrieveSampleDelta(uint32_t(m_sttsIndex)) : 0;
    }
    m_decodeTime += r.duration;

    if (--m_leftInChunk > 0) {
        m_offsetInChunk += t.SizeOf(i - 1);
    } else {
        const int64_t entries = t.m_stsc ? int64_t(t.m_stsc->GetEntryCount()) : 0;
        if (t.m_stsc && m_stscIndex < entries - 1 &&
            t.m_stsc->GetFirstChunk(uint32_t(m_stscIndex + 1)) == m_chunkNumber + 1)
            ++m_stscIndex;
        m_leftInChunk = (t.m_stsc && m_stscIndex >= 0 && uint64_t(m_stscIndex) < t.m_stsc->GetStoredEntryCount())
                            ? int64_t(t.m_stsc->GetSamplesPerChunk(uint32_t(m_stscIndex)))
                            : int64_t(-1);
        ++m_chunkNumber;
        ++m_chunkIndex;
        m_offsetInChunk = 0;
    }
    r.chunkNumber = m_chunkNumber;
    const auto* stco = t.m_stco;
    r.chunkOffset = (stco && m_chunkIndex < int64_t(stco->GetEntryCount()) &&
                     uint64_t(m_chunkIndex) < stco->GetStoredEntryCount())
                        ? stco->GetChunkOffset(uint32_t(m_chunkIndex))
                        : 0;
    r.offset = r.chunkOffset + m_offsetInChunk;

    if (t.m_stss) {
        const uint32_t number = m_stssIndex <= UINT32_MAX ? t.m_stss->GetSampleNumber(uint32_t(m_stssIndex)) : 0;
        const bool sync = number != 0 && number == i;
        if (sync) ++m_stssIndex;
        r.sync = sync ? SampleRecord::Sync::Yes : SampleRecord::Sync::No;
    }
    return r;
}
