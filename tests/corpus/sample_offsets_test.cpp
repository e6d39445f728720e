// Every sample offset and size of the sample sub pages against the packets that
// ffprobe reads from the same corpus file (ref/NAME.packets.csv).
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

#include "boxes/containers/corvel.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "report/sample_pages.h"
#include "support/box_builder.h"
#include "support/corpus.h"

namespace {
using Samples = std::vector<std::pair<uint64_t, uint64_t>>;  // (offset, size) in order

// ffprobe's packets by stream index: "stream,pts,dts,duration,size,pos,flags"; a packet
// without size or position (N/A) is left out.
std::map<int, Samples> Packets(const std::string& csv) {
    static const std::regex packet(R"((?:^|\n)(\d+),[^,\n]*,[^,\n]*,[^,\n]*,(\d+),(\d+))");
    std::map<int, Samples> packets;
    for (std::sregex_iterator it(csv.begin(), csv.end(), packet), stop; it != stop; ++it)
        packets[std::stoi((*it)[1])].emplace_back(std::stoull((*it)[3]), std::stoull((*it)[2]));
    return packets;
}

// The "..." buttons, fncOnClick(size, offset), of all the sub pages of one list, in row order.
template <class Write>
void AppendAllPages(uint64_t count, Write write, Samples& out) {
    static const std::regex button(R"(fncOnClick\((\d+), (\d+)\))");
    const std::string path = TempDir() + "/corpus_subpage.html";
    for (uint32_t k = 0; uint64_t(k) * kRowsPerSubPage < count; ++k) {
        write(path, k);
        const std::string html = ReadText(path);
        for (std::sregex_iterator it(html.begin(), html.end(), button), stop; it != stop; ++it)
            out.emplace_back(std::stoull((*it)[2]), std::stoull((*it)[1]));
    }
}

// The sample pages by stream: stream i is the (i+1)-th trak of the first moov, with the
// samples of its sample table, then those of its fragments (matched by the tkhd track id).
std::map<int, Samples> SamplePages(const CCorvel& p) {
    std::map<int, Samples> tracks;
    std::map<uint32_t, int> streamOfTrack;
    ReportPage page("", "", "");
    const CBox* moov = nullptr;
    for (size_t i = 0; !moov && i < p.GetBoxCount(); ++i)
        if (p.GetBox(i)->m_type == FourCC("moov")) moov = p.GetBox(i);
    int stream = 0;
    for (size_t i = 0; moov && i < moov->GetChildCount(); ++i) {
        const CBox* trak = moov->GetChild(i);
        if (trak->m_type != FourCC("trak")) continue;
        if (auto* t = dynamic_cast<const CTrackHeaderBox*>(trak->RetrieveChildBox(FourCC("tkhd"), true)))
            streamOfTrack[t->m_trackID] = stream;
        std::vector<const CBox*> stbls;
        FindBoxes(*trak, FourCC("stbl"), stbls);
        Samples& s = tracks[stream++];
        for (const CBox* stbl : stbls)
            AppendAllPages(
                TrackSampleCount(*stbl),
                [&](const std::string& path, uint32_t k) { WriteTrackSamplesSubPage(page, *stbl, path, k); }, s);
    }
    for (size_t i = 0; i < p.GetBoxCount(); ++i) {
        const CBox* moof = p.GetBox(i);
        if (moof->m_type != FourCC("moof")) continue;
        const CBox* mdat = FindMediaDataOf(p, *moof);
        for (const auto& traf : moof->m_children) {
            auto* tfhd = dynamic_cast<const CTrackFragmentHeaderBox*>(traf->RetrieveChildBox(FourCC("tfhd"), true));
            if (traf->m_type != FourCC("traf") || !tfhd) continue;
            const uint32_t id = tfhd->m_trackId;
            AppendAllPages(
                FragmentSampleCount(*traf),
                [&](const std::string& path, uint32_t k) {
                    WriteFragmentSamplesSubPage(page, *traf, path, k, moof, mdat, &p);
                },
                tracks[streamOfTrack.count(id) ? streamOfTrack[id] : int(id) - 1]);
        }
    }
    return tracks;
}

}  // namespace

// Files where ffprobe's packets are not the file's samples: it skips empty text
// samples (avc_movtext), merges PCM samples of a chunk (go-mp4 qt), adds cover art
// as a packet or repeats one (big_buck_bunny, mp4parse metadata, test-pod), reads
// images as items (avif), stops at the end of a cut file (truncated_mdat), or
// reads no MP4 at all (flv).
const std::set<std::string> kPacketsDiffer = {
    "avc_movtext.mp4", "flv_ffmpeg.flv", "pub_go-mp4_sample_qt.mp4", "pub_mp4-rust_big_buck_bunny_metadata.m4v",
    "pub_mp4parse-rust_bug-1655846.avif", "pub_mp4parse-rust_metadata.mp4", "pub_mp4parse-rust_valid-alpha.avif",
    "pub_mp4parse-rust_valid.avif", "pub_mp4parser_test-pod.m4a", "truncated_mdat.mp4"};

// Progressive files (sample tables), fragmented ones (movie fragments, smooth.ismv
// included) and mixed ones alike.
TEST(CorpusSampleOffsets, SamplePagesMatchFfprobePackets) {
    int checked = 0;
    for (const std::string& name : CorpusFiles()) {
        const std::map<int, Samples> packets = Packets(ReadText(CorpusRef(name, "packets.csv")));
        if (packets.empty() || kPacketsDiffer.count(name)) continue;
        SCOPED_TRACE(name);
        CCorvelLib lib;
        ASSERT_EQ(lib.Init(CorpusPath(name)), 0);
        lib.Go();
        std::map<int, Samples> pages = SamplePages(*lib.Parser());
        for (const auto& [stream, expected] : packets) {
            SCOPED_TRACE("stream " + std::to_string(stream));
            const Samples& got = pages[stream];
            ASSERT_EQ(got.size(), expected.size());
            for (size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], expected[i]) << "sample " << i + 1;
        }
        ++checked;
    }
    EXPECT_GE(checked, 40);
}
