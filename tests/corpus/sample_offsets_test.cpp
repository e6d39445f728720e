// Every sample offset and size of the sample sub pages against the packets that
// ffprobe reads from the same corpus file (ref/NAME.packets.csv).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <sstream>

#include "boxes/core/corvel.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "report/sample_pages.h"
#include "support/box_builder.h"
#include "support/corpus.h"

namespace {
using Samples = std::vector<std::pair<uint64_t, uint64_t>>;  // (offset, size) in order

// ffprobe's packets by stream index: "stream,pts,dts,duration,size,pos,flags".
std::map<int, Samples> Packets(const std::string& name) {
    std::map<int, Samples> packets;
    std::istringstream in(ReadText(CorpusRef(name, "packets.csv")));
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::stringstream s(line);
        for (std::string field; std::getline(s, field, ',');) f.push_back(field);
        if (f.size() < 6 || f[4] == "N/A" || f[5] == "N/A") continue;
        packets[std::stoi(f[0])].emplace_back(std::stoull(f[5]), std::stoull(f[4]));
    }
    return packets;
}

// The "..." buttons of a sub page: fncOnClick(size, offset), in row order.
void AppendButtons(const std::string& html, Samples& out) {
    static const std::regex button(R"(fncOnClick\((\d+), (\d+)\))");
    for (std::sregex_iterator it(html.begin(), html.end(), button), stop; it != stop; ++it)
        out.emplace_back(std::stoull((*it)[2]), std::stoull((*it)[1]));
}

// All the sub pages of one list, in order.
template <class Write>
void AppendAllPages(uint64_t count, Write write, Samples& out) {
    const std::string path = TempDir() + "/corpus_subpage.html";
    for (uint32_t k = 0; uint64_t(k) * kRowsPerSubPage < count; ++k) {
        write(path, k);
        AppendButtons(ReadText(path), out);
    }
}

std::vector<const CBox*> TopLevel(const CCorvel& p, uint32_t type) {
    std::vector<const CBox*> list;
    for (size_t i = 0; i < p.GetBoxCount(); ++i)
        if (p.GetBox(i)->m_type == type) list.push_back(p.GetBox(i));
    return list;
}

// The track samples pages of each trak of the first moov.
std::map<int, Samples> TrackPages(const CCorvel& p) {
    std::map<int, Samples> tracks;
    ReportPage page("", "", "");
    auto moovs = TopLevel(p, FourCC("moov"));
    if (moovs.empty()) return tracks;
    int stream = 0;
    for (const auto& trak : moovs[0]->m_children) {
        if (trak->m_type != FourCC("trak")) continue;
        std::vector<const CBox*> stbls;
        FindBoxes(*trak, FourCC("stbl"), stbls);
        Samples& s = tracks[stream++];
        for (const CBox* stbl : stbls)
            AppendAllPages(
                TrackSampleCount(*stbl),
                [&](const std::string& path, uint32_t k) { WriteTrackSamplesSubPage(page, *stbl, path, k); }, s);
    }
    return tracks;
}

// The fragment pages of every traf of every moof, by track: stream i is the
// (i+1)-th trak of the moov (its track id found in the tkhd).
std::map<int, Samples> FragmentPages(const CCorvel& p) {
    std::map<uint32_t, int> streamOfTrack;
    auto moovs = TopLevel(p, FourCC("moov"));
    if (!moovs.empty()) {
        std::vector<const CBox*> tkhds;
        FindBoxes(*moovs[0], FourCC("tkhd"), tkhds);
        for (size_t i = 0; i < tkhds.size(); ++i)
            if (auto* t = dynamic_cast<const CTrackHeaderBox*>(tkhds[i])) streamOfTrack[t->m_trackID] = int(i);
    }
    std::map<int, Samples> tracks;
    ReportPage page("", "", "");
    for (const CBox* moof : TopLevel(p, FourCC("moof"))) {
        const CBox* mdat = FindMediaDataOf(p, *moof);
        for (const auto& traf : moof->m_children) {
            if (traf->m_type != FourCC("traf")) continue;
            auto* tfhd = dynamic_cast<const CTrackFragmentHeaderBox*>(traf->RetrieveChildBox(FourCC("tfhd"), true));
            if (!tfhd) continue;
            const uint32_t id = tfhd->m_trackId;
            const int stream = streamOfTrack.count(id) ? streamOfTrack[id] : int(id) - 1;
            AppendAllPages(
                FragmentSampleCount(*traf),
                [&](const std::string& path, uint32_t k) {
                    WriteFragmentSamplesSubPage(page, *traf, path, k, moof, mdat, &p);
                },
                tracks[stream]);
        }
    }
    return tracks;
}

// A track's samples: those of its sample table, then those of its fragments.
void ExpectPagesMatchPackets(const std::string& name) {
    SCOPED_TRACE(name);
    CCorvelLib lib;
    ASSERT_EQ(lib.Init(CorpusPath(name)), 0);
    lib.Go();
    const std::map<int, Samples> packets = Packets(name);
    ASSERT_FALSE(packets.empty());
    std::map<int, Samples> pages = TrackPages(*lib.Parser());
    for (auto& [stream, samples] : FragmentPages(*lib.Parser()))
        pages[stream].insert(pages[stream].end(), samples.begin(), samples.end());
    for (const auto& [stream, expected] : packets) {
        SCOPED_TRACE("stream " + std::to_string(stream));
        const Samples& got = pages[stream];
        ASSERT_EQ(got.size(), expected.size());
        for (size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], expected[i]) << "sample " << i + 1;
    }
}
}  // namespace

// Files where ffprobe's packets are not the file's samples: it skips empty text
// samples (avc_movtext), merges PCM samples of a chunk (go-mp4 qt), adds cover art
// as a packet or repeats one (big_buck_bunny, mp4parse metadata, test-pod), reads
// images as items (avif), stops at the end of a cut file (truncated_mdat), or
// reads no MP4 at all (flv).
const char* const kPacketsDiffer[] = {"avc_movtext.mp4",
                                      "flv_ffmpeg.flv",
                                      "pub_go-mp4_sample_qt.mp4",
                                      "pub_mp4-rust_big_buck_bunny_metadata.m4v",
                                      "pub_mp4parse-rust_bug-1655846.avif",
                                      "pub_mp4parse-rust_metadata.mp4",
                                      "pub_mp4parse-rust_valid-alpha.avif",
                                      "pub_mp4parse-rust_valid.avif",
                                      "pub_mp4parser_test-pod.m4a",
                                      "truncated_mdat.mp4"};

// Progressive files (sample tables), fragmented ones (movie fragments, smooth.ismv
// included) and mixed ones alike.
TEST(CorpusSampleOffsets, SamplePagesMatchFfprobePackets) {
    int checked = 0;
    for (const std::string& name : CorpusFiles()) {
        if (ReadText(CorpusRef(name, "packets.csv")).empty()) continue;
        if (std::find(std::begin(kPacketsDiffer), std::end(kPacketsDiffer), name) != std::end(kPacketsDiffer)) continue;
        ExpectPagesMatchPackets(name);
        ++checked;
    }
    EXPECT_GE(checked, 40);
}
