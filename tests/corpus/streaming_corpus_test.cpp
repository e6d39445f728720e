// The streaming boxes and FLV tags of the corpus against independent values: the
// generator's of the hand-made F4F, ffprobe's view of the FLV tags (inside the F4F
// mdats and of the plain FLV files) and of the Smooth Streaming fragments.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <map>
#include <regex>

#include "boxes/containers/corvel.h"
#include "boxes/containers/media_data_box.h"
#include "boxes/streaming/bootstrap_info_box.h"
#include "boxes/streaming/fragment_random_access_box.h"
#include "boxes/streaming/run_table_boxes.h"
#include "boxes/streaming/smooth_streaming_boxes.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "flv/flv_tag.h"
#include "flv/tag_bodies.h"
#include "report/flv_tag_page.h"
#include "report/page_test_util.h"
#include "samples/sample_context.h"
#include "support/cli_run.h"

namespace {
struct Opened {
    CCorvelLib lib;
    int status = -2;
    explicit Opened(const std::string& name) {
        if (lib.Init(CorpusPath(name)) == 0) status = lib.Go();
    }
    const CCorvel& P() const { return *lib.Parser(); }
    std::vector<const CBox*> All(uint32_t type) const {
        std::vector<const CBox*> list;
        for (size_t i = 0; i < P().GetBoxCount(); ++i) FindBoxes(*P().GetBox(i), type, list);
        return list;
    }
    const CMediaDataBox& FlvMdat() const {
        for (const CBox* box : All(FourCC("mdat")))
            if (auto* mdat = dynamic_cast<const CMediaDataBox*>(box); mdat && mdat->GetTagCount()) return *mdat;
        throw std::runtime_error("no mdat of FLV tags");
    }
};

// Every match of `pattern` in `text`, each as its groups.
std::vector<std::vector<std::string>> Matches(const std::string& text, const std::string& pattern) {
    std::vector<std::vector<std::string>> out;
    const std::regex re(pattern);
    for (std::sregex_iterator it(text.begin(), text.end(), re), stop; it != stop; ++it)
        out.emplace_back(it->begin() + 1, it->end());
    return out;
}
uint64_t N(const std::string& s) { return std::stoull(s); }

// A packet as ffprobe reads it from FLV: tag type, times, payload size and the tag's position.
struct Packet {
    uint32_t type;
    int64_t pts, dts;
    uint64_t size, pos;
};
// "packet|codec_type=video|...|pts=46|...|dts=6|...|size=2124|pos=385|..." lines.
std::vector<Packet> FfprobeFlvPackets(const std::string& text) {
    std::vector<Packet> out;
    for (const auto& m : Matches(text, R"(packet\|codec_type=(\w+)\|[^\n]*?\|pts=(-?\d+)\|[^\n]*?\|dts=(-?\d+)\|)"
                                       R"([^\n]*?\|size=(\d+)\|pos=(\d+)\|)"))
        out.push_back({m[0] == "video" ? 9u : 8u, std::stoll(m[1]), std::stoll(m[2]), N(m[3]), N(m[4])});
    return out;
}
// packets.csv: "stream,pts,dts,duration,size,pos,flags"; stream 0 video, 1 audio.
std::vector<Packet> CsvPackets(const std::string& text) {
    std::vector<Packet> out;
    for (const auto& m : Matches(text, R"((?:^|\n)(\d),(-?\d+),(-?\d+),[^,]*,(\d+),(\d+),)"))
        out.push_back({m[0] == "0" ? 9u : 8u, std::stoll(m[1]), std::stoll(m[2]), N(m[3]), N(m[4])});
    return out;
}

// The AVC and AAC sequence headers of a list of tags, or null.
const CAVCDecoderConfigurationRecord* AvcConfig(const std::vector<const CFLVTag*>& tags) {
    for (const CFLVTag* t : tags)
        if (auto* v = dynamic_cast<const CVideoTagBody*>(t->m_body.get());
            v && v->m_avcPacket && v->m_avcPacket->m_configRecord)
            return v->m_avcPacket->m_configRecord.get();
    return nullptr;
}
const CAudioSpecificConfig* AacConfig(const std::vector<const CFLVTag*>& tags) {
    for (const CFLVTag* t : tags)
        if (auto* a = dynamic_cast<const CAACTagBody*>(t->m_body.get()); a && a->m_audioSpecificConfig)
            return a->m_audioSpecificConfig.get();
    return nullptr;
}
uint32_t SamplingRate(uint32_t index) {
    static const uint32_t rates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000, 22050, 16000, 12000, 11025, 8000};
    return index < 12 ? rates[index] : 0;
}

