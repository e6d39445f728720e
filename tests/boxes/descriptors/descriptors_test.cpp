// The codec configuration records and the MPEG-4 descriptors on hand-built bytes: a
// parameter set longer than the corpus holds, then sizes, counts and cuts. Their ordinary fields are checked against
// MediaInfo and by the spans property over the corpus.
#include <gtest/gtest.h>

#include "base/span_map.h"
#include "boxes/descriptors/avc_configuration.h"
#include "boxes/descriptors/es_descriptor.h"
#include "boxes/descriptors/hevc_configuration.h"
#include "boxes/descriptors/object_descriptor_box.h"
#include "boxes/sampleentry/entry_builder.h"
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

// A reader over bytes that must outlive it.
CBitStreamReader Over(const std::string& bytes) {
    return CBitStreamReader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size() * 8);
}
CBitStreamReader Over(std::string&&) = delete;
std::string AvcRecord(uint8_t profile, const std::string& sets) {
    return U8(1) + U8(profile) + U8(0) + U8(30) + U8(0xFF) + sets;
}
const std::string kHevcHead = U8(1) + U8(0x21) + U32(0x60000000) + U8(0x90) + U8(0) + U32(0x00000001) + U8(93) +
                              U16(0xF000) + U8(0xFC) + U8(0xFD) + U8(0xFA) + U8(0xF8) + U16(0) + U8(0x0F);
}  // namespace

TEST(Descriptors, LongParameterSetShownInFull) {
    // The long set is shown in full, not cut.
    auto avcC = ParseLeaf<CAVCConfigurationBox>(
        Box("avcC", AvcRecord(100, U8(0xE1) + U16(300) + "\x67" + std::string(299, 'B') + U8(0))));
    EXPECT_EQ(Value(PageOf(*avcC.box), "Sequence parameter set (0)").size(), 300 * 5 - 1u);
}

TEST(Descriptors, ExpandableSizeIsBoundedByItsBytesAndItsParent) {
    // Four size bytes are read (the table above); a fifth fails the header.
    const std::string fiveSizeBytes = "\x03\x80\x80\x80\x80\x01", none;
    CBitStreamReader r = Over(fiveSizeBytes);
    CBaseDescriptor d;
    EXPECT_EQ(ReadDescriptorHeader(r, d), -1);

    // A size past the bytes of its parent fails that descriptor before its body is read;
    // the esds fails, keeping the header.
    auto esds = Failing<ESDescriptorBox>(Esds(U8(3) + "\x80\x80\x80\x7F" + EsBody(0x40, "")));
    ASSERT_NE(esds->m_esDescriptor, nullptr);
    EXPECT_EQ(esds->m_esDescriptor->m_size, 127u);
    EXPECT_EQ(esds->m_esDescriptor->m_esId, 0u);
    // The same for a decoder specific info larger than its decoder config.
    esds = Failing<ESDescriptorBox>(Esds(Descr(3, EsBody(0x40, U8(5) + U8(40) + "\x12\x10"))));
    EXPECT_EQ(esds->m_esDescriptor->m_decoderConfig->m_maxBitrate, 64000u);

    // The extension range check refuses a tag outside 0x13 and 0x6A..0xFE; an ES descriptor
    // directly in the iods fails it.
    CExtensionDescriptor ext;
    ext.m_tag = 0x20;
    r = Over(none);
    EXPECT_EQ(ext.Parse(r), -1);
    Failing<CObjectDescriptorBox>(FullBox("iods", 0, 0, Descr(0x03, U16(1) + U8(0))));
}

