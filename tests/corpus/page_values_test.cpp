// Values the pages once showed wrong or in a form that hid them, on the corpus files
// that hold them, against the independent tools where they print the same value:
// 64-bit times, Apple's codes, QuickTime handler names and languages, codes shown as
// numbers, saiz default sizes, the esds SBR rows, and the first bytes of a file that
// is no media file.
#include <gtest/gtest.h>

#include <cinttypes>
#include <regex>
#include <set>

#include "boxes/presentation/handler_box.h"
#include "boxes/streaming/smooth_streaming_boxes.h"
#include "corpus/corpus_refs.h"
#include "report/page_test_util.h"
#include "support/cli_run.h"

namespace {
const Row* FindRow(const PageModel& page, const std::string& label) {
    for (const ReportTable& t : page.tables)
        for (const Row& r : t.rows)
            if (r.label == label) return &r;
    return nullptr;
}

// ffprobe's streams by track id, with the tags of each ("language", "handler_name").
std::map<uint32_t, Fields> FfprobeTags(const std::string& name) {
    const std::string json = ReadText(CorpusRef(name, "ffprobe.json"));
    std::map<uint32_t, Fields> streams;
    for (size_t pos = json.find("\"index\":"); pos != std::string::npos;) {
        const size_t next = json.find("\"index\":", pos + 1);
        const std::string block = json.substr(pos, next - pos);
        Fields f;
        for (const auto& m : Matches(block, R"re("(id|language|handler_name)": "([^"]*)")re")) f[m[0]] = m[1];
        if (f.count("id")) streams[static_cast<uint32_t>(std::stoul(f["id"], nullptr, 16))] = f;
        pos = next;
    }
    return streams;
}
}  // namespace

// ffmpeg writes the first time of a primed audio track below zero: as the unsigned
// 64-bit field it is, all of its bits show in hex (the low 32 once did).
TEST(CorpusPageValues, SixtyFourBitTimesShowAllTheirBits) {
    const CorpusFile f("smooth.ismv");
    ASSERT_EQ(f.status, 0);
    int64_t firstAudioDts = INT64_MIN;
    for (const Packet& p : PacketsCsv("smooth.ismv"))
        if (p.stream == 1 && firstAudioDts == INT64_MIN) firstAudioDts = p.dts;
    ASSERT_NE(firstAudioDts, INT64_MIN);
    std::vector<std::string> shown;
    ForEachPage(f, [&](const CBox& box, const CBox*, const PageModel& page) {
        if (dynamic_cast<const CTfxdBox*>(&box))
            shown.push_back(Value(page, "Fragment absolute time stamp"));
    });
    // The fragments alternate, video first; the first audio one starts one AAC frame
    // (1024 samples at 22050 Hz, in 1/10000000 s) before ffprobe's first audio packet.
    ASSERT_EQ(shown.size(), 4u);
    const uint64_t time = uint64_t(firstAudioDts - 464399);
    EXPECT_GT(time, uint64_t{UINT32_MAX});
    EXPECT_EQ(shown[1], Format("%" PRIu64 " (0X%" PRIX64 ")", time, time));
    EXPECT_EQ(shown[1], "18446744073709087217 (0XFFFFFFFFFFF8E9F1)");
}

// QuickTime writes its handler names as Pascal strings and its languages as Macintosh
// codes (0 English) or 0x7FFF (none): ffprobe reads the same name and language.
TEST(CorpusPageValues, HandlerNamesAndLanguagesMatchFfprobe) {
    int names = 0, pascal = 0, mac = 0, unspecified = 0;
    ForEachCorpusFile([&](const std::string& name, const CorpusFile& f) {
        const std::map<uint32_t, Fields> streams = FfprobeTags(name);
        if (streams.empty()) return;
        for (const CBox* trak : f.All(FourCC("trak"))) {
            const CBox* tkhd = Descend(trak, {"tkhd"});
            const CBox* hdlr = Descend(trak, {"mdia", "hdlr"});
            const CBox* mdhd = Descend(trak, {"mdia", "mdhd"});
            if (!tkhd || !hdlr || !mdhd) continue;
            const auto it = streams.find(static_cast<uint32_t>(std::stoul(Value(PageOf(*tkhd), "Track id"))));
            if (it == streams.end()) continue;
            const Fields& tags = it->second;
            SCOPED_TRACE("track " + std::to_string(it->first));
            if (tags.count("handler_name")) {
                EXPECT_EQ(Value(PageOf(*hdlr), "Name"), tags.at("handler_name"));
                ++names;
                const std::string& bytes = dynamic_cast<const CHandlerBox&>(*hdlr).m_name;
                pascal += bytes.size() > 1 && uint8_t(bytes[0]) == bytes.size() - 1;
            }
            const std::string language = Value(PageOf(*mdhd), "Language");
            if (language == "unspecified (0X7FFF)") {
                EXPECT_EQ(tags.count("language"), 0u);
                ++unspecified;
            } else if (language == "English (Macintosh language 0)") {
                EXPECT_EQ(tags.at("language"), "eng");
                ++mac;
            } else {
                EXPECT_EQ(language.substr(0, 3), tags.count("language") ? tags.at("language") : "und") << language;
            }
        }
    });
    EXPECT_GE(names, 100);
    EXPECT_GE(pascal, 8);
    EXPECT_GE(mac, 8);
    EXPECT_GE(unspecified, 6);
}

// Grouping, item, auxiliary information and description types are codes: shown as
// their characters and number, the characters MediaInfo prints at the same offset.
TEST(CorpusPageValues, CodesShowAsCodes) {
    static const std::set<std::string> kCodeRows = {
        "Grouping type", "Item type", "Extention type", "Aux info type", "Aux info", "Description format",
        "First metabox handler type", "Second metabox handler type"};
    static const std::regex code(R"(^(?:([\s\S]{4}) \(0X([0-9A-F]{8})\)|0 \(0X00000000\))$)");
    int rows = 0, matched = 0;
    ForEachCorpusFile([&](const std::string& name, const CorpusFile& f) {
        std::map<uint64_t, std::string> info;
        for (const InfoLine& l : MediaInfoLines(name))
            if (l.label == "grouping_type" || l.label == "item_type") info[l.offset] = l.value;
        ForEachPage(f, [&](const CBox& box, const CBox*, const PageModel& page) {
            for (const ReportTable& t : page.tables)
                for (const Row& r : t.rows) {
                    if (!kCodeRows.count(r.label)) continue;
                    std::smatch m;
                    const std::string value = r.value.Plain();
                    ASSERT_TRUE(std::regex_match(value, m, code)) << box.TypeText() << " " << r.label << " " << value;
                    ++rows;
                    if (m[1].matched) {
                        EXPECT_EQ(FourCCUtf8(uint32_t(std::stoul(m[2], nullptr, 16))), m[1].str());
                    }
                    if (auto it = info.find(r.span.Offset()); !r.span.Empty() && it != info.end()) {
                        EXPECT_EQ(m[1].str(), it->second) << box.TypeText() << " " << r.label;
                        ++matched;
                    }
                }
        });
    });
    EXPECT_GE(rows, 120);
    EXPECT_GE(matched, 70);
}

// A saiz with a default size stores no size per sample: each sample's line shows the
// default, at the default's byte.
TEST(CorpusPageValues, SaizDefaultSizesAreEachSamplesSize) {
    int boxes = 0;
    ForEachCorpusFile([&](const std::string&, const CorpusFile& f) {
        ForEachPage(f, [&](const CBox& box, const CBox*, const PageModel& page) {
            if (box.m_type != FourCC("saiz")) return;
            const Row* size = FindRow(page, "Default sample info size");
            ASSERT_NE(size, nullptr);
            if (size->value.Plain().rfind("0 ", 0) == 0) return;
            const uint32_t count = uint32_t(std::stoul(Value(page, "Sample count")));
            const ReportTable& samples = page.tables.back();
            ASSERT_EQ(samples.title, "Samples");
            ASSERT_EQ(samples.listRows.size(), count);
            for (const ListRow& row : samples.listRows) {
                EXPECT_EQ(row.cells.at(0).Plain(), size->value.Plain());
                EXPECT_EQ(std::make_pair(row.span.bit, row.span.bits), std::make_pair(size->span.bit, size->span.bits));
            }
            ++boxes;
        });
    });
    EXPECT_GE(boxes, 7);
}

// The esds rows of SBR come from the type that signals it, never from the audio object
// type's bits: with no signal they lie nowhere; with the sync extension after the
// GA config (ffmpeg's AAC tracks), at the extension's type, which MediaInfo names 5.
TEST(CorpusPageValues, SbrRowsHaveTheirOwnSpans) {
    int esds = 0, signalled = 0;
    ForEachCorpusFile([&](const std::string&, const CorpusFile& f) {
        ForEachPage(f, [&](const CBox& box, const CBox*, const PageModel& page) {
            const Row* type = FindRow(page, "Audio object type");
            const Row* sbr = FindRow(page, "Sbr Flag");
            const Row* ext = FindRow(page, "Ext audio object type");
            if (!type || !sbr || !ext) return;
            ASSERT_FALSE(type->span.Empty()) << box.TypeText();
            EXPECT_EQ(ext->span.Empty(), ext->value.Plain() == "0 (0X00000000)");
            EXPECT_EQ(sbr->span.bit, ext->span.bit);
            EXPECT_NE(sbr->span.bit, type->span.bit);
            signalled += ext->value.Plain() == "5 (0X00000005)";
            ++esds;
        });
    });
    EXPECT_GE(esds, 35);
    EXPECT_GE(signalled, 30);
}

// A text file's first eight bytes read as a box declare far more than the file: no
// media file. A real file the file ends inside still tells its truncated box.
TEST(CorpusPageValues, ATextFileIsNoMediaFile) {
    const CliRun text = RunCorvel("tree " + CorpusPath("README.md"));
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.out, "");
    EXPECT_NE(text.err.find("README.md: not an ISO base media file (first box: size 589318483, type O BM)"),
              std::string::npos)
        << text.err;
    const CliRun cut = RunCorvel("tree " + CorpusPath("truncated_mdat.mp4"));
    EXPECT_EQ(cut.status, 1);
    EXPECT_NE(cut.err.find("the file ends inside the mdat box"), std::string::npos) << cut.err;
}
