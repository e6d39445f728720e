// What the corpus tests share: a corpus file walked as the program walks it, its boxes,
// and readers of the reference dumps of ../shared/corpus/ref (see its README).
#pragma once

#include <climits>
#include <cstdint>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/span_map.h"
#include "boxes/containers/corvel.h"
#include "report/box_page.h"
#include "support/corpus.h"

// Every box from `roots` down of class T (and of `type` when given), in tree order.
template <class T = CBox>
std::vector<const T*> BoxesUnder(std::vector<const CBox*> roots, uint32_t type = 0) {
    std::vector<const T*> out;
    std::vector<const CBox*> pending(roots.rbegin(), roots.rend());
    while (!pending.empty()) {
        const CBox* box = pending.back();
        pending.pop_back();
        if (auto* t = dynamic_cast<const T*>(box); t && (!type || box->m_type == type)) out.push_back(t);
        for (size_t i = box->GetChildCount(); i-- > 0;)
            if (box->GetChild(i)) pending.push_back(box->GetChild(i));
    }
    return out;
}

// A corpus file (or any file by its path) walked as the program walks it; a failed walk
// keeps its boxes.
struct CorpusFile {
    CCorvelLib lib;
    int status = -2;  // -2: not opened, else what the walk returned
    explicit CorpusFile(const std::string& name) {
        if (lib.Init(name.find('/') == std::string::npos ? CorpusPath(name) : name) == 0) status = lib.Go();
    }
    bool Opened() const { return status != -2; }
    const CCorvel& P() const { return *lib.Parser(); }
    std::vector<const CBox*> Top() const {
        std::vector<const CBox*> top;
        for (size_t i = 0; i < P().GetBoxCount(); ++i) top.push_back(P().GetBox(i));
        return top;
    }
    template <class T = CBox>
    std::vector<const T*> All(uint32_t type = 0) const { return BoxesUnder<T>(Top(), type); }
    // The traks of the first top-level moov.
    std::vector<const CBox*> Traks() const {
        for (const CBox* box : Top())
            if (box->m_type == FourCC("moov")) return BoxesUnder({box}, FourCC("trak"));
        return {};
    }
};

// Calls visit(box, parent, page) for every box of the file, its page made with the spans
// of a parse of its top-level box.
template <class Visit>
void ForEachPage(const CorpusFile& f, Visit visit) {
    for (const CBox* top : f.Top()) {
        SpanMap spans;
        const std::unique_ptr<CBox> copy = f.P().Reparse(*top, spans);
        ASSERT_NE(copy, nullptr);
        std::vector<std::pair<const CBox*, const CBox*>> pending{{copy.get(), nullptr}};
        while (!pending.empty()) {
            auto [box, parent] = pending.back();
            pending.pop_back();
            visit(*box, parent, BuildBoxPage(*box, {parent, &f.P(), nullptr, &spans}));
            for (const auto& child : box->m_children)
                if (child) pending.emplace_back(child.get(), box);
        }
    }
}

// Runs `check(name, file)` on every corpus file, walked, with its name traced.
template <class Check>
void ForEachCorpusFile(Check check) {
    for (const std::string& name : CorpusFiles()) {
        SCOPED_TRACE(name);
        const CorpusFile f(name);
        ASSERT_TRUE(f.Opened());
        check(name, f);
    }
}

// Every match of `pattern` in `text`, each as its groups.
inline std::vector<std::vector<std::string>> Matches(const std::string& text, const std::string& pattern) {
    std::vector<std::vector<std::string>> out;
    const std::regex re(pattern);
    for (std::sregex_iterator it(text.begin(), text.end(), re), stop; it != stop; ++it)
        out.emplace_back(it->begin() + 1, it->end());
    return out;
}

// The AAC sampling frequency of an index; `explicitRate` for the escape index.
inline uint32_t SamplingRate(uint32_t index, uint32_t explicitRate = 0) {
    static const uint32_t kRates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                                      22050, 16000, 12000, 11025, 8000,  7350};
    return index < 13 ? kRates[index] : explicitRate;
}

// ref/NAME.packets.csv: "stream,pts,dts,duration,size,pos,flags" a packet (N/A: unknown).
constexpr int64_t kUnknown = INT64_MIN;
struct Packet {
    int stream;
    int64_t pts, dts, duration;
    uint64_t size, pos;
    bool key;
};
inline std::vector<Packet> PacketsCsvAt(const std::string& path) {
    auto time = [](const std::string& s) { return s == "N/A" ? kUnknown : std::stoll(s); };
    std::vector<Packet> out;
    for (const auto& m : Matches(ReadText(path),
                                 R"((?:^|\n)(\d+),([^,\n]*),([^,\n]*),([^,\n]*),(\d+),(\d+),([^,\n]*))"))
        out.push_back({std::stoi(m[0]), time(m[1]), time(m[2]), time(m[3]), std::stoull(m[4]), std::stoull(m[5]),
                       m[6].find('K') != std::string::npos});
    return out;
}
inline std::vector<Packet> PacketsCsv(const std::string& name) { return PacketsCsvAt(CorpusRef(name, "packets.csv")); }

