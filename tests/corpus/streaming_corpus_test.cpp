// The streaming boxes and FLV tags of the corpus against independent values: the
// generator's of the hand-made F4F, ffprobe's view of the FLV tags (inside the F4F
// mdats and of the plain FLV files) and of the Smooth Streaming fragments.
#include <gtest/gtest.h>

#include "boxes/streaming/bootstrap_info_box.h"
#include "boxes/streaming/fragment_random_access_box.h"
#include "boxes/streaming/run_table_boxes.h"
#include "boxes/streaming/smooth_streaming_boxes.h"
#include "boxes/containers/media_data_box.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "corpus/corpus_refs.h"
#include "flv/flv_tag.h"
#include "flv/tag_bodies.h"
#include "report/flv_tag_page.h"
#include "report/page_test_util.h"
#include "samples/sample_context.h"
#include "support/cli_run.h"

namespace {
const CMediaDataBox& FlvMdat(const CorpusFile& f) {
    for (const CMediaDataBox* mdat : f.All<CMediaDataBox>(FourCC("mdat")))
        if (mdat->GetTagCount()) return *mdat;
    throw std::runtime_error("no mdat of FLV tags");
}

// ffprobe's FLV packets, video as stream 0 and audio as stream 1 as in packets.csv:
// "packet|codec_type=video|...|pts=46|...|dts=6|...|size=2124|pos=385|..." lines.
std::vector<Packet> FfprobeFlvPackets(const std::string& text) {
    std::vector<Packet> out;
    for (const auto& m : Matches(text, R"(packet\|codec_type=(\w+)\|[^\n]*?\|pts=(-?\d+)\|[^\n]*?\|dts=(-?\d+)\|)"
                                       R"([^\n]*?\|size=(\d+)\|pos=(\d+)\|)"))
        out.push_back({m[0] == "video" ? 0 : 1, std::stoll(m[1]), std::stoll(m[2]), 0, std::stoull(m[3]),
                       std::stoull(m[4]), false});
    return out;
}

// The tags against ffprobe: every packet is the payload of the tag at its position (less
// `shift`), after the 5 bytes of an AVC or the 2 of an AAC tag's header; every other tag
// is a sequence header or script data.
void ExpectPackets(const CMediaDataBox& mdat, const std::vector<Packet>& packets, int64_t shift) {
    std::map<int64_t, const CFLVTag*> byOffset;
    size_t media = 0;
    for (const auto& t : mdat.Tags()) {
        byOffset[t->m_startOffset] = t.get();
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
        auto* video = dynamic_cast<const CVideoTagHeader*>(tag.m_tagHeader.get());
        // type, decode time, data size, presentation time less decode time
        EXPECT_EQ(std::make_tuple(tag.m_tagType, int64_t(tag.Timestamp()), uint64_t(tag.m_dataSize),
                                  video ? int64_t(video->CompositionTime()) : 0),
                  std::make_tuple(p.stream == 0 ? 9u : 8u, p.dts, p.size + (p.stream == 0 ? 5 : 2), p.pts - p.dts));
        EXPECT_TRUE(tag.m_dataRead);
    }
}

// A field of ffprobe's stream of a codec type, from its FLV dump or else its JSON.
std::string StreamField(const std::string& name, const std::string& type, const std::string& key) {
    std::string text = ReadText(CorpusRef(name, "ffprobe-flv.txt"));
    std::string pattern = "stream\\|[^\\n]*codec_type=" + type + "[^\\n]*\\|" + key + "=([^|\\n]*)";
    if (text.empty()) {
        text = ReadText(CorpusRef(name, "ffprobe.json"));
        pattern = "\"codec_type\": \"" + type + "\"[^}]*?\"" + key + "\": \"?([^\",\\n]*)";
    }
    const auto m = Matches(text, pattern);
    return m.empty() ? "" : m[0][0];
}
}  // namespace

