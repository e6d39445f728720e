// The pages of the movie fragment boxes: mehd, trex, mfhd, tfhd, tfdt, trun.
#include <cstdint>

#include "boxes/fragments/movie_extends_boxes.h"
#include "boxes/fragments/movie_fragment_header_box.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "boxes/fragments/track_run_box.h"
#include "report/box_rows.h"
#include "report/format.h"

namespace {
// The trun samples as a list: one row per sample read.
ReportTable TrackRunSamples(const CTrackRunBox& trun) {
    ReportTable list("Samples", TableKind::List);
    std::vector<Text> no, duration, size, flags, offset;
    for (uint32_t i = 0; i < trun.m_sampleCount; ++i) {
        const CTrackRunBox::Sample* s = trun.GetSample(i);
        if (!s) break;
        no.emplace_back(Format("%d", static_cast<int>(i + 1)));
        duration.emplace_back(Format("%u", s->duration));
        size.emplace_back(Format("%u", s->size));
        flags.emplace_back(Format("%u", s->flags));
        // Version 1 offsets are signed: a stored 0xFFFFFFFF reads -1.
        offset.emplace_back(Format("%d", static_cast<int32_t>(s->compositionTimeOffset)));
    }
    list.AddColumn("No.", std::move(no));
    list.AddColumn("Duration", std::move(duration));
    list.AddColumn("Size", std::move(size));
    list.AddColumn("Flags", std::move(flags));
    list.AddColumn("Composition time offset", std::move(offset));
    return list;
}
}  // namespace

bool AddFragmentRows(PageModel& page, const CBox& box, const RowContext&) {
    ReportTable t;
    switch (box.m_type) {
        case FourCC("mehd"): {
            auto* b = dynamic_cast<const CMovieExtendsHeaderBox*>(&box);
            if (!b) return false;
            t.AddRow("Fragment duration", U64Text(b->m_fragmentDuration));
            break;
        }
        case FourCC("trex"): {
            auto* b = dynamic_cast<const CTrackExtendsBox*>(&box);
            if (!b) return false;
            t.AddRow("Track id", U32Text(b->m_trackId));
            t.AddRow("Sample description index", U32Text(b->m_defaultSampleDescriptionIndex));
            t.AddRow("Sample duration", U32Text(b->m_defaultSampleDuration));
            t.AddRow("Sample size", U32Text(b->m_defaultSampleSize));
            t.AddRow("Sample flags", U32Text(b->m_defaultSampleFlags));
            break;
        }
        case FourCC("mfhd"): {
            auto* b = dynamic_cast<const CMovieFragmentHeaderBox*>(&box);
            if (!b) return false;
            t.AddRow("Sequence number", U32Text(b->m_sequenceNumber));
            break;
        }
        case FourCC("tfhd"): {
            // Every row, whatever the flags: an absent field shows 0.
            auto* b = dynamic_cast<const CTrackFragmentHeaderBox*>(&box);
            if (!b) return false;
            t.AddRow("Track id", U32Text(b->m_trackId));
            t.AddRow("Base data offset", U64Text(b->m_baseDataOffset));
            t.AddRow("Sample description index", U32Text(b->m_sampleDescriptionIndex));
            t.AddRow("Default sample duration", U32Text(b->m_defaultSampleDuration));
            t.AddRow("Default sample size", U32Text(b->m_defaultSampleSize));
            t.AddRow("Default sample flags", U32Text(b->m_defaultSampleFlags));
            break;
        }
        case FourCC("tfdt"): {
            auto* b = dynamic_cast<const CTfdtBox*>(&box);
            if (!b) return false;
            t.AddRow("Base media decode time", U64Text(b->m_baseMediaDecodeTime));
            break;
        }
        case FourCC("trun"): {
            auto* b = dynamic_cast<const CTrackRunBox*>(&box);
            if (!b) return false;
            t.AddRow("Sample count", U32Text(b->m_sampleCount));
            t.AddRow("Data offset", U32Text(b->m_dataOffset));
            t.AddRow("First sample flags", U32Text(b->m_firstSampleFlags));
            page.tables.push_back(std::move(t));
            page.tables.push_back(TrackRunSamples(*b));
            return true;
        }
        default:
            return false;
    }
    page.tables.push_back(std::move(t));
    return true;
}
