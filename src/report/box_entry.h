#pragma once
#include <concepts>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "report/format.h"
#include "report/page_model.h"

class CCorvel;
class SampleContext;
class SpanMap;

// What a box's page may look at besides the box.
struct PageContext {
    const CBox* parent = nullptr;            // the box of the parent tree item, or null
    const CCorvel* parser = nullptr;         // the parse run (top-level boxes), or null
    const SampleContext* samples = nullptr;  // the file's facts for the mdat page, or null
    const SpanMap* spans = nullptr;          // where the box's fields lie, or null (no spans)
    // The moof that goes with an mdat, when the parse run hands its boxes on instead of
    // keeping them; null otherwise (the parse run finds it).
    const CBox* fragment = nullptr;
    // Which rows the tables keep (a table's length may come from the file).
    RowWindow window = {};
    // The top-level box the page's box lies in, when the parse run hands its boxes on;
    // null otherwise (the parse run finds it).
    const CBox* topLevel = nullptr;
};

// A field a row shows: its address in the box (or in one of its records) and size.
// The row's span is where the parse read it.
struct Source {
    const void* address;
    size_t size;
    template <class T>
    Source(const T& field) : address(&field), size(sizeof(T)) {}
    Source(const void* at, size_t bytes) : address(at), size(bytes) {}
};

// Record i of a table left in the box's bytes.
template <class View>
Source RecordSource(const View& table, size_t i) {
    return {table.Address(i), table.RecordBytes()};
}

// Builds the tables of one page. Each row takes the field(s) it shows, so it knows
// where they lie in the file without code of its own.
class PageBuilder {
public:
    PageBuilder(PageModel& page, const PageContext& context) : m_page(page), m_context(context) {}
    const PageContext& Context() const { return m_context; }

    // A new key/value table; rows go into the last table.
    PageBuilder& Table(std::string title = "Detailed-Information");
    // A row showing the field(s) it names, as `value` says them.
    void Row(std::string label, Text value, std::initializer_list<Source> fields);
    // A row whose value is computed from the fields (a date, a count, a sum).
    void Derived(std::string label, Text value, std::initializer_list<Source> fields);
    // A row whose span is known without a parse (the header fields).
    void RowAt(std::string label, Text value, Span span, bool derived = false);
    // Rows in the shared formats: "%u (0X%08X)", "%u (0X%02X)", "%u (0X%04X)",
    // "%I64u (0X%08X)", "%d (0X%08X)".
    void U32(std::string label, const uint32_t& field) { Row(std::move(label), U32Text(field), {field}); }
    void U32x2(std::string label, const uint32_t& field) { Row(std::move(label), U32Text2(field), {field}); }
    void U32x4(std::string label, const uint32_t& field) { Row(std::move(label), U32Text4(field), {field}); }
    void U64(std::string label, const uint64_t& field) { Row(std::move(label), U64Text(field), {field}); }
    void I32(std::string label, const int32_t& field);
    // A four-character code: "roll (0X726F6C6C)".
    void Code(std::string label, const uint32_t& field) { Row(std::move(label), CodeText(field), {field}); }

    // A list table of the given columns; its rows follow with ListEntry.
    PageBuilder& List(std::string title, std::initializer_list<const char*> headers);
    // A row of the last list table, for the record `entry` of the box.
    void ListEntry(std::vector<Text> cells, std::initializer_list<Source> entry);
    // The same with the cells made by `cells()` only when the page holds the row: a
    // list of a million entries costs its formatting only for the rows shown.
    template <class Cells>
        requires std::invocable<Cells>
    void ListEntry(Cells&& cells, std::initializer_list<Source> entry) {
        ListEntryAt(std::forward<Cells>(cells), SpanOf(entry));
    }
    // A row of the last list table whose span is known without a parse.
    template <class Cells>
        requires std::invocable<Cells>
    void ListEntryAt(Cells&& cells, Span span) {
        if (ReportTable& t = Last(TableKind::List); KeepsNextRow(t, span)) t.listRows.push_back({cells(), span});
    }
    // The select list of sub pages of 200 entries; `entries` is the box's table.
    void EntryPages(std::string title, uint32_t count, std::initializer_list<Source> entries = {});
    // A table as it stands (the mdat page's select lists).
    void Add(ReportTable table) { m_page.tables.push_back(std::move(table)); }

