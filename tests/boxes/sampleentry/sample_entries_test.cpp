// The sample description box and its entries inside a track, on hand-built bytes: the
// class by handler type and code where the corpus has no such entry, the boxes inside
// entries, and counts, sizes and nesting the real files never hold. The fields of the
// entries the corpus holds are checked there (ffprobe, MediaInfo, the spans property).
#include <gtest/gtest.h>

#include "boxes/containers/containers.h"
#include "boxes/descriptors/avc_configuration.h"
#include "boxes/descriptors/es_descriptor.h"
#include "boxes/sampleentry/audio_sample_entries.h"
#include "boxes/sampleentry/entry_boxes.h"
#include "boxes/sampleentry/hint_sample_entries.h"
#include "boxes/sampleentry/metadata_sample_entries.h"
#include "boxes/sampleentry/sample_description_box.h"
#include "boxes/sampleentry/text_sample_entry.h"
#include "boxes/sampleentry/visual_sample_entries.h"
#include "report/page_test_util.h"
#include "support/parse_file.h"

namespace {
const std::string kBase = std::string(6, '\0') + U16(1);  // reserved, data reference index 1

std::string Visual(const std::string& type, const std::string& boxes, const std::string& name = "\x03" "abc") {
    std::string compressor = name;
    compressor.resize(32, '\0');
    return Box(type, kBase + U16(0) + U16(0) + std::string(12, '\0') + U16(160) + U16(120) + U32(0x00480000) +
                         U32(0x00480000) + U32(0) + U16(1) + compressor + U16(0x18) + U16(0xFFFF) + boxes);
}
std::string Audio(const std::string& type, const std::string& boxes) {
    return Box(type, kBase + U32(0) + U32(0) + U16(2) + U16(16) + U16(0) + U16(0) + U32(44100u << 16) + boxes);
}
// An esds of AAC LC at 44100 Hz, stereo.
const std::string kEsds = FullBox("esds", 0, 0,
                                  "\x03\x19" + U16(2) + U8(0) + "\x04\x11\x40\x15" + U24(0) + U32(1) + U32(1) +
                                      "\x05\x02\x12\x10" + "\x06\x01\x02");
const std::string kAvcC = Box("avcC", U8(1) + U8(66) + U8(0) + U8(30) + U8(0xFF) + U8(0xE0) + U8(0));
const std::string kPasp = Box("pasp", U32(4) + U32(3));
const std::string kClap = Box("clap", U32(160) + U32(1) + U32(120) + U32(1) + U32(0) + U32(1) + U32(0) + U32(1));

std::string Track(const std::string& handler, const std::string& entries, uint32_t count = 0) {
    const uint32_t n = count ? count : 1;
    return Box("moov", Box("trak", Box("mdia", Hdlr(handler) + Box("minf", Box("stbl", FullBox("stsd", 0, 0, U32(n) + entries))))));
}
const CBox* Stbl(const ParsedFile& w) { return w.Top(0)->GetChild(0)->GetChild(0)->GetChild(1)->GetChild(0); }
const CSampleDescriptionBox* Stsd(const ParsedFile& w) {
    return dynamic_cast<const CSampleDescriptionBox*>(Stbl(w)->GetChild(0));
}

std::vector<std::string> ChildTypes(const CBox& box) {
    std::vector<std::string> types;
    for (const auto& c : box.m_children) types.push_back(c->TypeText());
    return types;
}
}  // namespace

TEST(SampleEntries, ClassByHandlerTypeAndCode) {
    struct Case {
        const char* handler;
        std::string entry;
        const std::type_info* cls;
        const char* title;
    };
    const Case cases[] = {
        {"vide", Visual("avc3", kAvcC), &typeid(CVisualSampleEntry), "Visual Sample Entry Box"},
        {"vide", Visual("svc1", kAvcC), &typeid(CBox), "Visual Sample Entry Box"},
        {"hint", Box("srtp", kBase + "xy"), &typeid(CHintSampleEntry), "Box"},
        {"meta", Box("mebx", kBase), &typeid(CBox), "The Meta Box"},
        {"text", Box("stpp", kBase + std::string("ns\0\0\0", 5)), &typeid(CBox), "Text Sample Entry Box"},
        {"abcd", Box("mp4s", kBase), &typeid(CBox), "Box"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.handler) + " " + c.entry.substr(4, 4));
        auto w = ParseFile("entry.mp4", Track(c.handler, c.entry));
        ASSERT_EQ(w->status, 0);
        const CSampleDescriptionBox* stsd = Stsd(*w);
        ASSERT_NE(stsd, nullptr);
        EXPECT_EQ(FourCCText(stsd->GetHandlerType()), c.handler);
        ASSERT_EQ(stsd->GetChildCount(), 1u);
        const CBox& entry = *stsd->GetChild(0);
        EXPECT_EQ(typeid(entry), *c.cls) << typeid(entry).name();
        EXPECT_EQ(PageOf(entry, stsd).title, c.title);
    }
    // A plain visual entry keeps its pasp; the boxes after it are read through.
    auto w = ParseFile("avc3.mp4", Track("vide", Visual("avc3", kPasp + kAvcC)));
    EXPECT_EQ(ChildTypes(*Stsd(*w)->GetChild(0)), (std::vector<std::string>{"pasp"}));
    // A hint entry of another code: the header rows only.
    w = ParseFile("srtp.mp4", Track("hint", Box("srtp", kBase + "xy")));
    EXPECT_EQ(PageOf(*Stsd(*w)->GetChild(0), Stsd(*w)).tables.size(), 1u);
}