TEST(CorpusStreaming, HandMadeF4fMatchesItsGenerator) {
    const std::string ref = ReadText(CorpusRef("f4f_handmade.f4f", "generator-values.txt"));
    const std::string file = ReadText(CorpusPath("f4f_handmade.f4f"));
    const CorpusFile f("f4f_handmade.f4f");
    ASSERT_EQ(f.status, 0);
    // The top-level boxes, the tags and the sizes after them, listed as the generator lists them.
    std::vector<std::string> ours, theirs;
    for (const auto& m : Matches(ref, R"((box \w+ at \d+, size \d+|PreviousTagSize at \d+ = \d+|)"
                                      R"(FLV tag at \d+: type \d+, data size \d+, timestamp \d+))"))
        theirs.push_back(m[0]);
    const CMediaDataBox& mdat = FlvMdat(f);
    EXPECT_EQ(mdat.PrevTagSizes().size(), mdat.GetTagCount());
    for (const CBox* box : f.Top()) {
        ours.push_back(Format("box %s at %lld, size %llu", box->TypeText().c_str(), (long long)box->m_startOffset,
                              (unsigned long long)box->BoxSize()));
        for (size_t i = 0; box == &mdat && i < mdat.GetTagCount(); ++i) {
            const CFLVTag& t = *mdat.GetTag(i);
            const long long end = t.m_startOffset + CFLVTag::kHeaderBytes + t.m_dataSize;
            ours.push_back(Format("FLV tag at %lld: type %u, data size %u, timestamp %u", (long long)t.m_startOffset,
                                  t.m_tagType, t.m_dataSize, t.Timestamp()));
            ours.push_back(Format("PreviousTagSize at %lld = %u", end, mdat.GetPrevTagSize(i)));
        }
    }
    EXPECT_EQ(ours, theirs);
    for (const CBox* box : f.All()) EXPECT_EQ(box->UnreadBytes(), 0u) << box->TypeText();  // all read to their ends

    const auto& abst = *f.All<CBootStrapInfoBox>().at(0);
    const auto& asrt = *f.All<CSegmentRunTableBox>().at(0);
    const auto& afrt = *f.All<CFragmentRunTableBox>().at(0);
    const auto& afra = *f.All<CFragmentRandomAccessBox>().at(0);
    using std::to_string;
    for (const auto& [key, ours] : std::vector<std::pair<std::string, std::string>>{
             {"bootstrap_version", to_string(abst.m_BootstrapinfoVersion)}, {"live", to_string(abst.m_Live)},
             {"current_time", to_string(abst.m_CurrentMediaTime)}, {"update", to_string(abst.m_Update)},
             {"profile", to_string(abst.m_Profile)}, {"smpte_offset", to_string(abst.m_SmpteTimeCodeOffset)},
             {"timescale", to_string(abst.m_TimeScale)}, {"timescale", to_string(afrt.m_TimeScale)},
             {"movie_id", "'" + abst.GetMovieIdentifier() + "'"}, {"drm", "'" + abst.GetDrmData() + "'"},
             {"metadata", "'" + abst.GetMetaData() + "'"}, {"servers", "['" + abst.GetServerEntry(0)->data + "']"},
             {"qualities", "['" + abst.GetQualityEntry(0)->data + "']"},
             {"qualities", "['" + asrt.m_qualitySegmentUrlModifiers.at(0) + "']"},
             {"long_ids", to_string(afra.m_LongIDs)}, {"long_offsets", to_string(afra.m_LongOffsets)}})
        EXPECT_EQ(ours, Matches(ref, "'" + key + "': ([^,\\n}]+)").at(0).at(0)) << key;
    // The page reads the current time as a date of seconds, as it always did;
    // its last table shows the time itself, the generator's 2000 (of 1000 a second).
    const PageModel page = PageOf(abst);
    EXPECT_EQ(Value(page, "Current Media Time"), "1970/01/01 00:33:20");
    ASSERT_EQ(page.tables.back().title, "More fields");
    EXPECT_EQ(page.tables.back().rows.at(0).label, "Current media time");
    EXPECT_EQ(page.tables.back().rows.at(0).value.Plain(), "2000 (0X000007D0)");
    // The run tables hold the generator's bytes.
    for (const CBox* table : {static_cast<const CBox*>(&asrt), static_cast<const CBox*>(&afrt)}) {
        const auto m = Matches(ref, table->TypeText() + R"( box, (\d+) bytes, payload hex[\s']*([0-9a-f]+))");
        ASSERT_EQ(m.size(), 1u);
        const auto* payload = reinterpret_cast<const uint8_t*>(file.data()) + table->m_startOffset + 8;
        const std::string hex = FormatBytesText(payload, table->BoxSize() - 8);
        EXPECT_EQ(to_string(table->BoxSize()) + " " + std::regex_replace(hex, std::regex("0x| "), ""),
                  m[0][0] + " " + m[0][1]);
    }

    // The onMetaData properties in file order.
    const std::string props = ref.substr(ref.find("onMetaData ECMA array"));
    const auto expected = Matches(props.substr(0, props.find("AAC sequence")), R"(\('(\w+)', ([^)]+)\))");
    const auto& entries = dynamic_cast<const CScriptDataTag&>(*mdat.GetTag(0)->m_body).m_second.entries;
    ASSERT_EQ(entries.size(), expected.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const CAmf0Value& v = entries[i]->value;
        const std::string& want = expected[i][1];
        EXPECT_EQ(entries[i]->key, expected[i][0]);
        EXPECT_TRUE(want == "True" || want == "False" ? v.boolean == (want == "True")
                    : want[0] == '\''                 ? "'" + v.text + "'" == want
                                                      : v.Number() == std::stod(want))
            << expected[i][0] << " " << want;
    }

    // The afra's entries point at the AVC sequence header (the second tag), the global one
    // (of the generator's segment 1 and fragment 1) from the afra.
    const uint64_t videoTag = mdat.GetTag(1)->m_startOffset;
    const auto* local = afra.GetLocalEntry(0);
    const auto* global = afra.GetGlobalEntry(0);
    ASSERT_TRUE(local && global);
    EXPECT_EQ(std::make_tuple(local->offset, global->segment, global->fragment, global->afraOffset,
                              global->afraOffset + global->offsetFromAfra),
              std::make_tuple(videoTag, 1u, 1u, uint64_t(afra.m_startOffset), videoTag));
}

