#include "report/sample_pages.h"

#include <algorithm>
#include <cinttypes>
#include <functional>

#include "boxes/box.h"
#include "boxes/containers/corvel.h"
#include "boxes/fragments/movie_extends_boxes.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "boxes/fragments/track_run_box.h"
#include "boxes/presentation/file_type_box.h"
#include "boxes/sampletable/chunk_offset_box.h"
#include "boxes/sampletable/padding_bits_box.h"
#include "boxes/sampletable/sample_dependency_type_box.h"
#include "boxes/sampletable/sample_group_boxes.h"
#include "boxes/sampletable/sample_size_box.h"
#include "boxes/sampletable/sample_to_chunk_box.h"
#include "boxes/sampletable/subsample_info_box.h"
#include "boxes/sampletable/sync_sample_box.h"
#include "boxes/sampletable/time_to_sample_box.h"
#include "report/format.h"
#include "report/markup.h"

namespace {

// ---- cells -------------------------------------------------------------------

// A value cell: unsigned ("%u" and "%I64u" print alike) or signed.
std::string CellU(uint64_t v) { return Format("<td align = \"left\" bgcolor = white>%" PRIu64 "</td>\r\n", v); }
std::string CellD(int32_t v) { return Format("<td align = \"left\" bgcolor = white>%d</td>\r\n", v); }

// The rows k*200+1 ... k*200+200 of a list, counted from 1.
struct Block {
    uint64_t first;  // rows before this one are not written
    uint64_t last;
    explicit Block(uint32_t k)
        : first(uint64_t(k) * kRowsPerSubPage + 1), last(uint64_t(k) * kRowsPerSubPage + kRowsPerSubPage) {}
};

// Writes a sub page file: the builders assemble the whole text first.
void WriteSubPage(ReportPage& page, const std::string& path, const std::string& text) {
    if (!page.Open(path)) return;
    page.Write(text);
    page.Close();
}

// The last child of one of two types (null when there is none).
const CBox* LastChild(const CBox& box, uint32_t type, uint32_t other = 0) {
    const CBox* found = nullptr;
    for (const auto& child : box.m_children)
        if (child && (child->m_type == type || (other && child->m_type == other))) found = child.get();
    return found;
}

template <class T>
const T* LastChildAs(const CBox& box, uint32_t type, uint32_t other = 0) {
    return dynamic_cast<const T*>(LastChild(box, type, other));
}

// ---- entries -----------------------------------------------------------------

// One table box's entry list: the column names after "No.", the entry count, and
// the value cells of entry i (0-based).
struct EntryList {
    std::vector<const char*> columns;
    uint64_t count = 0;
    std::function<std::string(uint32_t)> cells;
};

std::string SgpdDescription(const CSampleGroupDescBox& sgpd, uint32_t i) {
    std::string out = "<td align = \"left\" bgcolor = white>\r\n";
    const ISampleGroupDescriptionEntry* entry = sgpd.GetGroupEntry(i);
    if (auto* e = dynamic_cast<const CTemproalLayerEntry*>(entry)) {
        out += Format("Temporal Layer id = %u</br>\r\n", e->m_temporalLayerId);
        out += Format("tl Profile Space = %u</br>\r\n", e->m_profileSpace);
        out += Format("tl Profile idc = %u</br>\r\n", e->m_profileIdc);
        out += Format("tl Constraint Indicator Flags = %u</br>\r\n", e->m_constraintIndicatorFlags);
        out += Format("tl Level idc = %u</br>\r\n", e->m_levelIdc);
        out += Format("tl Profile Compatibility Indications = %u</br>\r\n", e->m_profileCompatibilityIndications);
        out += Format("tl Max Bitrate = %u</br>\r\n", e->m_maxBitRate);
        out += Format("tl Avg Bitrate = %u</br>\r\n", e->m_avgBitRate);
        out += Format("tl Constant Framerate = %u</br>\r\n", e->m_constantFrameRate);
        out += Format("tl Avg Framerate = %u</br>\r\n", e->m_avgFrameRate);
    } else if (auto* e = dynamic_cast<const CAVCLayerEntry*>(entry)) {
        out += Format("Layer Number = %u</br>\r\n", e->m_layerNumber);
        out += Format("Accurate Statistics Flag = %u</br>\r\n", e->m_accurateStatisticsFlag);
        out += Format("Avg Bitrate = %u</br>\r\n", e->m_avgBitRate);
        out += Format("Avg Framerate = %u</br>\r\n", e->m_avgFrameRate);
    } else if (auto* e = dynamic_cast<const CAVCSubSequenceEntry*>(entry)) {
        // The reference list after these fields is not read, so it is not shown.
        out += Format("Sub Sequence Identifier = %u</br>\r\n", e->m_subSequenceIdentifier);
        out += Format("Layer Number = %u</br>\r\n", e->m_layerNumber);
        out += Format("Duration Flag = %d</br>\r\n", e->m_durationFlag);
        out += Format("Avg Rate Flag = %d</br>\r\n", e->m_avgRateFlag);
        out += Format("Duration = %u</br>\r\n", e->m_duration);
        out += Format("Accurate Statistics_flag = %u</br>\r\n", e->m_accurateStatisticsFlag);
        out += Format("Avg Bitrate = %u</br>\r\n", e->m_avgBitRate);
        out += Format("Avg Framerate = %u</br>\r\n", e->m_avgFrameRate);
    }
    return out + "</td>\r\n";
}

// The entry list of a table box; no columns for any other box.
EntryList EntriesOf(const CBox& box) {
    EntryList l;
    switch (box.m_type) {
        case FourCC("stts"):
            if (auto* b = dynamic_cast<const CTimeToSampleBox*>(&box)) {
                l = {{"Sample count", "Sample delta"}, b->GetEntryCount(), [b](uint32_t i) {
                         return CellU(b->RetrieveSampleCount(i)) + CellU(b->RetrieveSampleDelta(i));
                     }};
            }
            break;
        case FourCC("ctts"):
            if (auto* b = dynamic_cast<const CCompositionOffsetBox*>(&box)) {
                l = {{"Sample count", "Sample offset"}, b->GetEntryCount(), [b](uint32_t i) {
                         return CellU(b->GetSampleCount(i)) + CellD(static_cast<int32_t>(b->GetSampleOffset(i)));
                     }};
            }
            break;
        case FourCC("stsc"):
            if (auto* b = dynamic_cast<const CSampleToChunkbox*>(&box)) {
                l = {{"First chunk", "Samples per chunk", "Samples description index"},
                     b->GetEntryCount(),
                     [b](uint32_t i) {
                         return CellU(b->GetFirstChunk(i)) + CellU(b->GetSamplesPerChunk(i)) +
                                CellU(b->GetSampleDescriptionIndex(i));
                     }};
            }
            break;
        case FourCC("stsz"):
            if (auto* b = dynamic_cast<const CSampleSizeBox*>(&box)) {
                l = {{"Sample size"}, b->GetSampleCount(), [b](uint32_t i) {
                         return CellU(b->GetSampleSize() ? b->GetSampleSize() : b->GetEntrySize(i));
                     }};
            }
            break;
        case FourCC("stz2"):
            if (auto* b = dynamic_cast<const CCompactSampleSizeBox*>(&box))
                l = {{"Sample size"}, b->GetSampleCount(), [b](uint32_t i) { return CellU(b->GetEntrySize(i)); }};
            break;
        case FourCC("stco"):
        case FourCC("co64"):
            if (auto* b = dynamic_cast<const CChunkOffsetBox*>(&box))
                l = {{"Chunk offset"}, b->GetEntryCount(), [b](uint32_t i) { return CellU(b->GetChunkOffset(i)); }};
            break;
        case FourCC("stss"):
            if (auto* b = dynamic_cast<const CSyncSampleBox*>(&box))
                l = {{"Sample number"}, b->GetEntryCount(), [b](uint32_t i) { return CellU(b->GetSampleNumber(i)); }};
            break;
        case FourCC("stsh"):
            if (auto* b = dynamic_cast<const CShadowSyncSampleBox*>(&box)) {
                l = {{"Shadowed sample number", "Sync sample number"}, b->GetEntryCount(), [b](uint32_t i) {
                         return CellU(b->GetShadowedSampleNumber(i)) + CellU(b->GetSyncSampleNumber(i));
                     }};
            }
            break;
        case FourCC("stdp"):
            if (auto* b = dynamic_cast<const CDegradationPriorityBox*>(&box))
                l = {{"Priority"}, b->GetSampleCount(), [b](uint32_t i) { return CellU(b->GetPriority(i)); }};
            break;
        case FourCC("padb"):
            // One stored byte per row: both pad values of the byte.
            if (auto* b = dynamic_cast<const CPaddingBitsBox*>(&box)) {
                l = {{"Padding Bits1", "Padding Bits2"}, b->GetSampleCount(), [b](uint32_t i) {
                         return CellU(b->GetPad1(i)) + CellU(b->GetPad2(i));
                     }};
            }
            break;
        case FourCC("sdtp"):
            if (auto* b = dynamic_cast<const CSampleDependencyTypeBox*>(&box)) {
                l = {{"Reserved", "Samples depends on", "Samples is depended on", "Samples has redundancy"},
                     b->GetStoredEntryCount(),
                     [b](uint32_t i) {
                         return CellU(b->GetReserved(i)) + CellU(b->GetSampleDependsOn(i)) +
                                CellU(b->GetSampleIsDependedOn(i)) + CellU(b->GetSampleHasRedundancy(i));
                     }};
            }
            break;
        case FourCC("sbgp"):
            if (auto* b = dynamic_cast<const CSampletoGroupBox*>(&box)) {
                l = {{"Sample count", "Group desc index"}, b->GetEntryCount(), [b](uint32_t i) {
                         return CellU(b->GetSampleCount(i)) + CellU(b->GetGroupDescriptionIndex(i));
                     }};
            }
            break;
        case FourCC("sgpd"):
            if (auto* b = dynamic_cast<const CSampleGroupDescBox*>(&box)) {
                l = {{"Description length", "Description Entry"}, b->GetEntryCount(), [b](uint32_t i) {
                         return CellU(b->GetDescriptionLength(i)) + SgpdDescription(*b, i);
                     }};
            }
            break;
        case FourCC("subs"):
            // An entry without sub-sample records shows 0 in the sub-sample cells.
            if (auto* b = dynamic_cast<const CSubSampleInfoBox*>(&box)) {
                l = {{"Sample delta", "Subsample count", "Subsample size", "Subsample priority", "Discardable",
                      "Reserved"},
                     b->GetEntryCount(),
                     [b](uint32_t i) {
                         CSubSampleInfoBox::Subsample s = b->GetSubsample(i, 0);
                         return CellU(b->GetSampleDelta(i)) + CellU(b->GetSubsampleCount(i)) + CellU(s.size) +
                                CellU(s.priority) + CellU(s.discardable) + CellU(s.reserved);
                     }};
            }
            break;
        default:
            break;
    }
    return l;
}

// ---- fragments ---------------------------------------------------------------

// How a tfhd base data offset is read: in Smooth Streaming files (major brand
// isml) it may count from the fragment's own first byte.
enum class OffsetMode { Plain = 0, Isml = 1, Afra = 2 };

OffsetMode FragmentOffsetMode(const CCorvel* parser) {
    OffsetMode mode = OffsetMode::Plain;
    if (!parser) return mode;
    for (size_t i = 0; i < parser->GetBoxCount(); ++i) {
        const CBox* box = parser->GetBox(i);
        if (!box) continue;
        if (auto* ftyp = dynamic_cast<const CFileTypeBox*>(box);
            ftyp && box->m_type == FourCC("ftyp") && ftyp->m_majorBrand == FourCC("isml"))
            mode = OffsetMode::Isml;
        else if (box->m_type == FourCC("afra"))
            mode = OffsetMode::Afra;
    }
    return mode;
}

// The trex of a track in the first moov, for the defaults that neither the trun
// nor the tfhd gives.
const CTrackExtendsBox* TrackExtendsOf(const CCorvel* parser, uint32_t trackId) {
    if (!parser) return nullptr;
    for (size_t i = 0; i < parser->GetBoxCount(); ++i) {
        const CBox* box = parser->GetBox(i);
        if (!box || box->m_type != FourCC("moov")) continue;
        std::vector<const CBox*> trexes;
        FindBoxes(*box, FourCC("trex"), trexes);
        for (const CBox* t : trexes)
            if (auto* trex = dynamic_cast<const CTrackExtendsBox*>(t); trex && trex->m_trackId == trackId) return trex;
        return nullptr;
    }
    return nullptr;
}

// The first payload byte of an mdat.
uint64_t PayloadStart(const CBox& mdat) { return uint64_t(mdat.m_startOffset) + (mdat.m_size == 1 ? 16 : 8); }

}  // namespace

