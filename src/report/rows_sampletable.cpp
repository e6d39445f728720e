// The own tables of the sample table boxes and the sample grouping boxes: their
// counts, and the select lists of the sub pages that show their entries.
#include <algorithm>

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
#include "report/box_rows.h"
#include "report/format.h"

namespace {
// Lines of a list that stand for samples without stored values ("0" each) are capped,
// so a hostile sample count cannot make a page of billions of lines.
constexpr uint64_t kMaxUnstoredLines = 200000;

using Rows = std::initializer_list<std::pair<const char*, uint32_t>>;

// The "Detailed-Information" table, every value "%u (0X%08X)".
void AddCounts(PageModel& page, Rows rows) {
    ReportTable t;
    for (const auto& [label, value] : rows) t.AddRow(label, Text(U32Text(value)));
    page.tables.push_back(std::move(t));
}

// The select list of the sub pages of 200 entries.
void AddEntryPages(PageModel& page, const char* title, uint32_t entries) {
    ReportTable t(title, TableKind::EntryPages);
    t.entryCount = entries;
    page.tables.push_back(std::move(t));
}

// Counts, then the "Entries" (or "Samples") select list.
bool CountsAndPages(PageModel& page, Rows rows, uint32_t entries, const char* list = "Entries") {
    AddCounts(page, rows);
    AddEntryPages(page, list, entries);
    return true;
}

bool CompositionToDecodeRows(PageModel& page, const CCompositionToDecodeBox& b) {
    ReportTable t;
    auto add = [&t](const char* label, int32_t v) {
        t.AddRow(label, Text(Format("%d (0X%08X)", v, static_cast<uint32_t>(v))));
    };
    add("Composition to DTS shift", b.m_compositionToDTSShift);
    add("Least decode to display delta", b.m_leastDecodeToDisplayDelta);
    add("Greatest decode to display delta", b.m_greatestDecodeToDisplayDelta);
    add("Composition start time", b.m_compositionStartTime);
    add("Composition end time", b.m_compositionEndTime);
    page.tables.push_back(std::move(t));
    return true;
}

bool SaizRows(PageModel& page, const CSaizBox& b) {
    AddCounts(page, {{"Aux info type", b.m_auxInfoType},
                     {"Aux info type param", b.m_auxInfoTypeParameter},
                     {"Default sample info size", b.m_defaultSampleInfoSize},
                     {"Sample count", b.GetSampleCount()}});
    // One line per sample; 0 where no size is stored (a default size).
    const uint64_t lines = std::min<uint64_t>(b.GetSampleCount(), std::max<uint64_t>(b.GetStoredEntryCount(), kMaxUnstoredLines));
    std::vector<Text> sizes;
    sizes.reserve(lines);
    for (uint64_t i = 0; i < lines; ++i) sizes.emplace_back(U32Text(b.GetSampleInfoSize(static_cast<uint32_t>(i))));
    ReportTable list("Samples", TableKind::List);
    list.AddColumn("Sample info size", std::move(sizes));
    page.tables.push_back(std::move(list));
    return true;
}

bool SaioRows(PageModel& page, const CSaioBox& b) {
    AddCounts(page, {{"Aux info", b.m_auxInfoType},
                     {"Aux info type param", b.m_auxInfoTypeParameter},
                     {"Entry count", b.GetEntryCount()}});
    std::vector<Text> offsets;
    offsets.reserve(b.GetStoredEntryCount());
    for (uint32_t i = 0; i < b.GetStoredEntryCount(); ++i)
        offsets.emplace_back(U32Text(static_cast<uint32_t>(b.GetOffset(i))));
    ReportTable list("Entries", TableKind::List);
    list.AddColumn("Entry", std::move(offsets));
    page.tables.push_back(std::move(list));
    return true;
}

bool SdepRows(PageModel& page, const CSampleDependencyBox& b) {
    ReportTable t;
    t.AddRow("Sample count", Text(U32Text(b.GetSampleCount())));
    // One pair of rows per stored sample: a successful parse stores every sample.
    for (uint32_t i = 0; i < b.GetStoredEntryCount(); ++i) {
        const uint32_t n = b.GetDependencyCount(i);
        t.AddRow("Dependency count", Text(U32Text(n)));
        std::string numbers;
        for (uint32_t j = 0; j < n; ++j) {
            const int32_t number = b.GetDependencySampleNumber(i, j);
            if (number < 0) break;  // the payload ended inside this sample's list
            numbers += Format(j + 1 < n ? "%u, " : "%u", static_cast<uint32_t>(number));
        }
        t.AddRow("Dependency sample number", Text(numbers));
    }
    page.tables.push_back(std::move(t));
    return true;
}
}  // namespace

