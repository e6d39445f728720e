#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "report/text.h"

class CBox;
class CCorvel;

// A box page as data: the dispatch builds it, the HTML renderer writes it as the
// page file, the JSON renderer writes it for `corvel json`.
enum class TableKind {
    KeyValue = 0,    // label/value rows
    EntryPages = 1,  // a select list of sub pages of 200 entries (the entries are not on the page)
    List = 2,        // headers and columns
    Markup = 3,      // fixed markup written directly (the select lists of the mdat page)
};

struct ReportTable {
    std::string title = "Detailed-Information";
    TableKind kind = TableKind::KeyValue;
    std::vector<std::pair<std::string, Text>> rows;  // KeyValue
    uint32_t entryCount = 0;                          // EntryPages
    std::vector<std::string> headers;                 // List
    std::vector<std::vector<Text>> columns;           // List: one column per header, cells top to bottom
    Text markup;                                      // Markup

    ReportTable() = default;
    explicit ReportTable(std::string t, TableKind k = TableKind::KeyValue) : title(std::move(t)), kind(k) {}
    void AddRow(std::string label, Text value) { rows.emplace_back(std::move(label), std::move(value)); }
    // Adds a header with its column.
    void AddColumn(std::string header, std::vector<Text> cells) {
        headers.push_back(std::move(header));
        columns.push_back(std::move(cells));
    }
};

struct PageModel {
    std::string title;  // the title of the common header table; empty when the page has no table
    std::vector<ReportTable> tables;  // the common header table first, then the box's own tables
    const CBox* box = nullptr;        // EntryPages selects name this box by its identity
};

// What a box's rows may look at besides the box.
struct RowContext {
    const CBox* parent = nullptr;     // the box of the parent tree item, or null
    const CCorvel* parser = nullptr;  // the parse run (top-level boxes), or null
    // For markup that names files: the title icon and the sub-page folder (empty when
    // the page is not written as HTML).
    std::string iconPath;
    std::string subPagePrefix;
};