// The tags against ffprobe: every packet is the payload of the tag at its position (less
// `shift`), after the 5 bytes of an AVC or the 2 of an AAC tag's header; every other tag
// is a sequence header or script data.
void ExpectPackets(const std::vector<const CFLVTag*>& tags, const std::vector<Packet>& packets, int64_t shift) {
    std::map<int64_t, const CFLVTag*> byOffset;
    size_t media = 0;
    for (const CFLVTag* t : tags) {
        byOffset[t->m_startOffset] = t;
        auto* video = dynamic_cast<const CVideoTagHeader*>(t->m_tagHeader.get());
        auto* audio = dynamic_cast<const CAudioTagHeader*>(t->m_tagHeader.get());
        media += (video && video->m_avcPacketType == 1) || (audio && audio->m_aacPacketType == 1);
    }
    EXPECT_EQ(media, packets.size());
    for (const Packet& p : packets) {
        SCOPED_TRACE("packet at " + std::to_string(p.pos));
        auto it = byOffset.find(int64_t(p.pos) + shift);
        ASSERT_NE(it, byOffset.end());
        const CFLVTag& tag = *it->second;
        EXPECT_EQ(tag.m_tagType, p.type);
        EXPECT_EQ(int64_t(tag.Timestamp()), p.dts);
        EXPECT_EQ(tag.m_dataSize, p.size + (p.type == 9 ? 5 : 2));
        if (auto* video = dynamic_cast<const CVideoTagHeader*>(tag.m_tagHeader.get())) {
            EXPECT_EQ(video->CompositionTime(), p.pts - p.dts);
        }
        EXPECT_TRUE(tag.m_dataRead);
    }
}

std::vector<const CFLVTag*> TagsOf(const CMediaDataBox& mdat) {
    std::vector<const CFLVTag*> tags;
    for (size_t i = 0; i < mdat.GetTagCount(); ++i) tags.push_back(mdat.GetTag(i));
    return tags;
}

// `key=value` of ffprobe's stream line of a codec type.
std::string StreamField(const std::string& text, const std::string& type, const std::string& key) {
    const auto m = Matches(text, "stream\\|[^\\n]*codec_type=" + type + "[^\\n]*\\|" + key + "=([^|\\n]*)");
    return m.empty() ? "" : m[0][0];
}
}  // namespace