bool AddSampleTableRows(PageModel& page, const CBox& box, const RowContext&) {
    if (auto* b = dynamic_cast<const CTimeToSampleBox*>(&box))
        return CountsAndPages(page, {{"Entry count", b->GetEntryCount()}}, b->GetEntryCount());
    if (auto* b = dynamic_cast<const CCompositionOffsetBox*>(&box))
        return CountsAndPages(page, {{"Entry count", b->GetEntryCount()}}, b->GetEntryCount());
    if (auto* b = dynamic_cast<const CSampleToChunkbox*>(&box))
        return CountsAndPages(page, {{"Entry count", b->GetEntryCount()}}, b->GetEntryCount());
    if (auto* b = dynamic_cast<const CSampleSizeBox*>(&box))
        return CountsAndPages(page, {{"Sample size", b->GetSampleSize()}, {"Sample count", b->GetSampleCount()}},
                              b->GetSampleCount());
    if (auto* b = dynamic_cast<const CCompactSampleSizeBox*>(&box))
        return CountsAndPages(
            page, {{"Reserved", b->m_reserved}, {"Field size", b->GetFieldSize()}, {"Sample count", b->GetSampleCount()}},
            b->GetSampleCount());
    if (auto* b = dynamic_cast<const CChunkOffsetBox*>(&box))
        return CountsAndPages(page, {{"Entry count", b->GetEntryCount()}}, b->GetEntryCount());
    if (auto* b = dynamic_cast<const CSyncSampleBox*>(&box))
        return CountsAndPages(page, {{"Entry count", b->GetEntryCount()}}, b->GetEntryCount());
    if (auto* b = dynamic_cast<const CShadowSyncSampleBox*>(&box))
        return CountsAndPages(page, {{"Entry count", b->GetEntryCount()}}, b->GetEntryCount());
    if (auto* b = dynamic_cast<const CPaddingBitsBox*>(&box))
        return CountsAndPages(page, {{"Sample count", b->GetSampleCount()}}, b->GetSampleCount(), "Samples");
    if (auto* b = dynamic_cast<const CDegradationPriorityBox*>(&box))
        return CountsAndPages(page, {{"Sample count", b->GetSampleCount()}}, b->GetSampleCount(), "Samples");
    if (auto* b = dynamic_cast<const CSampleDependencyTypeBox*>(&box)) {
        const auto stored = static_cast<uint32_t>(b->GetStoredEntryCount());
        return CountsAndPages(page, {{"Entry count", stored}}, stored);
    }
    if (auto* b = dynamic_cast<const CCompositionToDecodeBox*>(&box)) return CompositionToDecodeRows(page, *b);
    if (auto* b = dynamic_cast<const CSampletoGroupBox*>(&box))
        return CountsAndPages(page,
                              {{"Grouping type", b->m_groupingType},
                               {"Grouping type parameter set", b->m_groupingTypeParameter},
                               {"Entry count", b->GetEntryCount()}},
                              b->GetEntryCount());
    if (auto* b = dynamic_cast<const CSampleGroupDescBox*>(&box))
        return CountsAndPages(
            page,
            {{"Grouping type", b->m_groupingType}, {"Default length", b->m_defaultLength}, {"Entry count", b->GetEntryCount()}},
            b->GetEntryCount());
    if (auto* b = dynamic_cast<const CSubSampleInfoBox*>(&box))
        return CountsAndPages(page, {{"Entry count", b->GetEntryCount()}}, b->GetEntryCount());
    if (auto* b = dynamic_cast<const CSaizBox*>(&box)) return SaizRows(page, *b);
    if (auto* b = dynamic_cast<const CSaioBox*>(&box)) return SaioRows(page, *b);
    if (auto* b = dynamic_cast<const CSampleDependencyBox*>(&box)) return SdepRows(page, *b);
    return false;
}
