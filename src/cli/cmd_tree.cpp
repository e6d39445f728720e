#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "boxes/containers/media_data_box.h"
#include "cli/command_line.h"
#include "cli/common.h"
#include "report/page_json.h"

namespace {
const CommandSpec kSpec{
    "corvel tree FILE [--depth N] [--json]",
    "Prints the boxes of FILE, one line each: two blanks of indent a level, the type, the\n"
    "start offset and the size. A box the file ends inside adds \"truncated: N of M bytes\n"
    "present\"; an mdat of FLV tags that ends inside a tag adds \"incomplete FLV tag at N\".\n"
    "\n"
    "  --depth N   only the boxes at most N levels below the top (0: the top-level boxes)\n"
    "  --json      the tree as JSON, without pages: {\"file\", \"status\", \"boxes\": [{\"type\",\n"
    "              \"offset\", \"size\", \"truncated\", \"incomplete_tag\", \"children\"}]}\n",
    {"--depth"}, {"--json"}, 1, 1};

// The tree's text goes out through one buffer: a file of many boxes prints many lines.
// The JSON tree is held whole (the status comes before the boxes); the text goes out
// every 64 KB.
class Out {
public:
    explicit Out(bool hold) : m_hold(hold) {}
    ~Out() { Flush(); }
    Out& operator<<(std::string_view text) {
        m_text += text;
        if (!m_hold && m_text.size() >= 1 << 16) Flush();
        return *this;
    }
    Out& operator<<(const std::string& text) { return *this << std::string_view(text); }
    Out& operator<<(const char* text) { return *this << std::string_view(text); }
    Out& operator<<(uint64_t v) {
        char digits[24];
        return *this << std::string_view(digits, size_t(std::to_chars(digits, digits + sizeof digits, v).ptr - digits));
    }
    Out& operator<<(int64_t v) {
        char digits[24];
        return *this << std::string_view(digits, size_t(std::to_chars(digits, digits + sizeof digits, v).ptr - digits));
    }
    Out& Blanks(uint64_t n) {
        m_text.append(n, ' ');
        return *this;
    }
    void Flush() {
        std::fwrite(m_text.data(), 1, m_text.size(), stdout);
        m_text.clear();
    }

private:
    bool m_hold;
    std::string m_text;
};

void PrintLine(Out& out, const CBox& box, uint64_t depth, uint64_t maxDepth) {
    // The line is made in place, then appended at once: a tree of many boxes is mostly these.
    char line[80];
    char* p = PrintableFourCC(box.m_type, line);
    *p++ = ' ';
    // Offsets are never negative; the unsigned conversion is the quicker one.
    p = std::to_chars(p, line + sizeof line, uint64_t(std::max<int64_t>(box.m_startOffset, 0))).ptr;
    *p++ = ' ';
    p = std::to_chars(p, line + sizeof line, box.BoxSize()).ptr;
    out.Blanks(depth * 2) << std::string_view(line, size_t(p - line));
    if (const std::string notes = BoxNotes(box); !notes.empty()) out << " " << notes;
    out << "\n";
    if (depth < maxDepth)
        for (const auto& child : box.m_children)
            if (child) PrintLine(out, *child, depth + 1, maxDepth);
}

void PrintJson(Out& out, const CBox& box, uint64_t depth, uint64_t maxDepth) {
    out << "{\"type\": " << JsonString(FourCCUtf8(box.m_type)) << ", \"offset\": " << int64_t{box.m_startOffset}
        << ", \"size\": " << box.BoxSize();
    if (box.IsTruncated())
        out << ", \"truncated\": {\"present\": " << box.PresentSize() << ", \"declared\": " << box.DeclaredSize()
            << "}";
    if (const int64_t tag = IncompleteTagOffset(box); tag >= 0) out << ", \"incomplete_tag\": " << tag;
    out << ", \"children\": [";
    const char* separator = "";
    if (depth < maxDepth)
        for (const auto& child : box.m_children) {
            if (!child) continue;
            out << separator;
            PrintJson(out, *child, depth + 1, maxDepth);
            separator = ", ";
        }
    out << "]}";
}
}  // namespace

int RunTree(const Args& args) {
    CommandLine line;
    if (const int done = ParseCommandLine(kSpec, args, line); done >= 0) return done;
    const std::string& file = line.positional[0];
    uint64_t maxDepth = UINT64_MAX;
    if (const std::string* depth = line.Value("--depth")) {
        const auto [end, ec] = std::from_chars(depth->data(), depth->data() + depth->size(), maxDepth);
        if (ec != std::errc() || end != depth->data() + depth->size() || depth->empty())
            return UsageError(kSpec, "bad depth '" + *depth + "': decimal digits from 0");
    }
    // Each top-level box is printed as soon as it is read, then let go.
    const bool json = line.Has("--json");
    Out boxes(json);
    size_t count = 0;
    CCorvelLib lib;
    const int status = OpenAndParse(lib, file, [&](TopLevelBox& top) {
        if (json) {
            boxes << (count ? ",\n" : "");
            PrintJson(boxes, *top.box, 0, maxDepth);
        } else {
            PrintLine(boxes, *top.box, 0, maxDepth);
        }
        ++count;
    });
    if (status == -2) return 2;
    if (json) {
        Out out(false);
        out << "{\"file\": " << JsonString(file) << ", \"status\": " << (status < 0 ? "-1" : "0") << ", \"boxes\": [";
        out.Flush();
        boxes.Flush();
        out << "]}\n";
    }
    boxes.Flush();
    std::fflush(stdout);
    return ExitStatus(lib, file, status);
}