// The tags inside the F4F mdats (ffprobe read the mdat's payload behind a 13-byte FLV
// header) and of the plain FLV files (read as an mdat's payload after their 9-byte header
// and first previous-tag-size) against ffprobe's packets and streams.
TEST(CorpusStreaming, FlvTagsMatchFfprobe) {
    int numbers = 0, soundTypes = 0;
    for (const std::string name :
         {"f4f_handmade.f4f", "hds_abst_frag1.f4f", "flv_ffmpeg.flv", "flv_plain_handmade.flv"}) {
        SCOPED_TRACE(name);
        const std::string f4fRef = ReadText(CorpusRef(name, "ffprobe-flv.txt"));
        const std::string bytes = ReadText(CorpusPath(name));
        const CorpusFile f(name);
        CBox header;
        header.m_type = FourCC("mdat");
        CMediaDataBox plain(header, true);
        if (f4fRef.empty()) {
            CBitStreamReader reader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size() * 8);
            reader.SkipBits(13 * 8);
            ASSERT_EQ(plain.ParseBox(reader), 0);
        }
        const CMediaDataBox& mdat = f4fRef.empty() ? plain : FlvMdat(f);
        const std::vector<Packet> packets = f4fRef.empty() ? PacketsCsv(name) : FfprobeFlvPackets(f4fRef);
        if (!packets.empty()) ExpectPackets(mdat, packets, f4fRef.empty() ? 0 : mdat.m_startOffset + 8 - 13);

        // ffprobe's extradata is the record of the AVC sequence header: its tag's data but
        // the 5 bytes of the video tag header.
        const CFLVTag* avcTag = nullptr;
        const CAudioSpecificConfig* aac = nullptr;
        for (const auto& t : mdat.Tags()) {
            auto* v = dynamic_cast<const CVideoTagBody*>(t->m_body.get());
            if (v && v->m_avcPacket && v->m_avcPacket->m_configRecord) avcTag = t.get();
            if (auto* a = dynamic_cast<const CAACTagBody*>(t->m_body.get()); a && a->m_audioSpecificConfig)
                aac = a->m_audioSpecificConfig.get();
        }
        ASSERT_TRUE(avcTag && aac);
        // The audio tags' sound type (in their last table) is MediaInfo's is_stereo of the
        // tag (it dumps the first tags of the plain FLV files).
        std::map<uint64_t, bool> stereo;
        for (const InfoLine& l : MediaInfoLines(name))
            if (l.label == "is_stereo") stereo[l.offset] = l.value.rfind("Yes", 0) == 0;
        for (uint32_t k = 0; k < mdat.GetTagCount(); ++k) {
            const CFLVTag& tag = *mdat.GetTag(k);
            const auto it = stereo.find(uint64_t(tag.m_startOffset) + CFLVTag::kHeaderBytes);
            if (!dynamic_cast<const CAudioTagHeader*>(tag.m_tagHeader.get()) || it == stereo.end()) continue;
            const PageModel page = BuildFlvTagPage(mdat, k, nullptr);
            ASSERT_EQ(page.tables.back().title, "More fields");
            EXPECT_EQ(Value(page, "Sound type"), U32Text(it->second));
            ++soundTypes;
        }
        for (const auto& [type, key, ours] : std::vector<std::tuple<std::string, std::string, uint32_t>>{
                 {"video", "extradata_size", avcTag->m_dataSize - 5},
                 {"audio", "sample_rate", SamplingRate(aac->m_samplingFrequencyIndex)},
                 {"audio", "channels", aac->m_channelConfiguration}})
            EXPECT_EQ(std::to_string(ours), StreamField(name, type, key)) << key;
        // onMetaData's duration is ffprobe's.
        if (auto* script = dynamic_cast<const CScriptDataTag*>(mdat.GetTag(0)->m_body.get())) {
            ASSERT_EQ(script->m_second.entries.at(0)->key, "duration");
            const double duration = script->m_second.entries[0]->value.Number();
            const std::string ref = f4fRef.empty() ? ReadText(CorpusRef(name, "ffprobe.json")) : f4fRef;
            EXPECT_NE(ref.find(Format(f4fRef.empty() ? "\"duration\": \"%.6f\"" : "|duration=%.6f", duration)),
                      std::string::npos);
            // Each number on the page reads as MediaInfo's value of its key (to three
            // decimals: duration 1.046, audiodatarate 31.250).
            std::map<std::string, std::string> info;
            std::string key;
            for (const InfoLine& l : MediaInfoLines(name)) {
                if (l.label == "StringData") key = l.value;
                if (l.label == "Value" && !key.empty()) info.emplace(std::exchange(key, ""), l.value);
            }
            const std::string lines = Value(BuildFlvTagPage(mdat, 0, nullptr), "Script tag value - value");
            for (const auto& e : script->m_second.entries) {
                if (e->value.type != kAmf0Number || !info.count(e->key)) continue;
                const auto shown = Matches(lines, "(?:^|\n)- " + e->key + " : ([^\n]*)\n");
                ASSERT_EQ(shown.size(), 1u) << e->key;
                EXPECT_EQ(std::stod(shown[0][0]), e->value.Number()) << e->key;
                EXPECT_EQ(Format("%.3f", std::stod(shown[0][0])), info[e->key]) << e->key;
                ++numbers;
            }
        }
    }
    EXPECT_GE(numbers, 20);
    EXPECT_GE(soundTypes, 2);
}