// ref/NAME.ffprobe.json: the streams by track ID, with their top-level fields.
using Fields = std::map<std::string, std::string>;
inline std::map<uint32_t, Fields> FfprobeStreams(const std::string& name) {
    const std::string json = ReadText(CorpusRef(name, "ffprobe.json"));
    std::map<uint32_t, Fields> streams;
    for (size_t pos = json.find("\"index\":"); pos != std::string::npos; pos = json.find("\"index\":", pos + 1)) {
        const std::string block = json.substr(pos, json.find("\"disposition\"", pos) - pos);
        Fields f;
        for (const auto& m : Matches(block, R"re("(\w+)": (?:"([^"]*)"|(-?\d+)))re")) f[m[0]] = m[1] + m[2];
        if (f.count("id")) streams[static_cast<uint32_t>(std::stoul(f["id"], nullptr, 16))] = f;
    }
    return streams;
}

// ref/NAME.mediainfo.txt lines: "OFFSET<indent>Label: value", or "OFFSET<indent>Title (N bytes)"
// for a section (its label empty, its value the title).
struct InfoLine {
    uint64_t offset;
    size_t indent;
    std::string label, value;
};
inline std::vector<InfoLine> MediaInfoLines(const std::string& name) {
    static const std::regex field(R"(^([0-9A-F]+)( +)([^:]+?): +(.*)$)");
    static const std::regex section(R"(^([0-9A-F]+)( +)()(.+) \(\d+ bytes\)$)");
    std::vector<InfoLine> out;
    std::smatch m;
    for (const auto& line : Matches(ReadText(CorpusRef(name, "mediainfo.txt")), "([^\r\n]+)"))
        if (std::regex_match(line[0], m, field) || std::regex_match(line[0], m, section))
            out.push_back({std::stoull(m[1], nullptr, 16), size_t(m[2].length()), m[3], m[4]});
    return out;
}
// The lines inside each MediaInfo section titled `title`, its subsections' included.
inline std::vector<std::vector<InfoLine>> MediaInfoSections(const std::string& name, const std::string& title) {
    std::vector<std::vector<InfoLine>> out;
    size_t open = SIZE_MAX;  // the indent of the section being read
    for (const InfoLine& l : MediaInfoLines(name)) {
        if (l.label.empty() && l.indent <= open) {
            open = l.value == title ? l.indent : SIZE_MAX;
            if (open != SIZE_MAX) out.emplace_back();
        } else if (open != SIZE_MAX) {
            out.back().push_back(l);
        }
    }
    return out;
}
// The first word of a MediaInfo value ("3 (0x0003) - (16 bits)": "3").
inline std::string Number(const std::string& value) { return value.substr(0, value.find(' ')); }

// The first box of each type along `path` down from `from`; null when one is missing.
inline const CBox* Descend(const CBox* from, std::initializer_list<const char*> path) {
    for (const char* type : path) {
        uint32_t code = 0;
        for (int i = 0; i < 4; ++i) code = (code << 8) | static_cast<uint8_t>(type[i]);
        from = from ? from->RetrieveChildBox(code, true) : nullptr;
    }
    return from;
}

// A box of another tool's tree (ref/NAME.atomicparsley.txt, ref/NAME.bento4.txt).
struct RefBox {
    std::string type;
    int64_t offset;
    uint64_t size;
    std::vector<RefBox> children;
};

// One box per matching line: (indentation, type, offset, size); depth follows the indentation.
//   AtomicParsley: "     Atom mvhd @ 18819 of size: 108, ends @ 18927" (not anchored: a BOM may lead)
//   Bento4:        "  [tkhd] size=12+80, flags=3" (header + payload; no offsets, none compared),
//                  a uuid box as its user type: "[6B6840F25F24-4FC5-BA39-A51B-CF0323F3] size=24+4"
inline std::vector<RefBox> ParseTree(const std::string& text, bool bento) {
    RefBox root;
    std::vector<std::pair<size_t, RefBox*>> stack{{0, &root}};  // indentation + 1, box
    for (const auto& m : Matches(text, bento ? R"((?:^|\n)( *)\[(.{4}|[0-9A-F]{12}-[0-9A-F-]{23})\] size=(\d+)\+(\d+))"
                                             : R"(( *)Atom ([^\n]+?) @ (\d+) of size: (\d+))")) {
        const size_t indent = m[0].length() + 1;
        const std::string type = m[1].starts_with("uuid=") || (bento && m[1].size() > 4) ? "uuid" : m[1];
        RefBox box = bento ? RefBox{type, 0, std::stoull(m[2]) + std::stoull(m[3]), {}}
                           : RefBox{type, std::stoll(m[2]), std::stoull(m[3]), {}};
        while (stack.back().first >= indent) stack.pop_back();
        stack.back().second->children.push_back(box);
        stack.emplace_back(indent, &stack.back().second->children.back());
    }
    return root.children;
}
