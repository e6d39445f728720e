// The sample description box and its entries on hand-built bytes: the class by handler
// type and code, the entry layouts the corpus lacks (read in full, every row decoding to
// its value), and counts, cuts and nesting the real files never hold. The fields of the
// entries the corpus holds are checked there (ffprobe, MediaInfo, spans).
#include <gtest/gtest.h>

#include "boxes/sampleentry/entry_boxes.h"
#include "boxes/sampleentry/entry_builder.h"
#include "boxes/sampleentry/hint_sample_entries.h"
#include "boxes/sampleentry/sample_description_box.h"
#include "boxes/sampleentry/text_sample_entry.h"
#include "boxes/sampleentry/timecode_sample_entry.h"
#include "boxes/sampleentry/visual_sample_entries.h"
#include "boxes/sampleentry/xml_subtitle_sample_entry.h"
#include "report/page_test_util.h"
#include "samples/sample_context.h"
#include "support/parse_file.h"
#include "support/span_check.h"

namespace {
// An esds of AAC LC at 44100 Hz, stereo.
const std::string kEsds = FullBox("esds", 0, 0,
                                  "\x03\x19" + U16(2) + U8(0) + "\x04\x11\x40\x15" + U24(0) + U32(1) + U32(1) +
                                      "\x05\x02\x12\x10" + "\x06\x01\x02");
const std::string kAvcC = Box("avcC", U8(1) + U8(66) + U8(0) + U8(30) + U8(0xFF) + U8(0xE0) + U8(0));
const std::string kPasp = Box("pasp", U32(4) + U32(3));
const std::string kBtrt = Box("btrt", U32(0) + U32(1) + U32(1));
const std::string kClap = Box("clap", U32(160) + U32(1) + U32(120) + U32(1) + U32(0) + U32(1) + U32(0) + U32(1));

// An audio entry of QuickTime sound version `version`, `rest` after its common fields.
std::string QuickTimeSound(uint16_t version, const std::string& rest) {
    return Box("lpcm", kEntryBase + U16(version) + U16(0) + U32(0) + U16(2) + U16(16) + U16(0xFFFE) + U16(0) +
                           U32(44100u << 16) + rest);
}

// An stsd of a track of `handler` holding `entries`, `count` of them (1 when 0).
Parsed<CSampleDescriptionBox> Stsd(uint32_t handler, const std::string& entries, uint32_t count = 0) {
    return ParseLeaf<CSampleDescriptionBox>(FullBox("stsd", 0, 0, U32(count ? count : 1) + entries), handler);
}
constexpr uint32_t kVide = FourCC("vide"), kSoun = FourCC("soun");
}  // namespace

