#include <cinttypes>
#include <cstdio>
#include <iostream>

#include "boxes/metadata/item_info_boxes.h"
#include "cli/command_line.h"
#include "cli/common.h"
#include "report/format.h"
#include "report/item_list.h"
#include "report/page_json.h"
#include "samples/sample_context.h"

namespace {
const CommandSpec kItemsCommand{
    "corvel items FILE [--json]",
    "Prints one line per item of FILE's first meta box with items (a HEIF or AVIF image's):\n"
    "ID, type, name, content type, primary, properties (by type, '*' after an essential one),\n"
    "extents (offset+length, in the file or the idat) and total size, as CSV with a header\n"
    "line, or as JSON with --json.\n",
    {}, {"--json"}, 1, 1};

const CommandSpec kItemCommand{
    "corvel item FILE ID",
    "Writes the bytes of the item with ID (its extents in order, from the file or the idat)\n"
    "to standard output.\n",
    {}, {}, 2, 2};

// The items of the file's first meta box that lists any.
std::vector<ItemSummary> FileItems(const CCorvel& parser) {
    for (size_t i = 0; i < parser.GetBoxCount(); ++i) {
        const CBox* top = parser.GetBox(i);
        std::vector<const CBox*> metas;
        if (top) FindBoxes(*top, FourCC("meta"), metas);
        for (const CBox* meta : metas)
            if (auto items = SummarizeItems(*meta, uint64_t(parser.FileSize())); !items.empty()) return items;
    }
    return {};
}

// A CSV field: quoted when it holds a comma, a quote or a line break.
std::string Csv(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string out = "\"";
    for (char c : s) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}
}  // namespace

int RunItems(const Args& args) {
    CommandLine line;
    if (const int done = ParseCommandLine(kItemsCommand, args, line); done >= 0) return done;
    const std::string& file = line.positional[0];
    CCorvelLib lib;
    const int status = OpenAndParse(lib, file);
    if (status == -2) return 2;
    const bool json = line.Has("--json");
    std::string out = json ? "{\"items\": [" : "id,type,name,content_type,primary,properties,extents,size\n";
    bool first = true;
    for (const ItemSummary& item : FileItems(*lib.Parser())) {
        const CItemInfoEntry& e = *item.entry;
        const std::string type = ItemTypeText(e).Plain();
        const std::string name = StringValue(e.m_itemName).Plain(), content = StringValue(e.m_contentType).Plain();
        if (json)
            out += std::string(first ? "\n" : ",\n") + "{\"id\": " + std::to_string(e.m_itemID) +
                   ", \"type\": " + JsonString(type) + ", \"name\": " + JsonString(name) +
                   ", \"content_type\": " + JsonString(content) +
                   ", \"primary\": " + (item.primary ? "true" : "false") +
                   ", \"properties\": " + JsonString(item.properties) + ", \"extents\": " + JsonString(item.extents) +
                   ", \"size\": " + std::to_string(item.totalSize) + "}";
        else
            out += std::to_string(e.m_itemID) + "," + Csv(type) + "," + Csv(name) + "," + Csv(content) +
                   "," + (item.primary ? "1" : "0") + "," + Csv(item.properties) + "," + Csv(item.extents) + "," +
                   std::to_string(item.totalSize) + "\n";
        first = false;
    }
    if (json) out += "\n]}\n";
    std::cout << out;
    std::cout.flush();
    return ExitStatus(lib, file, status);
}

int RunItem(const Args& args) {
    CommandLine line;
    if (const int done = ParseCommandLine(kItemCommand, args, line); done >= 0) return done;
    const std::string& file = line.positional[0];
    const std::string& id = line.positional[1];
    if (id.empty() || id.size() > 10 || id.find_first_not_of("0123456789") != std::string::npos ||
        std::stoull(id) > UINT32_MAX)
        return UsageError(kItemCommand, "ID is a number");
    CCorvelLib lib;
    const int status = OpenAndParse(lib, file);
    if (status == -2) return 2;
    for (const ItemSummary& item : FileItems(*lib.Parser())) {
        if (item.entry->m_itemID != std::stoul(id)) continue;
        for (const ItemExtent& x : item.extentList)
            if (!x.inside) return FileError(file, "item " + id + ": an extent lies past the end of what holds it", 1);
        // Extents are written as they are read, a block at a time: an item may be large.
        std::vector<uint8_t> block(1 << 16);
        for (const ItemExtent& x : item.extentList)
            for (uint64_t done = 0; done < x.length;) {
                const uint64_t n = std::min<uint64_t>(block.size(), x.length - done);
                if (lib.Parser()->ReadBytes(x.offset + done, block.data(), n) != n)
                    return FileError(file, "item " + id + " cannot be read", 1);
                std::fwrite(block.data(), 1, n, stdout);
                done += n;
            }
        std::fflush(stdout);
        return ExitStatus(lib, file, status);
    }
    return FileError(file, "no item " + id);
}
