#include "report/sub_pages.h"

#include <cinttypes>

#include "boxes/box.h"
#include "boxes/containers/media_data_box.h"
#include "report/box_entry.h"
#include "report/flv_tag_page.h"
#include "report/format.h"
#include "report/markup.h"
#include "report/page_html.h"
#include "samples/fragment_samples.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "samples/sample_context.h"
#include "samples/sample_encryption.h"
#include "samples/sample_lookup.h"
#include "samples/track_samples.h"

namespace {
// A value cell: unsigned ("%u" and "%I64u" print alike).
std::string ValueCell(uint64_t v) { return Format("<td align = \"left\" bgcolor = white>%" PRIu64 "</td>\r\n", v); }

// After the "..." button of a sample that the file (of `fileSize` bytes, 0: not
// known) ends inside: how much of it is there.
std::string CutMark(const SampleRecord& s, uint64_t fileSize) {
    if (!fileSize || s.offset + s.size <= fileSize) return "";
    if (s.offset >= fileSize) return "&nbsp;(past the end of the file)";
    return Format("&nbsp;(%" PRIu64 " of %" PRIu64 " bytes in the file)", fileSize - s.offset, s.size);
}

EntryList EntriesOfBox(const CBox& box) {
    const BoxEntry* entry = FindBoxEntry(box.m_type);
    return entry && entry->entries ? entry->entries(box) : EntryList{};
}

// A cell of several lines: each line closed by a line break.
std::string LinesCell(const std::string& lines) {
    std::string out = "<td align = \"left\" bgcolor = white>\r\n";
    size_t start = 0;
    for (size_t end; (end = lines.find('\n', start)) != std::string::npos; start = end + 1)
        out += HtmlEscape(std::string_view(lines).substr(start, end - start)) + "</br>\r\n";
    return out + "</td>\r\n";
}
// A protected track's samples first..end-1 of a traf or stbl: after the samples table, a
// table of each sample's IV and subsamples (clear, protected bytes).
std::string EncryptionTable(const CBox& container, uint32_t trackId, uint64_t first, uint64_t end,
                            const SampleContext* context, const std::string& iconPath, const CBox* moof = nullptr) {
    const TrackProtection* track = context ? context->Protection(trackId) : nullptr;
    if (!track || first >= end) return "";
    const ContainerEncryption encryption(container, *track, context->Parser(), AuxInfoBase(container, moof));
    std::string out = kSpacer;
    out += kTableOpen;
    out += SubTitleRow(3, iconPath, "Sample Encryption");
    out += "<tr>\r\n";
    for (const char* name : {"No.", "IV", "Subsamples (clear, protected bytes)"})
        out += Format("<td align = \"left\" bgcolor = #f7f7f7  width = 33%%>%s</td>\r\n", name);
    out += "</tr>\r\n";
    for (uint64_t i = first; i < end; ++i) {
        const SampleEncryption e = encryption.Of(i);
        std::string pairs;
        for (const auto& [clear, prot] : e.subsamples) pairs += Format("%u, %u\n", clear, prot);
        out += "<tr>\r\n" + ValueCell(i + 1);
        out += "<td align = \"left\" bgcolor = white>" +
               HtmlEscape(!e.isProtected ? "not protected" : e.missing ? e.missing : IvText(e)) + "</td>\r\n";
        out += LinesCell(pairs) + "</tr>\r\n";
    }
    return out + "</table>\r\n";
}

// A timecode track's samples first..end-1: after the samples table, the timecode each holds.
std::string TimecodeTable(const CBox& stbl, const TrackSamples& samples, uint64_t first, uint64_t end,
                          const SampleContext* context, const std::string& iconPath) {
    const CTimecodeSampleEntry* entry = TimecodeEntryOf(stbl);
    if (!entry || !context || !context->Parser() || first >= end) return "";
    std::string out = kSpacer;
    out += kTableOpen;
    out += SubTitleRow(2, iconPath, "Timecode");
    out += "<tr>\r\n";
    for (const char* name : {"No.", "Timecode"})
        out += Format("<td align = \"left\" bgcolor = #f7f7f7  width = 50%%>%s</td>\r\n", name);
    out += "</tr>\r\n";
    TrackSamples::Cursor cursor = samples.From(first);
    for (uint64_t i = first; i < end; ++i)
        out += "<tr>\r\n" + ValueCell(i + 1) + "<td align = \"left\" bgcolor = white>" +
               HtmlEscape(SampleTimecode(*context->Parser(), *entry, cursor.Next())) + "</td>\r\n</tr>\r\n";
    return out + "</table>\r\n";
}

uint32_t TrackIdOfTable(const CBox& stbl, const SampleContext* context) {
    if (context)
        for (const auto& table : context->TrackTables())
            if (table.id == stbl.m_id) return table.trackId;
    return 0;
}
}  // namespace

