// The codec configuration records and the MPEG-4 descriptors on hand-built bytes: sizes,
// counts and optional parts the corpus files do not hold. Their ordinary fields are
// checked against MediaInfo and by the spans property over the corpus.
#include <gtest/gtest.h>

#include "boxes/descriptors/avc_configuration.h"
#include "boxes/descriptors/es_descriptor.h"
#include "boxes/descriptors/hevc_configuration.h"
#include "boxes/descriptors/object_descriptor_box.h"
#include "boxes/sampletable/parse_leaf.h"
#include "report/page_test_util.h"

namespace {
// A descriptor with a one-byte size, or with the four-byte size encoders write.
std::string Descr(uint8_t tag, const std::string& body) { return U8(tag) + U8(uint8_t(body.size())) + body; }
std::string Descr4(uint8_t tag, const std::string& body) {
    return U8(tag) + "\x80\x80\x80" + U8(uint8_t(body.size())) + body;
}

// An ES descriptor without optional fields: a decoder config of `type` holding `info`,
// then an SL config of predefined 2.
std::string EsBody(uint8_t type, const std::string& info, const std::string& flags = U8(0)) {
    const std::string config = U8(type) + U8(0x15) + U24(0) + U32(64000) + U32(48000) + info;
    return U16(1) + flags + Descr4(4, config) + Descr(6, U8(2));
}
std::string Esds(const std::string& es) { return FullBox("esds", 0, 0, es); }

CBitStreamReader Over(const std::string& bytes) {
    return CBitStreamReader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size() * 8);
}

std::string AvcRecord(uint8_t profile, const std::string& sets) {
    return U8(1) + U8(profile) + U8(0) + U8(30) + U8(0xFF) + sets;
}
}  // namespace

TEST(Descriptors, ExpandableSizeIsBoundedByItsBytesAndItsParent) {
    // Four size bytes read as 7 bits each.
    const std::string four = "\x03\x80\x80\x80\x22";
    CBitStreamReader r = Over(four);
    CBaseDescriptor d;
    ASSERT_EQ(ReadDescriptorHeader(r, d), 0);
    EXPECT_EQ(d.m_tag, 3u);
    EXPECT_EQ(d.m_size, 34u);
    EXPECT_EQ(d.m_sizeBytes, 4u);
    // A fifth size byte fails the header: a size never takes more than 4 bytes.
    const std::string five = "\x03\x80\x80\x80\x80\x01";
    r = Over(five);
    EXPECT_EQ(ReadDescriptorHeader(r, d), -1);

    // A size past the bytes of its parent fails that descriptor before its body is read;
    // the esds fails, keeping the header.
    auto esds = ParseLeaf<ESDescriptorBox>(Esds(U8(3) + "\x80\x80\x80\x7F" + EsBody(0x40, "")));
    EXPECT_EQ(esds.status, -1);
    ASSERT_NE(esds->m_esDescriptor, nullptr);
    EXPECT_EQ(esds->m_esDescriptor->m_size, 127u);
    EXPECT_EQ(esds->m_esDescriptor->m_esId, 0u);

    // The same for a decoder specific info larger than its decoder config.
    const std::string info = U8(5) + U8(40) + "\x12\x10";
    esds = ParseLeaf<ESDescriptorBox>(Esds(Descr(3, EsBody(0x40, info))));
    EXPECT_EQ(esds.status, -1);
    EXPECT_EQ(esds->m_esDescriptor->m_decoderConfig->m_maxBitrate, 64000u);
}

TEST(Descriptors, EsDescriptorOptionalParts) {
    // URL flag with a URL length of 0, and bytes after the SL config that are read through.
    const std::string es = EsBody(0x40, Descr4(5, "\x12\x10"), U8(0x40) + U8(0));
    auto esds = ParseLeaf<ESDescriptorBox>(Esds(Descr4(3, es) + "tail"));
    ASSERT_EQ(esds.status, 0);
    EXPECT_EQ(esds->m_unreadBytes, 0u);
    EXPECT_EQ(esds->m_esDescriptor->m_urlFlag, 1u);
    PageModel page = PageOf(*esds.box);
    EXPECT_EQ(Value(page, "URL length"), "0 (0X00000000)");
    EXPECT_EQ(Value(page, "URL string"), "");

    // No decoder config: the ES descriptor ends there; the page shows what it holds.
    auto bare = ParseLeaf<ESDescriptorBox>(Esds(Descr(3, U16(9) + U8(0))));
    ASSERT_EQ(bare.status, 0);
    EXPECT_EQ(PageOf(*bare.box).tables.size(), 2u);

    // The extension range check refuses a tag outside 0x13 and 0x6A..0xFE.
    CExtensionDescriptor ext;
    ext.m_tag = 0x20;
    CBitStreamReader r = Over("");
    EXPECT_EQ(ext.Parse(r), -1);
    // Profile level descriptors after the fields are read to the decoder config's end.
    const std::string levels = Descr(0x13, U8(7)) + Descr(0x13, U8(9));
    auto withLevels = ParseLeaf<ESDescriptorBox>(Esds(Descr(3, EsBody(0x21, levels))));
    ASSERT_EQ(withLevels.status, 0);
    EXPECT_EQ(withLevels->m_esDescriptor->m_decoderConfig->m_profileLevelDescriptor->m_profileLevelIndicationIndex, 9u);
    EXPECT_NE(withLevels->m_esDescriptor->m_slConfig, nullptr);
}

