// The container boxes (their pages: the common header table) and the mdat page with
// the select lists of the sample sub pages (or of its FLV tags).
#include <algorithm>
#include <optional>

#include "boxes/containers/corvel.h"
#include "boxes/containers/media_data_box.h"
#include "report/box_entry.h"
#include "samples/fragment_samples.h"
#include "samples/sample_context.h"

namespace {
// The FLV tags of an F4F mdat; else the samples of each track of the first moov when
// any has samples, else those of each track fragment of the moof that goes with this
// mdat (the i-th moof for the i-th mdat, when there are as many of each).
void MediaDataRows(PageBuilder& page, const CMediaDataBox& mdat) {
    if (mdat.GetTagCount() > 0) {
        ReportTable tags("Flv Tags", TableKind::FlvTags);
        tags.entryCount = static_cast<uint32_t>(std::min<size_t>(mdat.GetTagCount(), UINT32_MAX));
        page.Add(std::move(tags));
        return;
    }
    const PageContext& ctx = page.Context();
    if (!ctx.parser) return;
    std::optional<SampleContext> local;
    if (!ctx.samples) local.emplace(*ctx.parser);
    const SampleContext& samples = ctx.samples ? *ctx.samples : *local;
    if (samples.TracksHaveSamples()) {
        ReportTable list("stbl", TableKind::SampleLists);
        for (const auto& stbl : samples.TrackTables()) list.selects.push_back({stbl.id, 0, 0, stbl.samples});
        page.Add(std::move(list));
        return;
    }
    if (const CBox* moof = ctx.fragment ? ctx.fragment : ctx.parser->MovieFragmentOf(mdat)) {
        ReportTable list("traf", TableKind::SampleLists);
        for (const auto& child : moof->m_children)
            if (child && child->m_type == FourCC("traf"))
                list.selects.push_back({child->m_id, moof->m_id, mdat.m_id, FragmentSampleCount(*child, &samples)});
        page.Add(std::move(list));
    }
}

constexpr BoxEntry kEntries[] = {
    {FourCC("moov"), "Movie Box"},
    {FourCC("moof"), "Movie Fragment Box"},
    {FourCC("mfra"), "Movie Fragment Random Access Box"},
    {FourCC("meco"), "Metadata Container Box"},
    {FourCC("dinf"), "Data Information Box"},
    {FourCC("trak"), "Track Box"},
    {FourCC("mvex"), "Movie Extends Box"},
    {FourCC("traf"), "Track Fragment Box"},
    {FourCC("edts"), "Edit Box"},
    {FourCC("mdia"), "Media Box"},
    {FourCC("tref"), "Track Reference Box"},
    {FourCC("minf"), "Media Information Box"},
    {FourCC("stbl"), "Sample Table Box"},
    {FourCC("gmhd"), "Generic Media Header Box"},
    {FourCC("tapt"), "Track Aperture Mode Dimensions Box"},
    {FourCC("mdat"), "Media Data Box", nullptr, RowsOf<CMediaDataBox, MediaDataRows>},
};
}  // namespace

std::span<const BoxEntry> ContainerEntries() { return kEntries; }