TEST(CorpusStreaming, HdsBootstrapsWrittenByFfmpeg) {
    for (const std::string name : {"hds_stream0.abst", "hds_abst_frag1.f4f"}) {
        SCOPED_TRACE(name);
        const CorpusFile f(name);
        ASSERT_EQ(f.status, 0);
        auto& abst = *f.All<CBootStrapInfoBox>().at(0);
        auto& afrt = *f.All<CFragmentRunTableBox>().at(0);
        for (const CBox* box : BoxesUnder({&abst})) EXPECT_EQ(box->UnreadBytes(), 0u) << box->TypeText();
        // The fragments run back to back up to the presentation's current time.
        uint64_t end = 0;
        for (const auto& e : afrt.m_entries) {
            EXPECT_EQ(e.firstFragmentTimestamp, end);
            end += e.fragmentDuration;
        }
        EXPECT_EQ(end, abst.m_CurrentMediaTime);
    }
    // The fragment file alone has no afra or abst: its mdat is opaque media data.
    const CorpusFile fragment("hds_stream0Seg1-Frag1");
    EXPECT_EQ(fragment.status, 0);
    EXPECT_EQ(dynamic_cast<const CMediaDataBox&>(*fragment.P().GetBox(0)).GetTagCount(), 0u);
}

// Each tfxd tells its fragment's start and length. ffprobe's video packets start each
// fragment there and fill it exactly; its audio decode times sit one AAC frame later
// (the muxer writes the priming frame's time as negative), and the last audio fragment
// ends at the presentation's end rather than at its last frame's.
TEST(CorpusStreaming, TfxdTimesMatchFfprobePackets) {
    const CorpusFile f("smooth.ismv");
    ASSERT_EQ(f.status, 0);
    const std::vector<Packet> packets = PacketsCsv("smooth.ismv");
    std::set<int64_t> audioShifts;
    int fragments = 0;
    for (const CBox* moof : f.All(FourCC("moof"))) {
        const CTfxdBox& tfxd = *BoxesUnder<CTfxdBox>({moof}).at(0);
        const int stream = int(BoxesUnder<CTrackFragmentHeaderBox>({moof}).at(0)->m_trackId) - 1;
        // The fragment's packets: those in the mdat after its moof.
        const CBox* mdat = f.P().MediaDataOf(*moof);
        int64_t first = INT64_MIN, sum = 0;
        for (const Packet& p : packets) {
            if (p.stream != stream || p.pos < uint64_t(mdat->m_startOffset) ||
                p.pos >= uint64_t(mdat->m_startOffset) + mdat->BoxSize())
                continue;
            if (first == INT64_MIN) first = p.dts;
            sum += p.duration == kUnknown ? 0 : p.duration;
        }
        const int64_t time = static_cast<int64_t>(tfxd.m_fragmentAbsoluteTime);
        if (stream == 0) {
            EXPECT_EQ(time, first);
            EXPECT_EQ(int64_t(tfxd.m_fragmentDuration), sum);
        } else {
            audioShifts.insert(first - time);
        }
        ++fragments;
    }
    EXPECT_EQ(fragments, 4);
    EXPECT_EQ(audioShifts, std::set<int64_t>{464399});  // 1024 samples at 22050 Hz in 1/10000000 s
}