// ---- public ------------------------------------------------------------------

void FindBoxes(const CBox& box, uint32_t type, std::vector<const CBox*>& list) {
    if (box.m_type == type) list.push_back(&box);
    for (const auto& child : box.m_children)
        if (child) FindBoxes(*child, type, list);
}

uint64_t CumulativeFragmentSize(const CCorvel& parser, const CBox& moof) {
    uint64_t sum = 0;
    for (size_t i = 0; i < parser.GetBoxCount(); ++i) {
        const CBox* box = parser.GetBox(i);
        if (box == &moof) return sum;
        if (box && (box->m_type == FourCC("moof") || box->m_type == FourCC("mdat"))) sum += box->BoxSize();
    }
    return 0;
}

uint64_t TrackSampleCount(const CBox& stbl) {
    uint64_t n = 0;
    if (auto* stsz = LastChildAs<CSampleSizeBox>(stbl, FourCC("stsz")))
        n = stsz->GetSampleCount();
    else if (auto* stz2 = LastChildAs<CCompactSampleSizeBox>(stbl, FourCC("stz2")))
        n = stz2->GetSampleCount();
    return std::min(n, kMaxListedSamples);
}

uint64_t FragmentSampleCount(const CBox& traf) {
    uint64_t n = 0;
    for (const auto& child : traf.m_children)
        if (auto* trun = dynamic_cast<const CTrackRunBox*>(child.get())) n += trun->GetSampleEntryCount();
    return std::min(n, kMaxListedSamples);
}

