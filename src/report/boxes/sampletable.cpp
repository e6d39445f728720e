// The pages of the sample table boxes and the sample grouping boxes: their counts,
// the select lists of the sub pages that show their entries, and those entries.
#include <algorithm>

#include "boxes/containers/corvel.h"
#include "boxes/sampletable/aux_info_boxes.h"
#include "boxes/sampletable/chunk_offset_box.h"
#include "boxes/sampletable/padding_bits_box.h"
#include "boxes/sampletable/sample_dependency_box.h"
#include "boxes/sampletable/sample_dependency_type_box.h"
#include "boxes/sampletable/sample_group_boxes.h"
#include "boxes/sampletable/sample_size_box.h"
#include "boxes/sampletable/sample_to_chunk_box.h"
#include "boxes/sampletable/subsample_info_box.h"
#include "boxes/sampletable/sync_sample_box.h"
#include "boxes/sampletable/time_to_sample_box.h"
#include "report/box_entry.h"
#include "samples/sample_encryption.h"

namespace {
// Lines of a list that stand for samples without stored values ("0" each) are capped,
// so a hostile sample count cannot make a page of billions of lines.
constexpr uint64_t kMaxUnstoredLines = 200000;

// "Entry count" (the box's count field), then the "Entries" select list over its table.
template <class Table>
void CountAndEntries(PageBuilder& page, const uint32_t& count, const Table& table) {
    page.Table();
    page.U32("Entry count", count);
    page.EntryPages("Entries", count, {table});
}

void SttsRows(PageBuilder& p, const CTimeToSampleBox& b) { CountAndEntries(p, b.m_entryCount, b.m_entries); }
void CttsRows(PageBuilder& p, const CCompositionOffsetBox& b) { CountAndEntries(p, b.m_entryCount, b.m_entries); }
void StscRows(PageBuilder& p, const CSampleToChunkbox& b) { CountAndEntries(p, b.m_entryCount, b.m_entries); }
void StcoRows(PageBuilder& p, const CChunkOffsetBox& b) { CountAndEntries(p, b.m_entryCount, b.m_chunkOffsets); }
void StssRows(PageBuilder& p, const CSyncSampleBox& b) { CountAndEntries(p, b.m_entryCount, b.m_sampleNumbers); }
void StshRows(PageBuilder& p, const CShadowSyncSampleBox& b) {
    CountAndEntries(p, b.m_entryCount, b.m_shadowedSampleNumbers);
}
void SubsRows(PageBuilder& p, const CSubSampleInfoBox& b) { CountAndEntries(p, b.m_entryCount, b.m_entries); }

void StszRows(PageBuilder& page, const CSampleSizeBox& b) {
    page.Table();
    page.U32("Sample size", b.m_sampleSize);
    page.U32("Sample count", b.m_sampleCount);
    page.EntryPages("Entries", b.m_sampleCount, {b.m_entrySizes});
}

void Stz2Rows(PageBuilder& page, const CCompactSampleSizeBox& b) {
    page.Table();
    page.U32("Reserved", b.m_reserved);
    page.U32("Field size", b.m_fieldSize);
    page.U32("Sample count", b.m_sampleCount);
    page.EntryPages("Entries", b.m_sampleCount, {b.m_entrySizes});
}

void PadbRows(PageBuilder& page, const CPaddingBitsBox& b) {
    page.Table();
    page.U32("Sample count", b.m_sampleCount);
    page.EntryPages("Samples", b.m_sampleCount, {b.m_bytes});
}

void StdpRows(PageBuilder& page, const CDegradationPriorityBox& b) {
    page.Table();
    page.Derived("Sample count", U32Text(b.m_sampleCount), {b.m_priorities});
    page.EntryPages("Samples", b.m_sampleCount, {b.m_priorities});
}

void SdtpRows(PageBuilder& page, const CSampleDependencyTypeBox& b) {
    const auto stored = static_cast<uint32_t>(b.GetStoredEntryCount());
    page.Table();
    page.Derived("Entry count", U32Text(stored), {b.m_entries});
    page.EntryPages("Entries", stored, {b.m_entries});
}

void CslgRows(PageBuilder& page, const CCompositionToDecodeBox& b) {
    page.Table();
    page.I32("Composition to DTS shift", b.m_compositionToDTSShift);
    page.I32("Least decode to display delta", b.m_leastDecodeToDisplayDelta);
    page.I32("Greatest decode to display delta", b.m_greatestDecodeToDisplayDelta);
    page.I32("Composition start time", b.m_compositionStartTime);
    page.I32("Composition end time", b.m_compositionEndTime);
}

void SbgpRows(PageBuilder& page, const CSampletoGroupBox& b) {
    page.Table();
    page.Code("Grouping type", b.m_groupingType);
    page.U32("Grouping type parameter set", b.m_groupingTypeParameter);
    page.U32("Entry count", b.m_entryCount);
    page.EntryPages("Entries", b.m_entryCount, {b.m_entries});
}

void SgpdRows(PageBuilder& page, const CSampleGroupDescBox& b) {
    page.Table();
    page.Code("Grouping type", b.m_groupingType);
    page.U32("Default length", b.m_defaultLength);
    page.U32("Entry count", b.m_entryCount);
    // The records lie one after another: the first and the last span them all.
    if (b.m_records.empty()) page.EntryPages("Entries", b.m_entryCount);
    else page.EntryPages("Entries", b.m_entryCount, {b.m_records.front(), b.m_records.back()});
}

void SaizRows(PageBuilder& page, const CSaizBox& b) {
    page.Table();
    page.Code("Aux info type", b.m_auxInfoType);
    page.U32("Aux info type param", b.m_auxInfoTypeParameter);
    page.U32("Default sample info size", b.m_defaultSampleInfoSize);
    page.U32("Sample count", b.m_sampleCount);
    // One line per sample. With a default size no size is stored: every sample's is the
    // default, each line shows it at the default's byte, and there are no more lines than
    // the file has bytes for. Without one every size lies in the table, so a count beyond
    // it lists what the table holds.
    const uint64_t stored = b.GetStoredEntryCount();
    uint64_t unstored = b.m_defaultSampleInfoSize ? kMaxUnstoredLines : 0;
    if (const CCorvel* parser = page.Context().parser; parser && b.m_defaultSampleInfoSize)
        unstored = std::min<uint64_t>(unstored, uint64_t(parser->FileSize()) / b.m_defaultSampleInfoSize);
    const uint64_t lines = std::min<uint64_t>(b.GetSampleCount(), std::max<uint64_t>(stored, unstored));
    page.List("Samples", {"Sample info size"});
    for (uint64_t i = 0; i < lines; ++i) {
        if (i < stored) page.ListEntry({U32Text(b.m_sampleInfoSizes[i])}, {b.m_sampleInfoSizes[i]});
        else page.ListEntry({U32Text(b.m_defaultSampleInfoSize)}, {b.m_defaultSampleInfoSize});
    }
}

void SaioRows(PageBuilder& page, const CSaioBox& b) {
    page.Table();
    page.Code("Aux info", b.m_auxInfoType);
    page.U32("Aux info type param", b.m_auxInfoTypeParameter);
    page.U32("Entry count", b.m_entryCount);
    page.List("Entries", {"Entry"});
    for (const uint64_t& offset : b.m_offsets) page.ListEntry({U64Text(offset)}, {offset});
    // Where a traf's offsets point in the file: they count from its base data offset or
    // its moof's first byte (an stbl's are file offsets).
    const PageContext& context = page.Context();
    const CBox* parent = context.parent;
    if (!parent || parent->m_type != FourCC("traf") || b.m_offsets.empty()) return;
    const CBox* top = context.topLevel ? context.topLevel : context.parser ? context.parser->TopLevelOf(*parent) : nullptr;
    if (!top || top->m_type != FourCC("moof")) return;
    const uint64_t base = AuxInfoBase(*parent, top);
    page.List("Resolved Offsets", {"File offset"});
    for (const uint64_t& offset : b.m_offsets) page.ListEntry({U64Text(base + offset)}, {offset});
}

void SdepRows(PageBuilder& page, const CSampleDependencyBox& b) {
    page.Table();
    page.Derived("Sample count", U32Text(b.m_sampleCount), {b.m_entries});
    // One pair of rows per stored sample: a successful parse stores every sample.
    for (uint32_t i = 0; i < b.GetStoredEntryCount(); ++i) {
        const auto& entry = b.m_entries[i];
        page.U32("Dependency count", entry.dependencyCount);
        std::string numbers;
        for (uint32_t j = 0; j < entry.dependencyCount; ++j) {
            const int32_t number = b.GetDependencySampleNumber(i, j);
            if (number < 0) break;  // the payload ended inside this sample's list
            numbers += Format(j + 1 < entry.dependencyCount ? "%u, " : "%u", static_cast<uint32_t>(number));
        }
        const Source stored(b.m_numbers.data() + entry.firstNumber, entry.storedNumbers * sizeof(b.m_numbers[0]));
        page.Derived("Dependency sample number", numbers, {entry, stored});
    }
}

// ---- entry sub pages ------------------------------------------------------------

// The entries a list shows: those of the declared count the box holds.
template <class Vector>
uint64_t Stored(uint64_t declared, const Vector& v) {
    return std::min<uint64_t>(declared, v.size());
}

// The record entry i of a table shows; none past the stored records.
template <class Vector>
std::function<std::vector<Source>(uint32_t)> RecordOf(const Vector& v) {
    return [&v](uint32_t i) { return i < v.size() ? std::vector<Source>{Source(v[i])} : std::vector<Source>{}; };
}
template <class T>
std::function<std::vector<Source>(uint32_t)> RecordOf(const TableView<T>& v) {
    return [&v](uint32_t i) { return i < v.size() ? std::vector<Source>{RecordSource(v, i)} : std::vector<Source>{}; };
}

EntryList SttsEntries(const CTimeToSampleBox& b) {
    return {{"Sample count", "Sample delta"}, Stored(b.GetEntryCount(), b.m_entries), [&b](uint32_t i, std::vector<EntryCell>& c) {
                c = {CellU(b.RetrieveSampleCount(i)), CellU(b.RetrieveSampleDelta(i))};
            }, RecordOf(b.m_entries)};
}

EntryList CttsEntries(const CCompositionOffsetBox& b) {
    return {{"Sample count", "Sample offset"}, Stored(b.GetEntryCount(), b.m_entries), [&b](uint32_t i, std::vector<EntryCell>& c) {
                c = {CellU(b.GetSampleCount(i)), CellD(static_cast<int32_t>(b.GetSampleOffset(i)))};
            }, RecordOf(b.m_entries)};
}

EntryList StscEntries(const CSampleToChunkbox& b) {
    return {{"First chunk", "Samples per chunk", "Samples description index"},
            Stored(b.GetEntryCount(), b.m_entries),
            [&b](uint32_t i, std::vector<EntryCell>& c) {
                c = {CellU(b.GetFirstChunk(i)), CellU(b.GetSamplesPerChunk(i)), CellU(b.GetSampleDescriptionIndex(i))};
            }, RecordOf(b.m_entries)};
}

// One size for all samples lists that size on each line, as many as unstored lines may be.
uint64_t StszListed(const CSampleSizeBox& b) {
    return b.GetSampleSize() ? std::min<uint64_t>(b.GetSampleCount(), kMaxUnstoredLines)
                             : Stored(b.GetSampleCount(), b.m_entrySizes);
}

EntryList StszEntries(const CSampleSizeBox& b) {
    return {{"Sample size"}, StszListed(b), [&b](uint32_t i, std::vector<EntryCell>& c) {
                c = {CellU(b.GetSampleSize() ? b.GetSampleSize() : b.GetEntrySize(i))};
            }, RecordOf(b.m_entrySizes)};
}

EntryList Stz2Entries(const CCompactSampleSizeBox& b) {
    return {{"Sample size"}, Stored(b.GetSampleCount(), b.m_entrySizes),
            [&b](uint32_t i, std::vector<EntryCell>& c) { c = {CellU(b.GetEntrySize(i))}; }, RecordOf(b.m_entrySizes)};
}

EntryList StcoEntries(const CChunkOffsetBox& b) {
    return {{"Chunk offset"}, Stored(b.GetEntryCount(), b.m_chunkOffsets),
            [&b](uint32_t i, std::vector<EntryCell>& c) { c = {CellU(b.GetChunkOffset(i))}; }, RecordOf(b.m_chunkOffsets)};
}

EntryList StssEntries(const CSyncSampleBox& b) {
    return {{"Sample number"}, Stored(b.GetEntryCount(), b.m_sampleNumbers),
            [&b](uint32_t i, std::vector<EntryCell>& c) { c = {CellU(b.GetSampleNumber(i))}; }, RecordOf(b.m_sampleNumbers)};
}

EntryList StshEntries(const CShadowSyncSampleBox& b) {
    return {{"Shadowed sample number", "Sync sample number"},
            Stored(b.GetEntryCount(), b.m_shadowedSampleNumbers),
            [&b](uint32_t i, std::vector<EntryCell>& c) {
                c = {CellU(b.GetShadowedSampleNumber(i)), CellU(b.GetSyncSampleNumber(i))};
            }, RecordOf(b.m_shadowedSampleNumbers)};
}

EntryList StdpEntries(const CDegradationPriorityBox& b) {
    return {{"Priority"}, Stored(b.GetSampleCount(), b.m_priorities),
            [&b](uint32_t i, std::vector<EntryCell>& c) { c = {CellU(b.GetPriority(i))}; }, RecordOf(b.m_priorities)};
}

// One stored byte per row: both pad values of the byte.
EntryList PadbEntries(const CPaddingBitsBox& b) {
    return {{"Padding Bits1", "Padding Bits2"}, std::min<uint64_t>(b.GetSampleCount(), 2 * b.m_bytes.size()), [&b](uint32_t i, std::vector<EntryCell>& c) {
                c = {CellU(b.GetPad1(i)), CellU(b.GetPad2(i))};
            }, RecordOf(b.m_bytes)};
}

EntryList SdtpEntries(const CSampleDependencyTypeBox& b) {
    return {{"Reserved", "Samples depends on", "Samples is depended on", "Samples has redundancy"},
            b.GetStoredEntryCount(),
            [&b](uint32_t i, std::vector<EntryCell>& c) {
                c = {CellU(b.GetReserved(i)), CellU(b.GetSampleDependsOn(i)), CellU(b.GetSampleIsDependedOn(i)),
                     CellU(b.GetSampleHasRedundancy(i))};
            }, RecordOf(b.m_entries)};
}

EntryList SbgpEntries(const CSampletoGroupBox& b) {
    return {{"Sample count", "Group desc index"}, Stored(b.GetEntryCount(), b.m_entries), [&b](uint32_t i, std::vector<EntryCell>& c) {
                c = {CellU(b.GetSampleCount(i)), CellU(b.GetGroupDescriptionIndex(i))};
            }, RecordOf(b.m_entries)};
}

// The fields of a group entry, one line each.
std::string SgpdDescription(const CSampleGroupDescBox& sgpd, uint32_t i) {
    std::string out;
    auto line = [&out](const std::string& text) { out += text + "\n"; };
    const ISampleGroupDescriptionEntry* entry = sgpd.GetGroupEntry(i);
    if (auto* e = dynamic_cast<const CTemproalLayerEntry*>(entry)) {
        line(Format("Temporal Layer id = %u", e->m_temporalLayerId));
        line(Format("tl Profile Space = %u", e->m_profileSpace));
        line(Format("tl Profile idc = %u", e->m_profileIdc));
        line(Format("tl Constraint Indicator Flags = %u", e->m_constraintIndicatorFlags));
        line(Format("tl Level idc = %u", e->m_levelIdc));
        line(Format("tl Profile Compatibility Indications = %u", e->m_profileCompatibilityIndications));
        line(Format("tl Max Bitrate = %u", e->m_maxBitRate));
        line(Format("tl Avg Bitrate = %u", e->m_avgBitRate));
        line(Format("tl Constant Framerate = %u", e->m_constantFrameRate));
        line(Format("tl Avg Framerate = %u", e->m_avgFrameRate));
    } else if (auto* e = dynamic_cast<const CRollRecoveryEntry*>(entry)) {
        line(Format("Roll distance = %d", e->RollDistance()));
    } else if (auto* e = dynamic_cast<const CSampleEncryptionGroupEntry*>(entry)) {
        line(Format("Crypt byte block = %u", e->m_cryptByteBlock));
        line(Format("Skip byte block = %u", e->m_skipByteBlock));
        line(Format("Is protected = %u", e->m_isProtected));
        line(Format("Per-sample IV size = %u", e->m_perSampleIvSize));
        line("KID = " + FormatBytesText(e->m_kid.data(), e->m_kid.size()));
        if (e->HasConstantIv()) {
            line(Format("Constant IV size = %u", e->m_constantIvSize));
            line("Constant IV = " + FormatBytesText(e->m_constantIv.data(), e->m_constantIv.size()));
        }
    } else if (auto* e = dynamic_cast<const CAVCLayerEntry*>(entry)) {
        line(Format("Layer Number = %u", e->m_layerNumber));
        line(Format("Accurate Statistics Flag = %u", e->m_accurateStatisticsFlag));
        line(Format("Avg Bitrate = %u", e->m_avgBitRate));
        line(Format("Avg Framerate = %u", e->m_avgFrameRate));
    } else if (auto* e = dynamic_cast<const CAVCSubSequenceEntry*>(entry)) {
        // The reference list after these fields is not read, so it is not shown.
        line(Format("Sub Sequence Identifier = %u", e->m_subSequenceIdentifier));
        line(Format("Layer Number = %u", e->m_layerNumber));
        line(Format("Duration Flag = %d", e->m_durationFlag));
        line(Format("Avg Rate Flag = %d", e->m_avgRateFlag));
        line(Format("Duration = %u", e->m_duration));
        line(Format("Accurate Statistics_flag = %u", e->m_accurateStatisticsFlag));
        line(Format("Avg Bitrate = %u", e->m_avgBitRate));
        line(Format("Avg Framerate = %u", e->m_avgFrameRate));
    }
    return out;
}

EntryList SgpdEntries(const CSampleGroupDescBox& b) {
    return {{"Description length", "Description Entry"}, Stored(b.GetEntryCount(), b.m_records), [&b](uint32_t i, std::vector<EntryCell>& c) {
                c = {CellU(b.GetDescriptionLength(i)), EntryCell{SgpdDescription(b, i), true}};
            }, RecordOf(b.m_records)};
}

// An entry without sub-sample records shows 0 in the sub-sample cells.
EntryList SubsEntries(const CSubSampleInfoBox& b) {
    return {{"Sample delta", "Subsample count", "Subsample size", "Subsample priority", "Discardable", "Reserved"},
            Stored(b.GetEntryCount(), b.m_entries),
            [&b](uint32_t i, std::vector<EntryCell>& c) {
                const CSubSampleInfoBox::Subsample s = b.GetSubsample(i, 0);
                c = {CellU(b.GetSampleDelta(i)), CellU(b.GetSubsampleCount(i)), CellU(s.size),
                     CellU(s.priority),          CellU(s.discardable),          CellU(s.reserved)};
            },
            [&b](uint32_t i) {
                std::vector<Source> records;
                if (i < b.m_entries.size()) records.emplace_back(b.m_entries[i]);
                if (i < b.m_entries.size() && b.m_entries[i].storedSubsamples)
                    records.emplace_back(b.m_subsamples[b.m_entries[i].firstSubsample]);
                return records;
            }};
}

constexpr auto kStco = RowsOf<CChunkOffsetBox, StcoRows>;
constexpr auto kStcoEntries = EntriesOf<CChunkOffsetBox, StcoEntries>;

constexpr BoxEntry kEntries[] = {
    {FourCC("stts"), "Decoding Time to Sample Box", nullptr, RowsOf<CTimeToSampleBox, SttsRows>,
     EntriesOf<CTimeToSampleBox, SttsEntries>},
    {FourCC("ctts"), "Composition Time to Sample Box", nullptr, RowsOf<CCompositionOffsetBox, CttsRows>,
     EntriesOf<CCompositionOffsetBox, CttsEntries>},
    {FourCC("stsc"), "Sample To Chunk Box", nullptr, RowsOf<CSampleToChunkbox, StscRows>,
     EntriesOf<CSampleToChunkbox, StscEntries>},
    {FourCC("stsz"), "Sample Size Boxes", nullptr, RowsOf<CSampleSizeBox, StszRows>,
     EntriesOf<CSampleSizeBox, StszEntries>},
    {FourCC("stz2"), "Compact Sample Size Box", nullptr, RowsOf<CCompactSampleSizeBox, Stz2Rows>,
     EntriesOf<CCompactSampleSizeBox, Stz2Entries>},
    {FourCC("stco"), "Chunk Offset Box", nullptr, kStco, kStcoEntries},
    {FourCC("co64"), "Chunk Offset Box", nullptr, kStco, kStcoEntries},
    {FourCC("stss"), "Sync Sample Box", nullptr, RowsOf<CSyncSampleBox, StssRows>,
     EntriesOf<CSyncSampleBox, StssEntries>},
    {FourCC("stsh"), "Shadow Sync Sample Box", nullptr, RowsOf<CShadowSyncSampleBox, StshRows>,
     EntriesOf<CShadowSyncSampleBox, StshEntries>},
    {FourCC("padb"), "Padding Bits Box", nullptr, RowsOf<CPaddingBitsBox, PadbRows>,
     EntriesOf<CPaddingBitsBox, PadbEntries>},
    {FourCC("stdp"), "Degradation Priority Box", nullptr, RowsOf<CDegradationPriorityBox, StdpRows>,
     EntriesOf<CDegradationPriorityBox, StdpEntries>},
    {FourCC("sdtp"), "Independent and Disposable Samples Box", nullptr, RowsOf<CSampleDependencyTypeBox, SdtpRows>,
     EntriesOf<CSampleDependencyTypeBox, SdtpEntries>},
    {FourCC("cslg"), "Composition to Decode Box", nullptr, RowsOf<CCompositionToDecodeBox, CslgRows>},
    {FourCC("sbgp"), "Sample to Group Box", nullptr, RowsOf<CSampletoGroupBox, SbgpRows>,
     EntriesOf<CSampletoGroupBox, SbgpEntries>},
    {FourCC("sgpd"), "Sample Group Description Box", nullptr, RowsOf<CSampleGroupDescBox, SgpdRows>,
     EntriesOf<CSampleGroupDescBox, SgpdEntries>},
    {FourCC("subs"), "Sub-Sample Information Box", nullptr, RowsOf<CSubSampleInfoBox, SubsRows>,
     EntriesOf<CSubSampleInfoBox, SubsEntries>},
    {FourCC("saiz"), "Sample Auxiliary Information Sizes Box", nullptr, RowsOf<CSaizBox, SaizRows>},
    {FourCC("saio"), "Sample Auxiliary Information Offsets Box", nullptr, RowsOf<CSaioBox, SaioRows>},
    {FourCC("sdep"), "Sample Dependency Box", nullptr, RowsOf<CSampleDependencyBox, SdepRows>},
};
}  // namespace

std::span<const BoxEntry> SampleTableEntries() { return kEntries; }