    Span SpanOf(std::initializer_list<Source> fields) const;

private:
    ReportTable& Last(TableKind kind);
    // Counts the next row of `table` (the page's last) and its span; true when the page
    // keeps the row.
    bool KeepsNextRow(ReportTable& table, const Span& span);
    PageModel& m_page;
    const PageContext& m_context;
};

// The entries of a box's entry sub pages: the column names after "No.", the number of
// entries, and the cells of entry i (from 0), each a number (or, for a cell of
// several lines, the lines).
struct EntryCell {
    std::string text;
    bool lines = false;  // text holds lines separated by '\n'
};
struct EntryList {
    std::vector<const char*> columns;
    uint64_t count = 0;
    std::function<void(uint32_t i, std::vector<EntryCell>& cells)> cells;
    // The record(s) entry i shows, for its span; none when the box holds no record for it.
    std::function<std::vector<Source>(uint32_t i)> records;
};
EntryCell CellU(uint64_t v);  // "%u" and "%I64u" alike
EntryCell CellD(int32_t v);   // "%d"

// One entry per box type, found by its four-character code: its page title (or the
// rule that picks it by the parent, the handler type or the user type), its own
// tables and, for a box with entry sub pages, its entry list. A type without an entry
// has no case of its own (see BoxPageTitle).
struct BoxEntry {
    uint32_t type;
    const char* title;                                           // null: `titleRule` decides
    std::string (*titleRule)(const CBox* parent, const CBox& box) = nullptr;
    void (*rows)(PageBuilder& page, const CBox& box) = nullptr;  // null: the common header table only
    EntryList (*entries)(const CBox& box) = nullptr;             // null: no entry sub pages
};
const BoxEntry* FindBoxEntry(uint32_t type);

// Entries are written for their class: a box whose class does not match its type (a
// header-only placeholder) gets no rows.
template <class T, void (*F)(PageBuilder&, const T&)>
void RowsOf(PageBuilder& page, const CBox& box) {
    if (auto* b = dynamic_cast<const T*>(&box)) F(page, *b);
}
template <class T, EntryList (*F)(const T&)>
EntryList EntriesOf(const CBox& box) {
    auto* b = dynamic_cast<const T*>(&box);
    return b ? F(*b) : EntryList{};
}

// The entries of each box group (report/boxes/<group>.cpp).
std::span<const BoxEntry> ContainerEntries();
std::span<const BoxEntry> PresentationEntries();
std::span<const BoxEntry> SampleTableEntries();
std::span<const BoxEntry> SampleEntryEntries();
// The rows of a sample entry by its class: for a type without an entry of its own, and
// for rtp , whose entry also serves the hint information box of that code.
void SampleEntryRows(PageBuilder& page, const CBox& entry);
// The track ids of a track reference type box (a child of tref), whatever its code.
void TrackReferenceRows(PageBuilder& page, const CBox& box);
std::span<const BoxEntry> DescriptorEntries();
std::span<const BoxEntry> FragmentEntries();
std::span<const BoxEntry> StreamingEntries();
std::span<const BoxEntry> MetadataEntries();
std::span<const BoxEntry> VideoCodecEntries();
std::span<const BoxEntry> ProtectionEntries();
std::span<const BoxEntry> AudioCodecEntries();
std::span<const BoxEntry> ItemEntries();
// The rows of a child of iref (the item references of one type) and of grpl (an
// entity group), whatever its code.
void ItemReferenceRows(PageBuilder& page, const CBox& box);
void EntityGroupRows(PageBuilder& page, const CBox& box);
// The rows of a QuickTime user data text (its code varies: ©nam, ©enc, ...); none for
// a box of another class.
void UserDataTextRows(PageBuilder& page, const CBox& box);
// The PIFF protection uuid boxes, wherever they stand: their title ("" for another user
// type) and their rows (false when the box is none of them).
std::string ProtectionUuidTitle(const CBox& box);
bool ProtectionUuidRows(PageBuilder& page, const CBox& box);
EntryList ProtectionUuidEntries(const CBox& box);