TEST(Descriptors, AudioSpecificConfigStopsAtItsBytes) {
    auto parse = [](const std::string& bytes, CAudioSpecificConfig& asc) {
        CBitStreamReader r = Over(bytes);
        return asc.Parse(r);
    };
    // SBR signalled by type 5: extension index 3, then the underlying type 2.
    CAudioSpecificConfig sbr;
    ASSERT_EQ(parse(std::string("\x2B\x91\x88\x00", 4), sbr), 0);  // 00101 0111 0010 0011 00010 000
    EXPECT_EQ(sbr.m_sbrFlag, 1u);
    EXPECT_EQ(sbr.m_extensionSamplingFrequencyIndex, 3u);
    EXPECT_EQ(sbr.m_audioObjectType, 2u);
    // Cut inside the SBR fields: fails, no read past the bytes.
    CAudioSpecificConfig cut;
    EXPECT_EQ(parse("\x2B\x92", cut), -1);
    // An escaped type: 31, then 6 bits (32 + 1).
    CAudioSpecificConfig escaped;
    ASSERT_EQ(parse(std::string("\xF8\x20\x00", 3), escaped), 0);
    EXPECT_EQ(escaped.m_audioObjectType, 33u);
    CAudioSpecificConfig escapeCut;
    EXPECT_EQ(parse("\xF8", escapeCut), -1);  // the 6 bits after the escape are not there

    // Channel configuration 0: a program config element, read to its end. One front
    // element, its comment byte-aligned from the config's start and 2 bytes long.
    //   type 2, index 4, channels 0, GA 000 | PCE: tag 0, profile 1, index 4, front 1,
    //   side/back 0, lfe 0, assoc 0, cc 0, three mixdown flags 0, front CPE 1 tag 0, align, 2 bytes
    const std::string pce = std::string("\x12\x00\x05\x04\x00\x00\x20\x02", 8) + "ab";
    CAudioSpecificConfig layout;
    ASSERT_EQ(parse(pce, layout), 0);
    ASSERT_NE(layout.m_gaSpecificConfig, nullptr);
    // Its comment longer than the bytes: fails.
    CAudioSpecificConfig shortComment;
    EXPECT_EQ(parse(pce.substr(0, pce.size() - 1), shortComment), -1);
}

TEST(Descriptors, AvcRecordBounds) {
    // A set of 300 bytes is shown in full; the high profile fields after the sets are not read.
    const std::string sps = "\x67" + std::string(299, '\x42');
    const std::string record = AvcRecord(100, U8(0xE1) + U16(300) + sps + U8(1) + U16(4) + "\x68\xEE\x3C\x80");
    auto avcC = ParseLeaf<CAVCConfigurationBox>(Box("avcC", record + std::string("\xFD\xF8\xF8\x00", 4)));
    ASSERT_EQ(avcC.status, 0);
    EXPECT_EQ(Value(PageOf(*avcC.box), "Sequence parameter set (0)").size(), 300 * 5 - 1u);
    // No parameter sets: the two counts and no set rows.
    auto empty = ParseLeaf<CAVCConfigurationBox>(Box("avcC", AvcRecord(77, U8(0xE0) + U8(0))));
    ASSERT_EQ(empty.status, 0);
    EXPECT_EQ(PageOf(*empty.box).tables.at(1).rows.back().label, "Num picture parameter sets");

    // Counts beyond the bytes: the sets read stay, nothing is reserved for the rest.
    auto cut = ParseLeaf<CAVCConfigurationBox>(Box("avcC", AvcRecord(66, U8(0xFF) + U16(2) + "\x67\x42" + U16(900))));
    EXPECT_EQ(cut.status, -1);
    ASSERT_EQ(cut->m_record->GetSequenceParameterSetCount(), 1u);
    EXPECT_LE(cut->m_record->m_sequenceParameterSets.capacity(), 4u);
    EXPECT_EQ(cut->m_record->GetSequenceParameterSet(1), nullptr);

    // Another box type is refused.
    EXPECT_EQ(ParseLeaf<CAVCConfigurationBox>(Box("avcX", AvcRecord(77, U8(0xE0) + U8(0))))->m_record, nullptr);
}