TEST(SampleEntries, ClassByHandlerTypeAndCode) {
    const struct {
        uint32_t handler;
        std::string entry;
        const std::type_info* cls;
        const char* title;
    } cases[] = {
        {FourCC("vide"), Visual("avc3", kAvcC), &typeid(CVisualSampleEntry), "Visual Sample Entry Box"},
        {FourCC("vide"), Visual("svc1", kAvcC), &typeid(CVisualSampleEntry), "Visual Sample Entry Box"},
        {FourCC("pict"), Visual("av01", ""), &typeid(CVisualSampleEntry), "Visual Sample Entry Box"},
        {FourCC("hint"), Box("srtp", kEntryBase + "xy"), &typeid(CHintSampleEntry), "Box"},
        {FourCC("meta"), Box("mebx", kEntryBase), &typeid(CBoxesSampleEntry), "The Meta Box"},
        {FourCC("clcp"), Box("c608", kEntryBase), &typeid(CBoxesSampleEntry), "Closed Caption Sample Entry Box"},
        {FourCC("text"), Box("stpp", kEntryBase + std::string("ns\0\0\0", 5)), &typeid(CXMLSubtitleSampleEntry),
         "Text Sample Entry Box"},
        {FourCC("text"), Box("wvtt", kEntryBase), &typeid(CBoxesSampleEntry), "Text Sample Entry Box"},
        {FourCC("abcd"), Box("mp4s", kEntryBase), &typeid(CBox), "Box"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(FourCCText(c.handler) + " " + c.entry.substr(4, 4));
        auto stsd = Stsd(c.handler, c.entry);
        ASSERT_EQ(stsd.status, 0);
        ASSERT_EQ(stsd->GetChildCount(), 1u);
        EXPECT_EQ(typeid(*stsd->GetChild(0)), *c.cls) << typeid(*stsd->GetChild(0)).name();
        EXPECT_EQ(PageOf(*stsd->GetChild(0), stsd.box.get()).title, c.title);
    }
}

TEST(SampleEntries, LayoutsTheCorpusLacksReadInFull) {
    ExpectReadInFull({
        // A plain visual entry keeps its pasp and reads the boxes after it through.
        {"avc3 with pasp", InStsd("vide", Visual("avc3", kPasp + kAvcC))},
        // pasp before clap: the clap is a plain box of the avc1 loop.
        {"avc1 with pasp, clap", InStsd("vide", Visual("avc1", kPasp + kClap + kAvcC))},
        {"encv with pasp, clap", InStsd("vide", Visual("encv", kPasp + kClap))},
        {"a compressor name of zeros", InStsd("vide", Visual("avc1", kAvcC, std::string(1, '\0')))},
        {"mp4a with btrt and an unknown box",
         InStsd("soun", Audio("mp4a", kEsds + Box("btrt", U32(0) + U32(1) + U32(1)) + Box("zzzz", "")))},
        {"metx with a btrt after its strings",
         InStsd("meta", Box("metx", kEntryBase + std::string("\0urn:x\0http://s\0", 16) + kBtrt))},
        {"mett, a string to the end", InStsd("meta", Box("mett", kEntryBase + std::string("\0text/plain", 11)))},
        // QuickTime's sound versions 1 and 2: their fields, then the boxes; an ISO version-1
        // stsd's audio entry of version 1 has no such fields.
        {"sound version 1", InStsd("soun", QuickTimeSound(1, U32(1024) + U32(0) + U32(2) + U32(2) + kBtrt))},
        {"sound version 2", InStsd("soun", QuickTimeSound(2, U32(72) + U64(0x40E7700000000000) + U32(6) +
                                                                 U32(0x7F000000) + U32(24) + U32(0xE) + U32(18) +
                                                                 U32(1) + kBtrt))},
        {"ISO audio entry version 1", InStbl(FullBox("stsd", 1, 0, U32(1) + QuickTimeSound(1, kBtrt)), "soun")},
        // Entries of any code read their boxes: an image sequence, a visual and an
        // audio entry the engine knows no code of, urim.
        {"pict av01 with pasp, btrt", InStsd("pict", Visual("av01", kPasp + kBtrt))},
        {"sowt with btrt", InStsd("soun", Audio("sowt", kBtrt))},
        {"urim with btrt", InStsd("meta", Box("urim", kEntryBase + kBtrt))},
        {"wvtt with btrt", InStsd("text", Box("wvtt", kEntryBase + kBtrt))},
        // An entry whose size is 0 takes the rest of the stsd.
        {"an entry of size 0", InStsd("soun", U32(0) + Audio("samr", "").substr(4) + kBtrt)},
    });
}

TEST(SampleEntries, CutsAndFailedBoxesInside) {
    // An esds whose decoder specific info claims more than its decoder config: the esds
    // fails and is not kept, the mp4a still parses, and so does the rest of the file.
    std::string hostile = kEsds;
    hostile[33] = '\x7F';  // the decoder specific info's size
    auto w = ParseFile("hostile_esds.mp4", InStsd("soun", Audio("mp4a", hostile + kPasp)) + Box("free", ""));
    EXPECT_EQ(w->status, 0);
    EXPECT_EQ(w->Count(), 2u);
    EXPECT_EQ(Stsd(kSoun, Audio("mp4a", hostile + kPasp))->GetChild(0)->GetChildCount(), 0u);
    // The same esds in an mp4v fails the entry, and with it the stsd; so does an mp4v with
    // no box after its visual part, and a clap cut short.
    EXPECT_EQ(Stsd(kVide, Visual("mp4v", hostile)).status, -1);
    EXPECT_EQ(Stsd(kVide, Visual("mp4v", "")).status, -1);
    EXPECT_EQ(Stsd(kVide, Visual("avc1", Box("clap", U32(1)))).status, -1);

    // A text entry whose ftab claims more fonts than its bytes hold: the fonts read stay,
    // no room is reserved for the rest.
    const std::string fields = U32(0x20000000) + U8(1) + U8(0xFF) + U32(0x000000FF) + U16(1) + U16(2) + U16(30) +
                               U16(160) + U16(0) + U16(0) + U16(1) + U8(0) + U8(18) + U32(0xFFFFFFFF);
    const std::string ftabBox = Box("ftab", U16(0xFFFF) + U16(1) + U8(1) + "A");
    auto stsd = Stsd(FourCC("text"), Box("text", kEntryBase + fields + ftabBox));
    EXPECT_EQ(stsd.status, -1);
    auto* ftab = dynamic_cast<const CFontTableBox*>(stsd->GetChild(0)->GetChild(0));
    ASSERT_NE(ftab, nullptr);
    EXPECT_EQ(ftab->m_records.size(), 1u);
    EXPECT_LE(ftab->m_records.capacity(), 2u);
}

TEST(SampleEntries, EntryCounts) {
    // Two entries; a count of 3 fails once the bytes are used up, keeping the two; a
    // hostile count ends with the bytes, at once; a count of 1 leaves the second unread.
    const std::string two = Audio("samr", "") + Audio("sawb", "");
    auto stsd = Stsd(kSoun, two, 3);
    EXPECT_EQ(stsd.status, -1);
    EXPECT_EQ(stsd->GetChildCount(), 2u);
    EXPECT_EQ(Stsd(kSoun, two, 0xFFFFFFFF)->GetChildCount(), 2u);
    auto w = ParseFile("one.mp4", InStsd("soun", two, 1));
    ASSERT_EQ(w->status, 0);
    std::vector<const CBox*> found;
    FindBoxes(*w->Top(0), FourCC("stsd"), found);
    EXPECT_EQ(found.at(0)->GetChildCount(), 1u);
    EXPECT_EQ(found.at(0)->UnreadBytes(), two.size() / 2);
}

TEST(SampleEntries, NestingStaysFlat) {
    // Entries inside entries and descriptors inside descriptors, 20000 deep: the inner
    // entries are plain boxes and a descriptor where another kind belongs fails, so
    // nothing recurses. Each level is its header, its fields, then the next level.
    constexpr uint32_t kDepth = 20000;
    const std::string fields = Visual("avc1", "").substr(8);
    std::string entries, es;
    for (uint32_t level = 0; level < kDepth; ++level) {
        entries += U32(static_cast<uint32_t>((kDepth - level) * (8 + fields.size()))) + "avc1" + fields;
        const uint32_t n = (kDepth - level) * 8 - 5;  // the body: 3 bytes of fields, then the levels inside
        es += U8(3) + U8(0x80 | (n >> 21)) + U8(0x80 | ((n >> 14) & 0x7F)) + U8(0x80 | ((n >> 7) & 0x7F)) +
              U8(n & 0x7F) + U16(1) + U8(0);
    }
    auto stsd = Stsd(kVide, entries);
    ASSERT_EQ(stsd.status, 0);
    EXPECT_EQ(typeid(*stsd->GetChild(0)->GetChild(0)), typeid(CBox));
    stsd = Stsd(kSoun, Audio("mp4a", FullBox("esds", 0, 0, es)));
    EXPECT_EQ(stsd.status, 0);
    EXPECT_EQ(stsd->GetChild(0)->GetChildCount(), 0u);  // the esds failed at the second level
}

// A timecode entry's frame numbers as timecodes: plain, past 24 hours or wrapping at
// them, and drop frame, whose labels skip the first two (four) numbers of each minute
// but every tenth.
TEST(SampleEntries, TimecodeLabels) {
    CTimecodeSampleEntry e{CBox{}};
    e.m_numberOfFrames = 24;
    EXPECT_EQ(e.Timecode(864000), "10:00:00:00");
    EXPECT_EQ(e.Timecode(24 * 3600 * 25 + 23), "25:00:00:23");
    e.m_flags = CTimecodeSampleEntry::kMax24Hours;
    EXPECT_EQ(e.Timecode(24 * 3600 * 25 + 23), "01:00:00:23");
    e.m_numberOfFrames = 30;
    e.m_flags = CTimecodeSampleEntry::kDropFrame;
    EXPECT_EQ(e.Timecode(1799), "00:00:59;29");
    EXPECT_EQ(e.Timecode(1800), "00:01:00;02");
    EXPECT_EQ(e.Timecode(17982), "00:10:00;00");
    EXPECT_EQ(e.Timecode(17982 * 6 * 10), "10:00:00;00");
    e.m_numberOfFrames = 0;
    EXPECT_EQ(e.Timecode(5), "");
}