TEST(CorpusStreaming, HandMadeF4fMatchesItsGenerator) {
    const std::string ref = ReadText(CorpusRef("f4f_handmade.f4f", "generator-values.txt"));
    const std::string file = ReadText(CorpusPath("f4f_handmade.f4f"));
    ASSERT_FALSE(ref.empty());
    const Opened f("f4f_handmade.f4f");
    ASSERT_EQ(f.status, 0);
    const auto boxes = Matches(ref, R"(box (\w+) at (\d+), size (\d+))");
    ASSERT_EQ(boxes.size(), f.P().GetBoxCount());
    for (size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_EQ(f.P().GetBox(i)->TypeText(), boxes[i][0]);
        EXPECT_EQ(f.P().GetBox(i)->m_startOffset, int64_t(N(boxes[i][1])));
        EXPECT_EQ(f.P().GetBox(i)->BoxSize(), N(boxes[i][2]));
        EXPECT_EQ(f.P().GetBox(i)->m_unreadBytes, 0u);
    }
    auto field = [&](const std::string& key) {
        const auto m = Matches(ref, "'" + key + "': ([^,\\n}]+)");
        return m.empty() ? std::string("?") : m[0][0];
    };

    auto& abst = dynamic_cast<const CBootStrapInfoBox&>(*f.All(FourCC("abst")).at(0));
    EXPECT_EQ(std::to_string(abst.m_BootstrapinfoVersion), field("bootstrap_version"));
    EXPECT_EQ(std::to_string(abst.m_CurrentMediaTime), field("current_time"));
    EXPECT_EQ(std::to_string(abst.m_Live), field("live"));
    EXPECT_EQ(std::to_string(abst.m_Update), field("update"));
    EXPECT_EQ(std::to_string(abst.m_Profile), field("profile"));
    EXPECT_EQ(std::to_string(abst.m_SmpteTimeCodeOffset), field("smpte_offset"));
    EXPECT_EQ(std::to_string(abst.m_TimeScale), field("timescale"));
    EXPECT_EQ("'" + abst.GetMovieIdentifier() + "'", field("movie_id"));
    EXPECT_EQ("'" + abst.GetDrmData() + "'", field("drm"));
    EXPECT_EQ("'" + abst.GetMetaData() + "'", field("metadata"));
    EXPECT_EQ("['" + abst.GetServerEntry(0)->data + "']", field("servers"));
    EXPECT_EQ("['" + abst.GetQualityEntry(0)->data + "']", field("qualities"));
    // The run tables stand where the generator wrote them and are read to their ends.
    for (const auto& [type, code] :
         {std::pair<std::string, uint32_t>{"asrt", FourCC("asrt")}, {"afrt", FourCC("afrt")}}) {
        const auto m = Matches(ref, type + R"( box, (\d+) bytes, payload hex[\s']*([0-9a-f]+))");
        const CBox& table = *f.All(code).at(0);
        ASSERT_EQ(m.size(), 1u);
        EXPECT_EQ(table.BoxSize(), N(m[0][0]));
        std::string hex = FormatBytesText(reinterpret_cast<const uint8_t*>(file.data()) + table.m_startOffset + 8,
                                          table.BoxSize() - 8);
        hex = std::regex_replace(hex, std::regex("0x| "), "");
        EXPECT_EQ(hex, m[0][1]);
        EXPECT_EQ(table.m_unreadBytes, 0u);
    }
    auto& asrt = dynamic_cast<const CSegmentRunTableBox&>(*f.All(FourCC("asrt")).at(0));
    EXPECT_EQ("['" + asrt.m_qualitySegmentUrlModifiers.at(0) + "']", field("qualities"));
    auto& afrt = dynamic_cast<const CFragmentRunTableBox&>(*f.All(FourCC("afrt")).at(0));
    EXPECT_EQ(std::to_string(afrt.m_TimeScale), field("timescale"));

    // The tags, their sizes after them, and the onMetaData properties in file order.
    const CMediaDataBox& mdat = f.FlvMdat();
    const auto tags = Matches(ref, R"(FLV tag at (\d+): type (\d+), data size (\d+), timestamp (\d+))");
    const auto sizes = Matches(ref, R"(PreviousTagSize at \d+ = (\d+))");
    ASSERT_EQ(mdat.GetTagCount(), tags.size());
    ASSERT_EQ(mdat.m_prevTagSizes.size(), sizes.size());
    int64_t videoTag = -1;
    for (size_t i = 0; i < tags.size(); ++i) {
        const CFLVTag& t = *mdat.GetTag(i);
        EXPECT_EQ(t.m_startOffset, int64_t(N(tags[i][0])));
        EXPECT_EQ(t.m_tagType, N(tags[i][1]));
        EXPECT_EQ(t.m_dataSize, N(tags[i][2]));
        EXPECT_EQ(t.Timestamp(), N(tags[i][3]));
        EXPECT_EQ(mdat.GetPrevTagSize(i), N(sizes[i][0]));
        if (t.m_tagType == 9) videoTag = t.m_startOffset;
    }
    const std::string props = ref.substr(ref.find("onMetaData ECMA array"));
    const auto expected = Matches(props.substr(0, props.find("AAC sequence")), R"(\('(\w+)', ([^)]+)\))");
    const auto& entries = dynamic_cast<const CScriptDataTag&>(*mdat.GetTag(0)->m_body).m_second.entries;
    ASSERT_EQ(entries.size(), expected.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(expected[i][0]);
        const CAmf0Value& v = entries[i]->value;
        EXPECT_EQ(entries[i]->key, expected[i][0]);
        const std::string& want = expected[i][1];
        if (want == "True" || want == "False")
            EXPECT_EQ(v.boolean, want == "True" ? 1u : 0u);
        else if (want[0] == '\'')
            EXPECT_EQ("'" + v.text + "'", want);
        else
            EXPECT_EQ(v.Number(), std::stod(want));
    }

    // The afra's entries point at the AVC sequence header, the global one from the afra.
    auto& afra = dynamic_cast<const CFragmentRandomAccessBox&>(*f.All(FourCC("afra")).at(0));
    EXPECT_EQ(std::to_string(afra.m_LongIDs), field("long_ids"));
    EXPECT_EQ(std::to_string(afra.m_LongOffsets), field("long_offsets"));
    EXPECT_EQ(afra.GetLocalEntry(0)->offset, uint64_t(videoTag));
    const auto* global = afra.GetGlobalEntry(0);
    ASSERT_NE(global, nullptr);
    EXPECT_EQ(global->segment, 1u);
    EXPECT_EQ(global->fragment, 1u);
    EXPECT_EQ(global->afraOffset, uint64_t(afra.m_startOffset));
    EXPECT_EQ(global->afraOffset + global->offsetFromAfra, uint64_t(videoTag));
}