bool HasEntriesSubPages(const CBox& box) { return !EntriesOf(box).columns.empty(); }

void WriteEntriesSubPage(ReportPage& page, const CBox& box, const std::string& path, uint32_t k) {
    const EntryList list = EntriesOf(box);
    const int columns = list.columns.empty() ? 0 : static_cast<int>(list.columns.size()) + 1;
    std::string out = SubPageHead(false);
    out += kTableOpen;
    out += SubTitleRow(columns, page.IconPath(), "List");
    out += "<tr>\r\n";
    if (columns) {
        const int width = 100 / columns;
        out += Format("<td align = \"left\" bgcolor = #f7f7f7  width = %d%%>%s</td>\r\n", width, "No.");
        for (const char* name : list.columns)
            out += Format("<td align = \"left\" bgcolor = #f7f7f7  width = %d%%>%s</td>\r\n", width, name);
    }
    out += "</tr>\r\n";
    // Entries are read by index, so only the block itself is visited.
    const Block block(k);
    for (uint64_t e = block.first; e <= block.last && e <= list.count; ++e) {
        out += "<tr>\r\n";
        out += Format("<td align = \"left\" bgcolor = white>%u</td>\r\n", static_cast<uint32_t>(e));
        out += list.cells(static_cast<uint32_t>(e - 1));
        out += "</tr>\r\n";
    }
    out += kSubPageFoot;
    WriteSubPage(page, path, out);
}

