#pragma once
#include <ostream>
#include <string>
#include <string_view>

#include "report/page_model.h"

// A JSON string literal (with its quotes): control characters escaped, bytes
// that are not UTF-8 become U+FFFD; nothing is cut.
std::string JsonString(std::string_view raw);

// One table as a JSON object: {"title", "kind", then "rows" (KeyValue),
// "entries" (EntryPages), "headers" and "columns" (List) or "markup" (Markup)}.
std::string TableJson(const ReportTable& table);

// A box with its page model and its children, recursively:
// {"type", "offset", "size", "title", "tables": [...], "children": [...]}.
void WriteBoxJson(std::ostream& out, const CBox* parent, const CBox& box, const CCorvel* parser);

// The whole tree of a parse run: {"file", "status", "boxes": [...]}.
void WriteTreeJson(std::ostream& out, const std::string& fileName, int status, const CCorvel& parser);