TEST(Descriptors, HevcRecordBounds) {
    const std::string head = U8(1) + U8(0x21) + U32(0x60000000) + U8(0x90) + U8(0) + U32(0x00000001) + U8(93) +
                             U16(0xF000) + U8(0xFC) + U8(0xFD) + U8(0xFA) + U8(0xF8) + U16(0) + U8(0x0F);
    auto none = ParseLeaf<CHEVCConfigurationBox>(Box("hvcC", head + U8(0)));
    ASSERT_EQ(none.status, 0);
    EXPECT_EQ(PageOf(*none.box).tables.size(), 2u);  // zero arrays: the first table only

    // Two arrays; the second claims 65535 units and holds one: it stays with that one.
    const std::string arrays = U8(2) + U8(0xA0) + U16(1) + U16(3) + "\x40\x01\x0C" + U8(0x21) + U16(0xFFFF) + U16(2) + "\x42\x01";
    auto two = ParseLeaf<CHEVCConfigurationBox>(Box("hvcC", head + arrays));
    EXPECT_EQ(two.status, -1);
    const CHEVCDecoderConfigurationRecord& r = *two->m_record;
    ASSERT_EQ(r.GetArrayCount(), 2u);
    EXPECT_EQ(r.GetArray(0)->arrayCompleteness, 1u);
    EXPECT_EQ(r.GetArray(0)->nalUnitType, 32u);
    EXPECT_EQ(r.GetArray(1)->nalUnits.size(), 1u);
    EXPECT_LE(r.GetArray(1)->nalUnits.capacity(), 2u);
    const PageModel page = PageOf(*two.box);
    ASSERT_EQ(page.tables.size(), 6u);
    EXPECT_EQ(page.tables[5].rows.size(), 2u);  // the unit the array holds
}

TEST(Descriptors, ObjectDescriptorBox) {
    auto iods = [](const std::string& descriptor) { return ParseLeaf<CObjectDescriptorBox>(FullBox("iods", 0, 0, descriptor)); };
    const std::string levels = "\xFF\xFF\x0F\x7F\xFF";
    // Two ES_ID_Inc, then an OCI descriptor of 5 bytes and an extension descriptor whose
    // body looks like a descriptor header of five size bytes: both read through.
    const std::string tail = Descr(0x40, "abcde") + Descr(0x6A, "\xFF\xFF\xFF\xFF\xFF");
    auto two = iods(Descr(0x10, U16(0x004F) + levels + Descr(0x0E, U32(1)) + Descr(0x0E, U32(2)) + tail));
    ASSERT_EQ(two.status, 0);
    PageModel page = PageOf(*two.box);
    EXPECT_EQ(Value(page, "Descriptor count"), "2 (0X00000002)");
    ASSERT_EQ(page.tables.size(), 3u);
    ASSERT_EQ(page.tables[2].listRows.size(), 2u);

    // URL flag with a URL length of 0: no profile levels are read.
    auto url = iods(Descr(0x10, U16(0x006F) + U8(0)));
    ASSERT_EQ(url.status, 0);
    page = PageOf(*url.box);
    EXPECT_EQ(Value(page, "URL length"), "0 (0X00000000)");
    EXPECT_EQ(Value(page, "URL string"), "");
    EXPECT_EQ(Value(page, "Descriptor count"), "<no row>");

    // An object descriptor lists its ES_ID_Ref descriptors by their 16-bit index.
    auto od = iods(Descr(0x11, U16(0x005F) + Descr(0x0F, U16(3))));
    ASSERT_EQ(od.status, 0);
    page = PageOf(*od.box);
    EXPECT_EQ(page.tables[2].headers.back(), "Ref index");
    EXPECT_EQ(page.tables[2].listRows[0].cells[2].Plain(), "3 (0X0003)");

    // An ES descriptor directly in the iods fails it.
    EXPECT_EQ(iods(Descr(0x03, U16(1) + U8(0))).status, -1);
}