void WriteTrackSamplesSubPage(ReportPage& page, const CBox& stbl, const std::string& path, uint32_t k) {
    // The last box of each type serves. Without a size box there are no samples;
    // without stts the deltas are 0, without stsc every sample is a chunk of its
    // own, without chunk offsets the chunks start at 0.
    const auto* stsz = LastChildAs<CSampleSizeBox>(stbl, FourCC("stsz"));
    const auto* stz2 = stsz ? nullptr : LastChildAs<CCompactSampleSizeBox>(stbl, FourCC("stz2"));
    const auto* stts = LastChildAs<CTimeToSampleBox>(stbl, FourCC("stts"));
    const auto* stss = LastChildAs<CSyncSampleBox>(stbl, FourCC("stss"));
    const auto* stsc = LastChildAs<CSampleToChunkbox>(stbl, FourCC("stsc"));
    const auto* stco = LastChildAs<CChunkOffsetBox>(stbl, FourCC("stco"), FourCC("co64"));

    const uint64_t sampleCount = TrackSampleCount(stbl);
    const uint64_t constantSize = stsz ? stsz->GetSampleSize() : 0;
    auto storedSize = [&](uint64_t i) -> uint64_t {  // sample i from 1; 0 when missing
        if (i == 0 || i > UINT32_MAX) return 0;
        if (stsz) return stsz->GetEntrySize(static_cast<uint32_t>(i - 1));
        return stz2 ? stz2->GetEntrySize(static_cast<uint32_t>(i - 1)) : 0;
    };
    auto sizeOf = [&](uint64_t i) { return constantSize ? constantSize : storedSize(i); };

    std::string out = SubPageHead(true);
    out += kTableOpen;
    out += SubTitleRow(7, page.IconPath(), "Samples");
    out += "<tr>\r\n";
    for (const char* name : {"No.", "Sample delta", "Size", "Chunck num", "Chunck offset", "i-Frame", "Sample offset"})
        out += Format("<td align = \"left\" bgcolor = #f7f7f7  width = 16%%>%s</td>\r\n", name);
    out += "</tr>\r\n";

    int64_t sttsIndex = -1, sttsRemaining = 0;
    int64_t stscIndex = -1, leftInChunk = 0;
    uint64_t chunkNumber = 0, offsetInChunk = 0, stssIndex = 0;
    int64_t chunkIndex = -1;
    const int64_t stscEntries = stsc ? int64_t(stsc->GetEntryCount()) : 0;

    // Every sample's state depends on all before it, so the walk starts at sample 1
    // (and is skipped for a page past the list).
    const Block block(k);
    for (uint64_t i = 1; block.first <= sampleCount && i <= sampleCount && i <= block.last; ++i) {
        const uint64_t size = sizeOf(i);

        uint64_t delta = 0;
        if (stts) {
            if (--sttsRemaining <= 0) {
                ++sttsIndex;
                sttsRemaining =
                    sttsIndex <= UINT32_MAX ? stts->RetrieveSampleCount(static_cast<uint32_t>(sttsIndex)) : 0;
            }
            delta = sttsIndex <= UINT32_MAX ? stts->RetrieveSampleDelta(static_cast<uint32_t>(sttsIndex)) : 0;
        }

        if (--leftInChunk > 0) {
            offsetInChunk += sizeOf(i - 1);
        } else {
            if (stsc && stscIndex < stscEntries - 1 &&
                stsc->GetFirstChunk(static_cast<uint32_t>(stscIndex + 1)) == chunkNumber + 1)
                ++stscIndex;
            leftInChunk = (stsc && stscIndex >= 0 && uint64_t(stscIndex) < stsc->GetStoredEntryCount())
                              ? int64_t(stsc->GetSamplesPerChunk(static_cast<uint32_t>(stscIndex)))
                              : int64_t(-1);
            ++chunkNumber;
            ++chunkIndex;
            offsetInChunk = 0;
        }
        const uint64_t chunkOffset =
            (stco && chunkIndex < int64_t(stco->GetEntryCount()) && uint64_t(chunkIndex) < stco->GetStoredEntryCount())
                ? stco->GetChunkOffset(static_cast<uint32_t>(chunkIndex))
                : 0;
        const uint64_t sampleOffset = chunkOffset + offsetInChunk;

        const char* sync = "-";
        if (stss) {
            const uint32_t number =
                stssIndex <= UINT32_MAX ? stss->GetSampleNumber(static_cast<uint32_t>(stssIndex)) : 0;
            const bool isSync = number != 0 && number == i;
            if (isSync) ++stssIndex;
            sync = isSync ? "O" : "X";
        }

        if (i < block.first) continue;
        out += "<tr>\r\n";
        out += Format("<td align = \"left\" bgcolor = white>%u</td>\r\n", static_cast<uint32_t>(i));
        out += CellU(delta) + CellU(size) + CellU(chunkNumber) + CellU(chunkOffset);
        out += Format("<td align = \"left\" bgcolor = white>%s</td>\r\n", sync);
        out += Format("<td align = \"left\" bgcolor = white>%" PRIu64
                      "&nbsp;&nbsp;<BUTTON STYLE=\"WIDTH:20\" onClick = \"parent.fncOnClick(%" PRIu64 ", %" PRIu64
                      ")\">...</BUTTON></td>\r\n",
                      sampleOffset, size, sampleOffset);
        out += "</tr>\r\n";
    }
    out += kSubPageFoot;
    WriteSubPage(page, path, out);
}