TEST(SampleEntries, BoxesInsideVisualEntries) {
    // clap then pasp, as kitchen_sink.mp4 holds them, gives both. pasp then clap: the pasp,
    // and the clap is a plain box of the avc1 loop (and dropped by a plain visual entry).
    auto w = ParseFile("pasp_clap.mp4", Track("vide", Visual("avc1", kPasp + kClap + kAvcC)));
    ASSERT_EQ(w->status, 0);
    const CBox& reversed = *Stsd(*w)->GetChild(0);
    EXPECT_EQ(ChildTypes(reversed), (std::vector<std::string>{"pasp", "clap", "avcC"}));
    EXPECT_NE(dynamic_cast<const CPixelAspectRatioBox*>(reversed.GetChild(0)), nullptr);
    EXPECT_EQ(typeid(*reversed.GetChild(1)), typeid(CBox));
    EXPECT_EQ(PageOf(*reversed.GetChild(1)).tables.size(), 1u);
    w = ParseFile("pasp_clap_plain.mp4", Track("vide", Visual("encv", kPasp + kClap)));
    EXPECT_EQ(ChildTypes(*Stsd(*w)->GetChild(0)), (std::vector<std::string>{"pasp"}));

    // A compressor name of 31 zero bytes shows empty; a clap cut short fails the entry.
    w = ParseFile("noname.mp4", Track("vide", Visual("avc1", kAvcC, std::string(1, '\0'))));
    const CBox& unnamed = *Stsd(*w)->GetChild(0);
    EXPECT_EQ(Value(PageOf(unnamed, Stsd(*w)), "Compression name"), "");
    EXPECT_EQ(ParseFile("shortclap.mp4", Track("vide", Visual("avc1", Box("clap", U32(1)))))->status, -1);

    // avcp met in a sample table: its visual part reads its boxes through, so it has no avcC.
    auto avcp = ParseFile("avcp.mp4", Box("moov", Box("trak", Box("mdia", Hdlr("vide") + Box("minf", Box("stbl", Visual("avcp", kAvcC)))))));
    ASSERT_EQ(avcp->status, 0);
    const CBox& entry = *Stbl(*avcp)->GetChild(0);
    EXPECT_NE(dynamic_cast<const CAVCParameterSampleEntry*>(&entry), nullptr);
    EXPECT_EQ(entry.GetChildCount(), 0u);
    EXPECT_EQ(PageOf(entry, Stbl(*avcp)).title, "Box");
}

TEST(SampleEntries, EsdsEntries) {
    // mp4a: the esds and the boxes after it, an unknown one included.
    auto w = ParseFile("mp4a.mp4", Track("soun", Audio("mp4a", kEsds + Box("btrt", U32(0) + U32(1) + U32(1)) + Box("zzzz", ""))));
    ASSERT_EQ(w->status, 0);
    const CBox& mp4a = *Stsd(*w)->GetChild(0);
    EXPECT_EQ(ChildTypes(mp4a), (std::vector<std::string>{"esds", "btrt", "zzzz"}));

    // An esds whose decoder specific info claims more than its decoder config: the esds
    // fails and is not kept, the mp4a still parses, and so does the rest of the file.
    std::string hostile = kEsds;
    hostile[33] = '\x7F';  // the decoder specific info's size
    w = ParseFile("hostile_esds.mp4", Track("soun", Audio("mp4a", hostile + kPasp)) + Box("free", ""));
    EXPECT_EQ(w->status, 0);
    EXPECT_EQ(Stsd(*w)->GetChild(0)->GetChildCount(), 0u);
    EXPECT_EQ(w->Count(), 2u);
    // The same esds in an mp4v fails the entry, and with it the walk.
    EXPECT_EQ(ParseFile("hostile_mp4v.mp4", Track("vide", Visual("mp4v", hostile)))->status, -1);
    // An mp4v with no box after its visual part fails too.
    EXPECT_EQ(ParseFile("bare_mp4v.mp4", Track("vide", Visual("mp4v", "")))->status, -1);
}