bool HasEntriesSubPages(const CBox& box) { return !EntriesOfBox(box).columns.empty(); }

uint64_t SubPageCount(const CBox& box, const SampleContext* context) {
    const auto pages = [](uint64_t rows) { return (rows + kRowsPerSubPage - 1) / kRowsPerSubPage; };
    if (box.m_type == FourCC("stbl")) return pages(TrackSampleCount(box, context ? context->FileSize() : 0));
    if (box.m_type == FourCC("traf")) return pages(FragmentSampleCount(box, context));
    if (auto* mdat = dynamic_cast<const CMediaDataBox*>(&box)) return mdat->GetTagCount();
    return HasEntriesSubPages(box) ? pages(EntriesOfBox(box).count) : 0;
}

Span EntrySpan(const CBox& box, uint64_t index, const SpanMap& spans) {
    const EntryList list = EntriesOfBox(box);
    Span span;
    if (!list.records || index >= list.count || index > UINT32_MAX) return span;
    for (const Source& s : list.records(static_cast<uint32_t>(index))) span = span.Union(spans.Lookup(s.address, s.size));
    return span;
}

void WriteEntriesSubPage(ReportPage& page, const CBox& box, const std::string& path, uint32_t k) {
    const EntryList list = EntriesOfBox(box);
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
    const uint64_t first = uint64_t(k) * kRowsPerSubPage, end = std::min(first + kRowsPerSubPage, list.count);
    std::vector<EntryCell> cells;
    for (uint64_t e = first; e < end; ++e) {
        out += "<tr>\r\n";
        out += Format("<td align = \"left\" bgcolor = white>%u</td>\r\n", static_cast<uint32_t>(e + 1));
        list.cells(static_cast<uint32_t>(e), cells);
        for (const EntryCell& cell : cells)
            out += cell.lines ? LinesCell(cell.text)
                              : "<td align = \"left\" bgcolor = white>" + cell.text + "</td>\r\n";
        out += "</tr>\r\n";
    }
    out += kSubPageFoot;
    WriteFile(page, path, out);
}

void WriteTrackSamplesSubPage(ReportPage& page, const CBox& stbl, const std::string& path, uint32_t k,
                              const SampleContext* context) {
    const uint64_t fileSize = context ? context->FileSize() : 0;
    std::string out = SubPageHead(true);
    out += kTableOpen;
    out += SubTitleRow(7, page.IconPath(), "Samples");
    out += "<tr>\r\n";
    for (const char* name : {"No.", "Sample delta", "Size", "Chunck num", "Chunck offset", "i-Frame", "Sample offset"})
        out += Format("<td align = \"left\" bgcolor = #f7f7f7  width = 16%%>%s</td>\r\n", name);
    out += "</tr>\r\n";
    const TrackSamples samples(stbl, fileSize);
    const uint64_t first = uint64_t(k) * kRowsPerSubPage, end = std::min(first + kRowsPerSubPage, samples.Count());
    TrackSamples::Cursor cursor = samples.From(first);
    for (uint64_t i = first; i < end; ++i) {
        const SampleRecord s = cursor.Next();
        const char* sync = s.sync == SampleRecord::Sync::Unmarked ? "-" : s.sync == SampleRecord::Sync::Yes ? "O" : "X";
        out += "<tr>\r\n";
        out += Format("<td align = \"left\" bgcolor = white>%u</td>\r\n", static_cast<uint32_t>(i + 1));
        out += ValueCell(s.duration) + ValueCell(s.size) + ValueCell(s.chunkNumber) + ValueCell(s.chunkOffset);
        out += Format("<td align = \"left\" bgcolor = white>%s</td>\r\n", sync);
        out += Format("<td align = \"left\" bgcolor = white>%" PRIu64
                      "&nbsp;&nbsp;<BUTTON STYLE=\"WIDTH:20\" onClick = \"parent.fncOnClick(%" PRIu64 ", %" PRIu64
                      ")\">...</BUTTON>",
                      s.offset, s.size, s.offset);
        out += CutMark(s, fileSize) + "</td>\r\n";
        out += "</tr>\r\n";
    }
    const std::string after = EncryptionTable(stbl, TrackIdOfTable(stbl, context), first, end, context,
                                              page.IconPath()) +
                              TimecodeTable(stbl, samples, first, end, context, page.IconPath());
    if (!after.empty()) out += "</table>\r\n" + after;
    out += kSubPageFoot;
    WriteFile(page, path, out);
}

