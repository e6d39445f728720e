#include <cinttypes>
#include <cstdio>
#include <map>

#include "boxes/presentation/movie_header_boxes.h"
#include "cli/box_path.h"
#include "cli/command_line.h"
#include "cli/common.h"
#include "samples/file_samples.h"
#include "samples/flv_tags.h"
#include "samples/sample_context.h"
#include "samples/sample_decryption.h"
#include "samples/sample_lookup.h"
#include "report/page_json.h"

namespace {
const CommandSpec kSpec{
    "corvel samples FILE [BOXPATH] [--json] [--key KID:KEY]... [--init INIT]",
    "Prints one line per sample of FILE (or of the trak, stbl, moof or traf at BOXPATH):\n"
    "track, fragment (0: the movie's own samples), index, decode time, duration, size,\n"
    "offset and sync, as CSV with a header line, or as JSON with --json. An mdat of FLV\n"
    "tags at BOXPATH lists its tags: index, type, timestamp, data size, offset.\n"
    "A file with protected tracks adds each sample's IV (hex) and subsamples (clear/protected\n"
    "byte counts); with --key (KID:KEY, or a KEY for every KID; repeatable) also whether the\n"
    "sample decrypts (\"ok\", \"clear\", or why not). A file with a timecode track adds the\n"
    "timecode its samples hold (HH:MM:SS:FF, ';' before the frames when they drop). --init INIT\n"
    "reads FILE, a media segment, with its init segment.\n",
    {"--key"}, {"--json"}, 1, 2};

// The timecode entry of each timecode track of the file's first moov, by track id.
std::map<uint32_t, const CTimecodeSampleEntry*> TimecodeTracks(const CCorvel& parser) {
    std::map<uint32_t, const CTimecodeSampleEntry*> tracks;
    for (size_t i = 0; i < parser.GetBoxCount(); ++i) {
        const CBox* moov = parser.GetBox(i);
        if (!moov || moov->m_type != FourCC("moov")) continue;
        for (const auto& trak : moov->m_children) {
            const auto* tkhd = trak ? dynamic_cast<const CTrackHeaderBox*>(trak->RetrieveChildBox(FourCC("tkhd"), true)) : nullptr;
            if (const CTimecodeSampleEntry* entry = tkhd ? TimecodeEntryOf(*trak) : nullptr)
                tracks.emplace(tkhd->m_trackID, entry);
        }
        break;
    }
    return tracks;
}

// The encryption columns of a sample: IV, subsamples and, with keys, whether it decrypts.
struct EncryptionCells {
    std::string iv, subsamples, decryption;
};

EncryptionCells EncryptionOf(const CCorvel& parser, const SampleOrigin& o, const SampleRecord& r, const KeyRing& keys) {
    EncryptionCells cells;
    if (!o.encryption) return {"", "", "clear"};
    const SampleEncryption e = o.encryption->Of(r.index);
    if (!e.isProtected) return {"", "", "clear"};
    cells.iv = e.missing ? e.missing : IvText(e);
    cells.subsamples = SubsampleText(e);
    if (keys.Empty()) return cells;
    std::vector<uint8_t> bytes;
    cells.decryption = ReadDecrypted(parser, r, e, keys, bytes);
    if (cells.decryption.empty()) cells.decryption = "ok";
    return cells;
}

// One line per FLV tag of an F4F mdat: index, type, timestamp, data size, offset.
void PrintFlvTags(const CBox& mdat, bool json) {
    bool first = true;
    std::fputs(json ? "{\"tags\": [" : "index,type,timestamp,data_size,offset\n", stdout);
    VisitFlvTags(mdat, [&](const FlvTagRecord& t) {
        if (json)
            std::printf("%s\n{\"index\": %" PRIu64 ", \"type\": %u, \"timestamp\": %u, \"data_size\": %u, "
                        "\"offset\": %" PRIu64 "}",
                        first ? "" : ",", t.index, t.type, t.timestamp, t.dataSize, t.offset);
        else
            std::printf("%" PRIu64 ",%u,%u,%u,%" PRIu64 "\n", t.index, t.type, t.timestamp, t.dataSize, t.offset);
        first = false;
        return true;
    });
    if (json) std::fputs("\n]}\n", stdout);
    std::fflush(stdout);
}
}  // namespace