TEST(Descriptors, AudioSpecificConfigStopsAtItsBytes) {
    auto parse = [](const std::string& bytes, CAudioSpecificConfig& asc) {
        CBitStreamReader r = Over(bytes);
        return asc.Parse(r);
    };
    CAudioSpecificConfig sbr, cut, escaped, escapeCut, layout, shortComment;
    // SBR signalled by type 5: extension index 3, then the underlying type 2. The
    // signalling type is the extension's, in its own bits; the underlying type in its own.
    const std::string signalled("\x2B\x91\x88\x00", 4);  // 00101 0111 0010 0011 00010 000
    SpanMap spans;
    CBitStreamReader sbrReader = Over(signalled);
    sbrReader.SetOrigin(0, &spans);
    ASSERT_EQ(sbr.Parse(sbrReader), 0);
    EXPECT_EQ(sbr.m_sbrFlag, 1u);
    EXPECT_EQ(sbr.m_extensionAudioObjectType, 5u);
    EXPECT_EQ(sbr.m_extensionSamplingFrequencyIndex, 3u);
    EXPECT_EQ(sbr.m_audioObjectType, 2u);
    const Span ext = spans.Lookup(&sbr.m_extensionAudioObjectType, 4), type = spans.Lookup(&sbr.m_audioObjectType, 4);
    EXPECT_EQ(std::make_pair(ext.bit, ext.bits), std::make_pair(uint64_t{0}, uint64_t{5}));
    EXPECT_EQ(std::make_pair(type.bit, type.bits), std::make_pair(uint64_t{17}, uint64_t{5}));
    // Cut inside the SBR fields: fails, no read past the bytes.
    EXPECT_EQ(parse("\x2B\x92", cut), -1);
    // An escaped type: 31, then 6 bits (32 + 1); cut after the escape it fails.
    ASSERT_EQ(parse(std::string("\xF8\x20\x00", 3), escaped), 0);
    EXPECT_EQ(escaped.m_audioObjectType, 33u);
    EXPECT_EQ(parse("\xF8", escapeCut), -1);

    // Channel configuration 0: a program config element, read to its end. One front
    // element, its comment byte-aligned from the config's start and 2 bytes long.
    //   type 2, index 4, channels 0, GA 000 | PCE: tag 0, profile 1, index 4, front 1,
    //   side/back 0, lfe 0, assoc 0, cc 0, three mixdown flags 0, front CPE 1 tag 0, align, 2 bytes
    const std::string pce = std::string("\x12\x00\x05\x04\x00\x00\x20\x02", 8) + "ab";
    ASSERT_EQ(parse(pce, layout), 0);
    ASSERT_NE(layout.m_gaSpecificConfig, nullptr);
    EXPECT_EQ(parse(pce.substr(0, pce.size() - 1), shortComment), -1);  // its comment longer than the bytes
}

TEST(Descriptors, RecordCountsBeyondTheBytes) {
    // avcC: the sets read stay, nothing is reserved for the rest.
    auto cut = Failing<CAVCConfigurationBox>(Box("avcC", AvcRecord(66, U8(0xFF) + U16(2) + "\x67\x42" + U16(900))));
    ASSERT_EQ(cut->m_record->GetSequenceParameterSetCount(), 1u);
    EXPECT_LE(cut->m_record->m_sequenceParameterSets.capacity(), 4u);
    EXPECT_EQ(cut->m_record->GetSequenceParameterSet(1), nullptr);
    // Another box type is refused.
    EXPECT_EQ(ParseLeaf<CAVCConfigurationBox>(Box("avcX", AvcRecord(77, U8(0xE0) + U8(0))))->m_record, nullptr);

    // hvcC: two arrays; the second claims 65535 units and holds one: it stays with that one.
    const std::string arrays =
        U8(2) + U8(0xA0) + U16(1) + U16(3) + "\x40\x01\x0C" + U8(0x21) + U16(0xFFFF) + U16(2) + "\x42\x01";
    auto two = Failing<CHEVCConfigurationBox>(Box("hvcC", kHevcHead + arrays));
    const CHEVCDecoderConfigurationRecord& r = *two->m_record;
    ASSERT_EQ(r.GetArrayCount(), 2u);
    EXPECT_EQ(r.GetArray(1)->nalUnits.size(), 1u);
    EXPECT_LE(r.GetArray(1)->nalUnits.capacity(), 2u);
    const PageModel page = PageOf(*two.box);
    ASSERT_EQ(page.tables.size(), 6u);
    EXPECT_EQ(page.tables[5].rows.size(), 2u);  // the unit the array holds
}
