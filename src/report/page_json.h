#pragma once
#include <ostream>
#include <string>
#include <string_view>

#include "boxes/containers/corvel.h"
#include "report/box_entry.h"

// A JSON string literal (with its quotes): control characters escaped, bytes
// that are not UTF-8 become U+FFFD; nothing is cut.
std::string JsonString(std::string_view raw);

// One table as a JSON object: {"title", "kind", then "rows" of {"label", "value"}
// (KeyValue), "entries" (EntryPages), "headers" and "rows" of {"cells"} (List) or
// "selects" of {"box", "samples"} (SampleLists)}. A row, a list row and an entry
// list carry "at": [offset, length] where they lie in the file when that is known,
// with "bits": [bit offset, bit length] for a field packed in bits.
std::string TableJson(const ReportTable& table);

// A box with its page model and its children, recursively: {"type", "offset", "size",
// "unread" (payload bytes its parse left, when there are any), "undecoded": [[offset,
// length], ...] (the bytes no row of its page explains, when there are any), "truncated": {"present",
// "declared"} (when the file ends inside it), "title", "tables": [...], "children": [...]}.
void WriteBoxJson(std::ostream& out, const CBox& box, const PageContext& context);

// The whole tree of a parse run: {"file", "status", "boxes": [...]}. `init`: a media
// segment's init segment, whose moov the pages take as the file's own.
void WriteTreeJson(std::ostream& out, const std::string& fileName, int status, const CCorvel& parser,
                   const CCorvel* init = nullptr);

// The tree of the file at `path` as WriteTreeJson writes it, from two walks that keep
// no tree: the first finds the status and what the pages need of the whole file, the
// second writes each top-level box as it is read and lets it go. Returns the status
// (0 or -1), or -2 when the file cannot be opened (lib.LastError() says why).
int WriteStreamedTreeJson(std::ostream& out, const std::string& path, CCorvelLib& lib, const CCorvel* init = nullptr);