TEST(CorpusStreaming, FlvTagsMatchFfprobe) {
    // Inside F4F mdats: ffprobe read the mdat's payload behind a 13-byte FLV header.
    for (const std::string name : {"f4f_handmade.f4f", "hds_abst_frag1.f4f"}) {
        SCOPED_TRACE(name);
        const Opened f(name);
        ASSERT_EQ(f.status, 0);
        const std::string ref = ReadText(CorpusRef(name, "ffprobe-flv.txt"));
        const CMediaDataBox& mdat = f.FlvMdat();
        const auto tags = TagsOf(mdat);
        ExpectPackets(tags, FfprobeFlvPackets(ref), mdat.m_startOffset + 8 - 13);
        EXPECT_EQ(FfprobeFlvPackets(ref).size(), name == "f4f_handmade.f4f" ? 0u : 47u);
        ASSERT_TRUE(AvcConfig(tags) && AacConfig(tags));
        // ffprobe's extradata is the record of the AVC sequence header: its tag's data but
        // the 5 bytes of the video tag header.
        for (const CFLVTag* t : tags) {
            if (AvcConfig({t})) {
                EXPECT_EQ(std::to_string(t->m_dataSize - 5), StreamField(ref, "video", "extradata_size"));
            }
        }
        EXPECT_EQ(std::to_string(SamplingRate(AacConfig(tags)->m_samplingFrequencyIndex)),
                  StreamField(ref, "audio", "sample_rate"));
        EXPECT_EQ(std::to_string(AacConfig(tags)->m_channelConfiguration), StreamField(ref, "audio", "channels"));
    }
    // The hand-made F4F's metadata as ffprobe's format tags.
    const Opened f("f4f_handmade.f4f");
    const std::string page = Value(BuildFlvTagPage(f.FlvMdat(), 0, nullptr), "Script tag value - value");
    EXPECT_NE(page.find("- encoder : corpus hand-made F4F\n"), std::string::npos);
    EXPECT_NE(ReadText(CorpusRef("f4f_handmade.f4f", "ffprobe-flv.txt")).find("tag:encoder=corpus hand-made F4F"),
              std::string::npos);

    // The tag reader on its own, over the tags of the plain FLV files (after their
    // 9-byte header and first previous-tag-size).
    for (const std::string name : {"flv_ffmpeg.flv", "flv_plain_handmade.flv"}) {
        SCOPED_TRACE(name);
        const std::string bytes = ReadText(CorpusPath(name));
        CBitStreamReader reader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size() * 8);
        reader.SkipBits(13 * 8);
        CBox header;
        header.m_type = FourCC("mdat");
        CMediaDataBox mdat(header, true);
        ASSERT_EQ(mdat.ParseBox(reader), 0);
        const auto tags = TagsOf(mdat);
        const std::string csv = ReadText(CorpusRef(name, "packets.csv"));
        if (!csv.empty()) ExpectPackets(tags, CsvPackets(csv), 0);
        const std::string json = ReadText(CorpusRef(name, "ffprobe.json"));
        ASSERT_TRUE(AvcConfig(tags) && AacConfig(tags));
        EXPECT_NE(json.find("\"sample_rate\": \"" +
                            std::to_string(SamplingRate(AacConfig(tags)->m_samplingFrequencyIndex)) + "\""),
                  std::string::npos);
        EXPECT_NE(json.find("\"channels\": " + std::to_string(AacConfig(tags)->m_channelConfiguration)),
                  std::string::npos);
        // onMetaData's duration is ffprobe's.
        const auto& meta = dynamic_cast<const CScriptDataTag&>(*tags.at(0)->m_body).m_second;
        ASSERT_GT(meta.entries.size(), 0u);
        EXPECT_EQ(meta.entries[0]->key, "duration");
        EXPECT_NE(json.find(Format("\"duration\": \"%.6f\"", meta.entries[0]->value.Number())), std::string::npos);
    }
}