TEST(SampleEntries, MetadataAndTextEntriesAtTheirEnds) {
    // metx with 5 bytes after its third string: read through, the entry parses.
    auto w = ParseFile("metx.mp4", Track("meta", Box("metx", kBase + std::string("\0urn:x\0http://s\0", 16) + "12345")));
    ASSERT_EQ(w->status, 0);
    auto* metx = dynamic_cast<const CXMLMetaDataSampleEntry*>(Stsd(*w)->GetChild(0));
    ASSERT_NE(metx, nullptr);
    EXPECT_EQ(metx->m_namespace, "urn:x");
    EXPECT_EQ(metx->m_schemaLocation, "http://s");
    EXPECT_EQ(metx->m_unreadBytes, 0u);
    // mett whose second string runs to the end.
    w = ParseFile("mett.mp4", Track("meta", Box("mett", kBase + std::string("\0text/plain", 11))));
    EXPECT_EQ(dynamic_cast<const CTextMetaDataSampleEntry*>(Stsd(*w)->GetChild(0))->m_mimeFormat, "text/plain");

    // A text entry whose ftab claims more fonts than its bytes hold: the fonts read stay,
    // no room is reserved for the rest.
    const std::string fields = U32(0x20000000) + U8(1) + U8(0xFF) + U32(0x000000FF) + U16(1) + U16(2) + U16(30) + U16(160) +
                               U16(0) + U16(0) + U16(1) + U8(0) + U8(18) + U32(0xFFFFFFFF);
    w = ParseFile("ftab.mp4", Track("text", Box("text", kBase + fields + Box("ftab", U16(0xFFFF) + U16(1) + U8(1) + "A"))));
    EXPECT_EQ(w->status, -1);
    auto* ftab = dynamic_cast<const CFontTableBox*>(Stsd(*w)->GetChild(0)->GetChild(0));
    ASSERT_NE(ftab, nullptr);
    EXPECT_EQ(ftab->m_records.size(), 1u);
    EXPECT_LE(ftab->m_records.capacity(), 2u);
}

TEST(SampleEntries, EntryCountAndSizes) {
    // Two entries; a count of 3 fails once the bytes are used up, keeping the two.
    const std::string two = Audio("samr", "") + Audio("sawb", "");
    auto w = ParseFile("three.mp4", Track("soun", two, 3));
    EXPECT_EQ(w->status, -1);
    EXPECT_EQ(Stsd(*w)->GetChildCount(), 2u);
    // A hostile count ends with the bytes, at once.
    w = ParseFile("count.mp4", Track("soun", two, 0xFFFFFFFF));
    EXPECT_EQ(Stsd(*w)->GetChildCount(), 2u);
    // A count of 1 leaves the second entry unread.
    w = ParseFile("one.mp4", Track("soun", two, 1));
    EXPECT_EQ(w->status, 0);
    EXPECT_EQ(Stsd(*w)->GetChildCount(), 1u);
    EXPECT_EQ(Stsd(*w)->m_unreadBytes, two.size() / 2);
    // An entry whose size is 0 takes the rest of the stsd.
    std::string toTheEnd = Audio("samr", "");
    toTheEnd.replace(0, 4, U32(0));
    w = ParseFile("size0.mp4", Track("soun", toTheEnd + "xyz"));
    EXPECT_EQ(w->status, 0);
    EXPECT_EQ(Stsd(*w)->GetChild(0)->m_type, FourCC("samr"));
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
    auto w = ParseFile("nested_entries.mp4", Track("vide", entries));
    ASSERT_EQ(w->status, 0);
    EXPECT_EQ(typeid(*Stsd(*w)->GetChild(0)->GetChild(0)), typeid(CBox));
    w = ParseFile("nested_descriptors.mp4", Track("soun", Audio("mp4a", FullBox("esds", 0, 0, es))));
    EXPECT_EQ(w->status, 0);
    EXPECT_EQ(Stsd(*w)->GetChild(0)->GetChildCount(), 0u);  // the esds failed at the second level
}
