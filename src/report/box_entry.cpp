#include "report/box_entry.h"

#include <algorithm>
#include <cinttypes>

#include "base/span_map.h"

PageBuilder& PageBuilder::Table(std::string title) {
    m_page.tables.emplace_back(std::move(title));
    return *this;
}

ReportTable& PageBuilder::Last(TableKind kind) {
    if (m_page.tables.empty() || m_page.tables.back().kind != kind) m_page.tables.emplace_back("", kind);
    return m_page.tables.back();
}

Span PageBuilder::SpanOf(std::initializer_list<Source> fields) const {
    Span span;
    if (!m_context.spans) return span;
    for (const Source& f : fields) span = span.Union(m_context.spans->Lookup(f.address, f.size));
    return span;
}

bool PageBuilder::KeepsNextRow(ReportTable& table, const Span& span) {
    const uint64_t index = table.rowCount++;
    table.entriesSpan = table.entriesSpan.Union(span);
    const RowWindow& window = m_context.window;
    switch (window.mode) {
        case RowWindow::AllRows:
            return true;
        case RowWindow::SubPage: {
            const uint64_t first = window.page * kRowsPerSubPage;
            const bool shown = size_t(&table - m_page.tables.data()) == window.table;
            if (!shown || index < first || index - first >= kRowsPerSubPage) return false;
            if (index == first) table.firstRow = first;
            return true;
        }
        case RowWindow::BoxPage:
            // One row more than a sub page holds: the table is paged, its page shows none.
            if (index == kRowsPerSubPage) {
                table.rows = {};
                table.listRows = {};
            }
            return index < kRowsPerSubPage;
    }
    return false;
}

void PageBuilder::RowAt(std::string label, Text value, Span span, bool derived) {
    if (ReportTable& t = Last(TableKind::KeyValue); KeepsNextRow(t, span))
        t.rows.push_back({std::move(label), std::move(value), span, derived});
}

void PageBuilder::Row(std::string label, Text value, std::initializer_list<Source> fields) {
    RowAt(std::move(label), std::move(value), SpanOf(fields));
}

void PageBuilder::Derived(std::string label, Text value, std::initializer_list<Source> fields) {
    RowAt(std::move(label), std::move(value), SpanOf(fields), true);
}

void PageBuilder::I32(std::string label, const int32_t& field) {
    Row(std::move(label), I32Text(field), {field});
}

PageBuilder& PageBuilder::List(std::string title, std::initializer_list<const char*> headers) {
    ReportTable& t = m_page.tables.emplace_back(std::move(title), TableKind::List);
    t.headers.assign(headers.begin(), headers.end());
    return *this;
}

void PageBuilder::ListEntry(std::vector<Text> cells, std::initializer_list<Source> entry) {
    ListEntry([&] { return std::move(cells); }, entry);
}

void PageBuilder::EntryPages(std::string title, uint32_t count, std::initializer_list<Source> entries) {
    ReportTable& t = m_page.tables.emplace_back(std::move(title), TableKind::EntryPages);
    t.entryCount = count;
    t.entriesSpan = SpanOf(entries);
}

EntryCell CellU(uint64_t v) { return {Decimal(v)}; }
EntryCell CellD(int32_t v) { return {Decimal(int64_t{v})}; }

const BoxEntry* FindBoxEntry(uint32_t type) {
    // One sorted table of every group's entries, made at first use.
    static const std::vector<const BoxEntry*> all = [] {
        std::vector<const BoxEntry*> v;
        for (auto group : {ContainerEntries(), PresentationEntries(), SampleTableEntries(), SampleEntryEntries(),
                           DescriptorEntries(), FragmentEntries(), StreamingEntries(), MetadataEntries(),
                           VideoCodecEntries(), ProtectionEntries(), AudioCodecEntries(), ItemEntries()})
            for (const BoxEntry& e : group) v.push_back(&e);
        std::stable_sort(v.begin(), v.end(), [](const BoxEntry* a, const BoxEntry* b) { return a->type < b->type; });
        return v;
    }();
    auto it = std::lower_bound(all.begin(), all.end(), type, [](const BoxEntry* e, uint32_t t) { return e->type < t; });
    return it != all.end() && (*it)->type == type ? *it : nullptr;
}