TEST(CorpusStreaming, HdsBootstrapsWrittenByFfmpeg) {
    for (const std::string name : {"hds_stream0.abst", "hds_abst_frag1.f4f"}) {
        SCOPED_TRACE(name);
        const Opened f(name);
        ASSERT_EQ(f.status, 0);
        auto& abst = dynamic_cast<const CBootStrapInfoBox&>(*f.All(FourCC("abst")).at(0));
        ASSERT_EQ(abst.GetChildCount(), 2u);
        auto& afrt = dynamic_cast<const CFragmentRunTableBox&>(*abst.GetChild(1));
        EXPECT_EQ(abst.m_unreadBytes + afrt.m_unreadBytes + abst.GetChild(0)->m_unreadBytes, 0u);
        // The fragments run back to back up to the presentation's current time.
        uint64_t end = 0;
        for (const auto& e : afrt.m_entries) {
            EXPECT_EQ(e.firstFragmentTimestamp, end);
            end += e.fragmentDuration;
        }
        EXPECT_EQ(end, abst.m_CurrentMediaTime);
    }
    // The fragment file alone has no afra or abst: its mdat is opaque media data.
    const Opened fragment("hds_stream0Seg1-Frag1");
    EXPECT_EQ(fragment.status, 0);
    EXPECT_EQ(dynamic_cast<const CMediaDataBox&>(*fragment.P().GetBox(0)).GetTagCount(), 0u);
}