void WriteFragmentSamplesSubPage(ReportPage& page, const CBox& traf, const std::string& path, uint32_t k,
                                 const CBox* moof, const CBox* mdat, const SampleContext* context) {
    std::string out = SubPageHead(false);
    out += kTableOpen;
    out += SubTitleRow(6, page.IconPath(), "Samples");
    out += "<tr>";
    for (const char* name : {"No.", "Duration", "Size", "Flags", "Composition time offset", "Trun offset"})
        out += Format("<td align = \"left\" bgcolor = #f7f7f7  width = 16%%>%s</td>", name);
    out += "</tr>";
    const FragmentSamples samples(traf, moof, mdat, context);
    const uint64_t first = uint64_t(k) * kRowsPerSubPage, end = std::min(first + kRowsPerSubPage, samples.Count());
    for (FragmentSamples::Cursor cursor = samples.From(first); !cursor.Done();) {
        const SampleRecord s = cursor.Next();
        if (s.index >= end) break;
        out += "<tr>";
        out += Format("<td align = \"left\" bgcolor = white>%u</td>", static_cast<uint32_t>(s.index + 1));
        out += Format("<td align = \"left\" bgcolor = white>%u</td>", static_cast<uint32_t>(s.duration));
        out += Format("<td align = \"left\" bgcolor = white>%u</td>", static_cast<uint32_t>(s.size));
        out += Format("<td align = \"left\" bgcolor = white>%u</td>", s.flags);
        out += Format("<td align = \"left\" bgcolor = white>%d</td>", static_cast<int32_t>(s.compositionOffset));
        out += Format("<td align = \"left\" bgcolor = white>%" PRIu64
                      "&nbsp;&nbsp;<BUTTON STYLE=\"WIDTH:20\" onClick = \"parent.fncOnClick(%u, %" PRIu64
                      ")\">...</BUTTON>",
                      s.offset, static_cast<uint32_t>(s.size), s.offset);
        out += CutMark(s, context ? context->FileSize() : 0) + "</td>";
        out += "</tr>";
    }
    out += "</table>";
    const auto* tfhd = dynamic_cast<const CTrackFragmentHeaderBox*>(traf.RetrieveChildBox(FourCC("tfhd"), true));
    out += EncryptionTable(traf, tfhd ? tfhd->m_trackId : 0, first, end, context, page.IconPath(), moof);
    out += kSubPageFoot;
    WriteFile(page, path, out);
}

void WriteFlvTagSubPage(ReportPage& page, const CMediaDataBox& mdat, const std::string& path, uint32_t k) {
    std::string out = SubPageHead(true);
    for (const ReportTable& table : BuildFlvTagPage(mdat, k, nullptr).tables)
        out += TableHtml(table, page.IconPath(), page.SubPagePrefix(), nullptr);
    out += kSubPageFoot;
    WriteFile(page, path, out);
}

std::vector<size_t> PagedTables(const PageModel& model) {
    std::vector<size_t> paged;
    for (size_t i = 0; i < model.tables.size(); ++i)
        if (model.tables[i].Paged()) paged.push_back(i);
    return paged;
}

namespace {
uint64_t PagesOf(const ReportTable& table) { return (table.rowCount + kRowsPerSubPage - 1) / kRowsPerSubPage; }
}  // namespace

uint64_t TablePageCount(const PageModel& model) {
    uint64_t pages = 0;
    for (size_t t : PagedTables(model)) pages += PagesOf(model.tables[t]);
    return pages;
}

std::optional<TablePage> TablePageAt(const PageModel& model, uint64_t k) {
    for (size_t t : PagedTables(model)) {
        if (k < PagesOf(model.tables[t])) return TablePage{t, k};
        k -= PagesOf(model.tables[t]);
    }
    return std::nullopt;
}

void WriteTableRowsSubPage(ReportPage& page, const PageModel& rows, size_t table, const std::string& path) {
    std::string out = SubPageHead(false);
    if (table < rows.tables.size())
        out += TableHtml(rows.tables[table], page.IconPath(), page.SubPagePrefix(), rows.box);
    out += kSubPageFoot;
    WriteFile(page, path, out);
}