void WriteFragmentSamplesSubPage(ReportPage& page, const CBox& traf, const std::string& path, uint32_t k,
                                 const CBox* moof, const CBox* mdat, const CCorvel* parser) {
    const OffsetMode mode = FragmentOffsetMode(parser);

    std::string out = SubPageHead(false);
    out += kTableOpen;
    out += SubTitleRow(6, page.IconPath(), "Samples");
    out += "<tr>";
    for (const char* name : {"No.", "Duration", "Size", "Flags", "Composition time offset", "Trun offset"})
        out += Format("<td align = \"left\" bgcolor = #f7f7f7  width = 16%%>%s</td>", name);
    out += "</tr>";

    uint64_t base = moof ? uint64_t(moof->m_startOffset) : 0;
    bool explicitBase = false;
    const CTrackFragmentHeaderBox* tfhd = nullptr;
    const CTrackExtendsBox* trex = nullptr;
    bool haveRunEnd = false;
    uint64_t runEnd = 0;  // where the previous run's data ended
    uint64_t n = 0;
    const Block block(k);

    for (const auto& child : traf.m_children) {
        if (n >= block.last) break;
        if (auto* h = dynamic_cast<const CTrackFragmentHeaderBox*>(child.get())) {
            tfhd = h;
            trex = TrackExtendsOf(parser, h->m_trackId);
            explicitBase = (h->m_flags & CTrackFragmentHeaderBox::kBaseDataOffsetPresent) != 0;
            base = moof ? uint64_t(moof->m_startOffset) : 0;
            if (explicitBase) {
                base = h->m_baseDataOffset;
                if (mode == OffsetMode::Isml && parser && moof && mdat && uint64_t(mdat->m_startOffset) >= base)
                    base += CumulativeFragmentSize(*parser, *moof);
            }
            continue;
        }
        auto* trun = dynamic_cast<const CTrackRunBox*>(child.get());
        if (!trun) continue;

        // The run's data: at the base plus its (signed) data offset; without one,
        // right after the previous run, or for the first run at the base when the
        // tfhd gave one, else at the mdat payload.
        uint64_t offset;
        if (trun->m_flags & CTrackRunBox::kDataOffsetPresent)
            offset = base + static_cast<int64_t>(static_cast<int32_t>(trun->m_dataOffset));
        else if (haveRunEnd)
            offset = runEnd;
        else if (explicitBase)
            offset = base;
        else
            offset = mdat ? PayloadStart(*mdat) : base;

        // Each field: the run's own value when it carries it, else the tfhd
        // default, else the trex default.
        auto pick = [&](uint32_t runBit, uint32_t own, uint32_t tfhdBit, uint32_t tfhdValue, uint32_t trexValue) {
            if (trun->m_flags & runBit) return own;
            if (tfhd && (tfhd->m_flags & tfhdBit)) return tfhdValue;
            return trex ? trexValue : 0u;
        };
        auto sizeAt = [&](size_t j) {
            return pick(CTrackRunBox::kSizePresent, trun->GetSample(j)->size,
                        CTrackFragmentHeaderBox::kDefaultSizePresent, tfhd ? tfhd->m_defaultSampleSize : 0,
                        trex ? trex->m_defaultSampleSize : 0);
        };
        const size_t count = trun->GetSampleEntryCount();
        for (size_t j = 0; j < count; ++j) {
            if (j > 0) offset += sizeAt(j - 1);
            if (++n > block.last) break;
            if (n < block.first) continue;
            const CTrackRunBox::Sample& s = *trun->GetSample(j);
            const uint32_t size = sizeAt(j);
            const uint32_t duration =
                pick(CTrackRunBox::kDurationPresent, s.duration, CTrackFragmentHeaderBox::kDefaultDurationPresent,
                     tfhd ? tfhd->m_defaultSampleDuration : 0, trex ? trex->m_defaultSampleDuration : 0);
            uint32_t flags = pick(CTrackRunBox::kFlagsPresent, s.flags, CTrackFragmentHeaderBox::kDefaultFlagsPresent,
                                  tfhd ? tfhd->m_defaultSampleFlags : 0, trex ? trex->m_defaultSampleFlags : 0);
            if (j == 0 && (trun->m_flags & CTrackRunBox::kFirstSampleFlagsPresent) &&
                !(trun->m_flags & CTrackRunBox::kFlagsPresent))
                flags = trun->m_firstSampleFlags;
            out += "<tr>";
            out += Format("<td align = \"left\" bgcolor = white>%u</td>", static_cast<uint32_t>(n));
            out += Format("<td align = \"left\" bgcolor = white>%u</td>", duration);
            out += Format("<td align = \"left\" bgcolor = white>%u</td>", size);
            out += Format("<td align = \"left\" bgcolor = white>%u</td>", flags);
            out +=
                Format("<td align = \"left\" bgcolor = white>%d</td>", static_cast<int32_t>(s.compositionTimeOffset));
            out += Format("<td align = \"left\" bgcolor = white>%" PRIu64
                          "&nbsp;&nbsp;<BUTTON STYLE=\"WIDTH:20\" onClick = \"parent.fncOnClick(%u, %" PRIu64
                          ")\">...</BUTTON></td>",
                          offset, size, offset);
            out += "</tr>";
        }
        runEnd = count > 0 ? offset + sizeAt(count - 1) : offset;
        haveRunEnd = true;
    }
    out += "</table>";
    out += kSubPageFoot;
    WriteSubPage(page, path, out);
}
