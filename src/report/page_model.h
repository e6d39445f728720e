#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/span.h"
#include "report/text.h"

class CBox;

// A box page as data: the report entries build it, the HTML renderer writes it as the
// page file, the JSON renderer writes it for `corvel json`. It holds what the page
// says, not how it looks.
enum class TableKind {
    KeyValue = 0,     // label/value rows
    EntryPages = 1,   // a select list of sub pages of 200 entries (the entries are not on the page)
    List = 2,         // headers and rows of cells
    SampleLists = 3,  // the mdat page's select lists: the samples of each track or track fragment
    FlvTags = 4,      // the mdat page's select list of its FLV tags (entryCount of them)
};

// A run of bytes of the file.
struct ByteRange {
    uint64_t offset = 0, length = 0;
    uint64_t End() const { return offset + length; }
};

// The title of the list of a page's undecoded bytes, and the label of the common row
// that tells how much of a cut box is there (it explains nothing).
inline constexpr const char* kUndecodedTitle = "Undecoded bytes";
inline constexpr const char* kBytesPresentLabel = "Bytes present";

// A key/value row and where its value lies in the file.
struct Row {
    std::string label;
    Text value;
    Span span;
    // The value is computed from the field(s) at `span` (a date, a sum, a count of
    // entries), not their number as it stands.
    bool derived = false;
};

// A row of a list table and where its entry lies in the file.
struct ListRow {
    std::vector<Text> cells;
    Span span;
};

// One select of a SampleLists table: the samples of one sample table (`box` names the
// stbl) or of one track fragment (`box` names the traf, with its moof and mdat).
struct SampleSelect {
    uint32_t box = 0, moof = 0, mdat = 0;  // box identities
    uint64_t samples = 0;
};

struct ReportTable {
    std::string title = "Detailed-Information";
    TableKind kind = TableKind::KeyValue;
    std::vector<Row> rows;                 // KeyValue
    uint32_t entryCount = 0;               // EntryPages, FlvTags
    Span entriesSpan;                      // EntryPages: where the entries lie
    std::vector<std::string> headers;      // List
    std::vector<ListRow> listRows;         // List: one cell per header in each row
    std::vector<SampleSelect> selects;     // SampleLists: one per stbl ("stbl") or traf ("traf", the title)

    ReportTable() = default;
    explicit ReportTable(std::string t, TableKind k = TableKind::KeyValue) : title(std::move(t)), kind(k) {}
};

struct PageModel {
    std::string title;                // the title of the common header table; empty when the page has no table
    std::vector<ReportTable> tables;  // the common header table first, then the box's own tables
    const CBox* box = nullptr;        // EntryPages selects name this box by its identity
    // The box's bytes no row, list row, entry table or child explains (when its spans
    // are known), in file order.
    std::vector<ByteRange> undecoded;
};
