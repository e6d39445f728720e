#include <cinttypes>
#include <cstdio>
#include <iostream>

#include "cli/box_path.h"
#include "cli/commands.h"
#include "cli/common.h"
#include "samples/file_samples.h"
#include "samples/flv_tags.h"
#include "samples/sample_context.h"

namespace {
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
    bool json = false;
    std::vector<std::string> positional;
    for (const std::string& arg : args) {
        if (arg == "--json") json = true;
        else positional.push_back(arg);
    }
    if (positional.empty() || positional.size() > 2) {
        std::cerr << "usage: corvel samples FILE [BOXPATH] [--json]\n";
        return 2;
    }
    CCorvelLib lib;
    const int status = OpenAndParse(lib, positional[0]);
    if (status == -2) return 2;
    const CBox* scope = nullptr;
    if (positional.size() == 2) {
        std::string error;
        scope = ResolveBoxPath(*lib.Parser(), positional[1], error);
        if (!scope) {
            std::cerr << "corvel samples: " << error << "\n";
            return 2;
        }
    }
    // An F4F mdat lists its FLV tags.
    if (scope && FlvTagCount(*scope) > 0) {
        PrintFlvTags(*scope, json);
        return ExitStatus(lib, positional[0], status);
    }
    const SampleContext context(*lib.Parser());
    bool first = true;
    std::fputs(json ? "{\"samples\": [" : "track,fragment,index,decode_time,duration,size,offset,sync\n", stdout);
    const bool known = VisitSamples(context, scope, [&](const SampleOrigin& o, const SampleRecord& r) {
        // Without a sync sample table every sample is a sync sample.
        const int sync = r.sync != SampleRecord::Sync::No;
        if (json)
            std::printf("%s\n{\"track\": %u, \"fragment\": %u, \"index\": %" PRIu64 ", \"decode_time\": %" PRIu64
                        ", \"duration\": %" PRIu64 ", \"size\": %" PRIu64 ", \"offset\": %" PRIu64 ", \"sync\": %s}",
                        first ? "" : ",", o.trackId, o.fragment, o.number, r.decodeTime, r.duration, r.size, r.offset,
                        sync ? "true" : "false");
        else
            std::printf("%u,%u,%" PRIu64 ",%" PRIu64 ",%" PRIu64 ",%" PRIu64 ",%" PRIu64 ",%d\n", o.trackId, o.fragment,
                        o.number, r.decodeTime, r.duration, r.size, r.offset, sync);
        first = false;
        return true;
    });
    if (json) std::fputs("\n]}\n", stdout);
    std::fflush(stdout);
    if (!known) {
        std::cerr << "corvel samples: " << positional[1]
                  << " holds no samples (a trak, stbl, moof, traf or an mdat of FLV tags does)\n";
        return 2;
    }
    return ExitStatus(lib, positional[0], status);
}