// Each tfxd tells its fragment's start and length. ffprobe's video packets start each
// fragment there and fill it exactly; its audio decode times sit one AAC frame later
// (the muxer writes the priming frame's time as negative), and the last audio fragment
// ends at the presentation's end rather than at its last frame's.
TEST(CorpusStreaming, TfxdTimesMatchFfprobePackets) {
    const Opened f("smooth.ismv");
    ASSERT_EQ(f.status, 0);
    const std::string csv = ReadText(CorpusRef("smooth.ismv", "packets.csv"));
    const auto packets = Matches(csv, R"((?:^|\n)(\d),(-?\d+),(-?\d+),([^,]*),\d+,(\d+),)");
    std::map<uint32_t, int64_t> audioShift;
    int fragments = 0;
    for (const CBox* traf : f.All(FourCC("traf"))) {
        const CBox* tfxd = nullptr;
        for (const auto& child : traf->m_children)
            if (dynamic_cast<const CTfxdBox*>(child.get())) tfxd = child.get();
        ASSERT_NE(tfxd, nullptr);
        const auto& times = static_cast<const CTfxdBox&>(*tfxd);
        auto* tfhd = dynamic_cast<const CTrackFragmentHeaderBox*>(traf->RetrieveChildBox(FourCC("tfhd"), true));
        ASSERT_NE(tfhd, nullptr);
        const std::string stream = std::to_string(tfhd->m_trackId - 1);
        // The fragment's packets: those in the mdat after its moof.
        const CBox* moof = nullptr;
        for (const CBox* m : f.All(FourCC("moof")))
            if (FindBox(*m, traf->m_id)) moof = m;
        const CBox* mdat = f.P().MediaDataOf(*moof);
        int64_t first = INT64_MIN, sum = 0;
        for (const auto& p : packets) {
            const uint64_t pos = N(p[4]);
            if (p[0] != stream || pos < uint64_t(mdat->m_startOffset) ||
                pos >= uint64_t(mdat->m_startOffset) + mdat->BoxSize())
                continue;
            if (first == INT64_MIN) first = std::stoll(p[2]);
            sum += p[3] == "N/A" ? 0 : std::stoll(p[3]);
        }
        const int64_t time = static_cast<int64_t>(times.m_fragmentAbsoluteTime);
        if (stream == "0") {
            EXPECT_EQ(time, first);
            EXPECT_EQ(int64_t(times.m_fragmentDuration), sum);
        } else {
            if (!audioShift.count(tfhd->m_trackId)) audioShift[tfhd->m_trackId] = first - time;
            EXPECT_EQ(first - time, audioShift[tfhd->m_trackId]);
        }
        ++fragments;
    }
    EXPECT_EQ(fragments, 4);
    ASSERT_EQ(audioShift.size(), 1u);
    EXPECT_EQ(audioShift.begin()->second, 464399);  // 1024 samples at 22050 Hz in 1/10000000 s
}

// Every FLV tag of every F4F file of the corpus has its page, here and from corvel.
TEST(CorpusStreaming, EveryFlvTagHasItsPage) {
    int pages = 0;
    for (const std::string& name : CorpusFiles()) {
        const Opened f(name);
        if (f.status == -2) continue;
        for (const CBox* box : f.All(FourCC("mdat"))) {
            auto* mdat = dynamic_cast<const CMediaDataBox*>(box);
            for (uint32_t k = 0; mdat && k < mdat->GetTagCount(); ++k, ++pages) {
                const PageModel page = BuildFlvTagPage(*mdat, k, nullptr);
                ASSERT_GE(page.tables.size(), 2u) << name << " tag " << k;
                EXPECT_EQ(page.tables[0].rows.at(0).value.Plain(), I64Text(mdat->GetTag(k)->m_startOffset));
            }
        }
    }
    EXPECT_EQ(pages, 3 + 49);

    const std::string file = CorpusPath("hds_abst_frag1.f4f"), out = TempDir() + "/flv_tag.html";
    CliRun run = RunCorvel("subpage " + file + " mdat 48 -o " + out);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(ReadText(out).find(">11967 (0X00002EBF)</td>"), std::string::npos);  // ffprobe: pos 11850 + 117
    run = RunCorvel("samples " + file + " mdat");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n', run.out.find('\n') + 1)),
              "index,type,timestamp,data_size,offset\n0,9,0,51,130");
    EXPECT_NE(run.out.find("\n48,8,975,149,11967\n"), std::string::npos);
}