int RunSamples(const Args& args) {
    CommandLine line;
    if (const int done = ParseCommandLine(kSpec, args, line); done >= 0) return done;
    const std::vector<std::string>& positional = line.positional;
    const bool json = line.Has("--json");
    KeyRing keys;
    if (!ReadKeys(line, keys)) return 2;
    OpenedFile opened;
    if (!OpenWithInit(opened, positional[0], line)) return 2;
    CCorvelLib& lib = opened.lib;
    const CCorvel* init = opened.init;
    const int status = opened.status;
    const CBox* scope = nullptr;
    if (positional.size() == 2) {
        std::string error;
        scope = ResolveBoxPath(*lib.Parser(), positional[1], error);
        if (!scope) return FileError(positional[0], error);
    }
    // An F4F mdat lists its FLV tags.
    if (scope && FlvTagCount(*scope) > 0) {
        PrintFlvTags(*scope, json);
        return ExitStatus(lib, positional[0], status);
    }
    const SampleContext context(*lib.Parser(), init);
    const bool encrypted = context.HasProtection(), decrypting = encrypted && !keys.Empty();
    const auto timecodeTracks = TimecodeTracks(*lib.Parser());
    const bool timecodes = !timecodeTracks.empty();
    bool first = true;
    std::fputs(json ? "{\"samples\": [" : "track,fragment,index,decode_time,duration,size,offset,sync", stdout);
    if (!json)
        std::printf("%s%s\n", !encrypted ? "" : decrypting ? ",iv,subsamples,decryption" : ",iv,subsamples",
                    timecodes ? ",timecode" : "");
    const bool known = VisitSamples(context, scope, [&](const SampleOrigin& o, const SampleRecord& r) {
        // Without a sync sample table every sample is a sync sample.
        const int sync = r.sync != SampleRecord::Sync::No;
        const EncryptionCells cells = encrypted ? EncryptionOf(*lib.Parser(), o, r, keys) : EncryptionCells{};
        if (json)
            std::printf("%s\n{\"track\": %u, \"fragment\": %u, \"index\": %" PRIu64 ", \"decode_time\": %" PRIu64
                        ", \"duration\": %" PRIu64 ", \"size\": %" PRIu64 ", \"offset\": %" PRIu64 ", \"sync\": %s",
                        first ? "" : ",", o.trackId, o.fragment, o.number, r.decodeTime, r.duration, r.size, r.offset,
                        sync ? "true" : "false");
        else
            std::printf("%u,%u,%" PRIu64 ",%" PRIu64 ",%" PRIu64 ",%" PRIu64 ",%" PRIu64 ",%d", o.trackId, o.fragment,
                        o.number, r.decodeTime, r.duration, r.size, r.offset, sync);
        if (json && encrypted)
            std::printf(", \"iv\": \"%s\", \"subsamples\": \"%s\"", cells.iv.c_str(), cells.subsamples.c_str());
        if (json && decrypting) std::printf(", \"decryption\": %s", JsonString(cells.decryption).c_str());
        if (!json && encrypted) std::printf(",%s,%s", cells.iv.c_str(), cells.subsamples.c_str());
        if (!json && decrypting) std::printf(",%s", cells.decryption.c_str());
        if (timecodes) {
            auto it = timecodeTracks.find(o.trackId);
            const std::string timecode = it != timecodeTracks.end() && o.fragment == 0
                                             ? SampleTimecode(*lib.Parser(), *it->second, r)
                                             : "";
            if (json) std::printf(", \"timecode\": \"%s\"", timecode.c_str());
            else std::printf(",%s", timecode.c_str());
        }
        std::fputs(json ? "}" : "\n", stdout);
        first = false;
        return true;
    });
    if (json) std::fputs("\n]}\n", stdout);
    std::fflush(stdout);
    if (!known)
        return FileError(positional[0], positional[1] + " holds no samples (a trak, stbl, moof, traf or an mdat of FLV tags does)");
    return ExitStatus(lib, positional[0], status);
}
