#include <algorithm>
#include <iostream>
#include <string>

#include "cli/command_line.h"
#include "cli/common.h"
#include "report/file_info.h"
#include "report/format.h"
#include "report/page_json.h"

namespace {
const CommandSpec kSpec{
    "corvel info FILE [--json] [--init INIT]",
    "Prints what FILE holds: its brands, duration and whether it is fragmented, then one\n"
    "line per track: track ID, handler, codec string (as a DASH or HLS manifest names it),\n"
    "the codec's parameters (width x height, or channels and sample rate), duration, sample\n"
    "count, average bit rate and language; then the chapters, when the file has any (from\n"
    "the Nero chpl box, else from the chapter track a tref/chap names).\n"
    "\n"
    "  --json     {\"file\", \"brands\": {\"major\", \"minor_version\", \"compatible\"}, \"duration\",\n"
    "             \"fragments\", \"tracks\": [{\"id\", \"handler\", \"codec\", \"width\", \"height\",\n"
    "             \"channels\", \"sample_rate\", \"timescale\", \"duration\", \"samples\", \"bytes\",\n"
    "             \"bit_rate\", \"language\", \"timecode\"}]}; durations in seconds, the bit rate in bits\n"
    "             a second; a timecode track tells its start timecode;\n"
    "             \"chapters\": [{\"start\", \"title\"}] and \"chapters_from\" when there are chapters\n",
    {}, {"--json"}, 1, 1};

std::string Seconds(double s) { return Format("%.3f", s); }

std::string Json(const std::string& file, const FileInfo& info) {
    std::string out = "{\"file\": " + JsonString(file) + ", \"brands\": ";
    if (info.hasBrands) {
        out += "{\"major\": " + JsonString(PrintableFourCC(info.majorBrand)) +
               ", \"minor_version\": " + std::to_string(info.minorVersion) + ", \"compatible\": [";
        for (size_t i = 0; i < info.compatibleBrands.size(); ++i)
            out += (i ? ", " : "") + JsonString(PrintableFourCC(info.compatibleBrands[i]));
        out += "]}";
    } else {
        out += "null";
    }
    out += ", \"duration\": " + Seconds(info.seconds) + ", \"fragments\": " + std::to_string(info.fragments) +
           ", \"tracks\": [";
    for (size_t i = 0; i < info.tracks.size(); ++i) {
        const TrackInfo& t = info.tracks[i];
        out += std::string(i ? ",\n  " : "\n  ") + "{\"id\": " + std::to_string(t.id) +
               ", \"handler\": " + JsonString(PrintableFourCC(t.handler)) + ", \"codec\": " + JsonString(t.codec);
        if (t.width || t.height)
            out += ", \"width\": " + std::to_string(t.width) + ", \"height\": " + std::to_string(t.height);
        if (t.channels || t.sampleRate)
            out += ", \"channels\": " + std::to_string(t.channels) + ", \"sample_rate\": " + std::to_string(t.sampleRate);
        out += ", \"timescale\": " + std::to_string(t.timescale) + ", \"duration\": " + Seconds(t.Seconds()) +
               ", \"samples\": " + std::to_string(t.samples) + ", \"bytes\": " + std::to_string(t.bytes) +
               ", \"bit_rate\": " + std::to_string(t.BitRate()) + ", \"language\": " + JsonString(t.language);
        if (!t.timecode.empty()) out += ", \"timecode\": " + JsonString(t.timecode);
        out += "}";
    }
    out += info.tracks.empty() ? "]" : "\n]";
    if (!info.chapters.empty()) {
        out += ", \"chapters_from\": " + JsonString(info.chaptersFrom) + ", \"chapters\": [";
        for (size_t i = 0; i < info.chapters.size(); ++i)
            out += std::string(i ? ",\n  " : "\n  ") + "{\"start\": " + Seconds(info.chapters[i].seconds) +
                   ", \"title\": " + JsonString(info.chapters[i].title) + "}";
        out += "\n]";
    }
    return out + "}\n";
}

// "  chapters  2 (from chpl)", then a line per chapter: its start and title (a control
// character of the title as '?', so that it cannot drive the terminal).
std::string ChapterLines(const FileInfo& info) {
    if (info.chapters.empty()) return "";
    std::string out = "  chapters  " + std::to_string(info.chapters.size()) + " (from " + info.chaptersFrom + ")\n";
    for (const ChapterInfo& c : info.chapters) {
        std::string title = c.title;
        for (char& ch : title)
            if (uint8_t(ch) < 0x20 || ch == 0x7F) ch = '?';
        out += "    " + Seconds(c.seconds) + " s  " + title + "\n";
    }
    return out;
}

std::string Plain(const std::string& file, const FileInfo& info) {
    std::string out = file + "\n";
    if (info.hasBrands) {
        out += "  brands    " + PrintableFourCC(info.majorBrand) + " (minor version " +
               std::to_string(info.minorVersion) + "), compatible";
        for (uint32_t b : info.compatibleBrands) out.append(1, ' ').append(PrintableFourCC(b));
        out += "\n";
    }
    out += "  duration  " + Seconds(info.seconds) + " s, " +
           (info.fragments ? "fragmented (" + std::to_string(info.fragments) +
                                  (info.fragments == 1 ? " movie fragment)" : " movie fragments)")
                           : std::string("not fragmented")) +
           "\n";
    if (info.tracks.empty()) return out + ChapterLines(info);
    // The root page's table of tracks, its columns padded to their widest cell.
    const ReportTable table = TracksTable(info);
    std::vector<size_t> widths;
    for (const std::string& h : table.headers) widths.push_back(h.size());
    for (const ListRow& row : table.listRows)
        for (size_t c = 0; c < row.cells.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], row.cells[c].Plain().size());
    auto line = [&](auto cell) {
        std::string text = " ";
        for (size_t c = 0; c < widths.size(); ++c) {
            const std::string s = cell(c);
            text.append(1, ' ').append(s).append(c + 1 < widths.size() ? widths[c] - s.size() + 1 : 0, ' ');
        }
        return text + "\n";
    };
    out += line([&](size_t c) { return table.headers[c]; });
    for (const ListRow& row : table.listRows)
        out += line([&](size_t c) { return c < row.cells.size() ? row.cells[c].Plain() : std::string(); });
    return out + ChapterLines(info);
}
}  // namespace

int RunInfo(const Args& args) {
    CommandLine line;
    if (const int done = ParseCommandLine(kSpec, args, line); done >= 0) return done;
    const std::string& file = line.positional[0];
    OpenedFile opened;
    if (!OpenWithInit(opened, file, line)) return 2;
    CCorvelLib& lib = opened.lib;
    const CCorvel* init = opened.init;
    const int status = opened.status;
    if (const CBox* h = lib.Parser()->NotMediaHeader())
        return FileError(file, "not an ISO base media file (first box type " + PrintableFourCC(h->m_type) + ")");
    const FileInfo info = ReadFileInfo(*lib.Parser(), init);
    std::cout << (line.Has("--json") ? Json(file, info) : Plain(file, info));
    std::cout.flush();
    return ExitStatus(lib, file, status);
}