// Every FLV tag of every F4F file of the corpus has its page, here and from corvel.
TEST(CorpusStreaming, EveryFlvTagHasItsPage) {
    int pages = 0;
    ForEachCorpusFile([&](const std::string& name, const CorpusFile& f) {
        for (const CMediaDataBox* mdat : f.All<CMediaDataBox>(FourCC("mdat"))) {
            for (uint32_t k = 0; k < mdat->GetTagCount(); ++k, ++pages) {
                const PageModel page = BuildFlvTagPage(*mdat, k, nullptr);
                ASSERT_GE(page.tables.size(), 2u) << name << " tag " << k;
                EXPECT_EQ(page.tables[0].rows.at(0).value.Plain(), I64Text(mdat->GetTag(k)->m_startOffset));
            }
        }
    });
    EXPECT_EQ(pages, 3 + 49);
    // The hand-made F4F's metadata as ffprobe's format tags.
    const CorpusFile f("f4f_handmade.f4f");
    const std::string page = Value(BuildFlvTagPage(FlvMdat(f), 0, nullptr), "Script tag value - value");
    EXPECT_NE(page.find("- encoder : corpus hand-made F4F\n"), std::string::npos);
    EXPECT_NE(ReadText(CorpusRef("f4f_handmade.f4f", "ffprobe-flv.txt")).find("tag:encoder=corpus hand-made F4F"),
              std::string::npos);

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
