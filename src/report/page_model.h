#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/span.h"
#include "report/text.h"

class CBox;

// Rows per sub page, in every paged list: a page never holds more rows of one table.
constexpr uint64_t kRowsPerSubPage = 200;

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
    // EntryPages: where the entries lie. KeyValue and List: where all the table's rows
    // lie, those the model holds or not.
    Span entriesSpan;
    std::vector<std::string> headers;      // List
    std::vector<ListRow> listRows;         // List: one cell per header in each row
    std::vector<SampleSelect> selects;     // SampleLists: one per stbl ("stbl") or traf ("traf", the title)
    // KeyValue and List: the rows the table has. A table of more rows than a sub page
    // holds (its length comes from the file) is paged: the box page offers its rows in
    // sub pages of kRowsPerSubPage, and `rows` or `listRows` hold those of one sub page
    // (row `firstRow` first), or none.
    uint64_t rowCount = 0;
    uint64_t firstRow = 0;
    bool Paged() const { return rowCount > kRowsPerSubPage; }

    ReportTable() = default;
    explicit ReportTable(std::string t, TableKind k = TableKind::KeyValue) : title(std::move(t)), kind(k) {}
};

// Which rows of its tables a page model holds.
struct RowWindow {
    enum Mode {
        BoxPage,  // every row of a table that is not paged, none of one that is
        AllRows,  // every row (the JSON document)
        SubPage,  // the rows of sub page `page` of table `table`
    };
    Mode mode = BoxPage;
    size_t table = 0;
    uint64_t page = 0;
};

struct PageModel {
    std::string title;                // the title of the common header table; empty when the page has no table
    std::vector<ReportTable> tables;  // the common header table first, then the box's own tables
    const CBox* box = nullptr;        // EntryPages selects name this box by its identity
    // The box's bytes no row, list row, entry table or child explains (when its spans
    // are known), in file order.
    std::vector<ByteRange> undecoded;
};
