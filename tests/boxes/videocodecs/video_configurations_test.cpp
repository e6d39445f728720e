// The video configuration boxes on hand-built bytes: codec strings computed from the
// layouts the corpus lacks, and corpus files with bytes changed into hostile ones.
#include <gtest/gtest.h>

#include "boxes/sampleentry/entry_builder.h"
#include "boxes/videocodecs/av1_configuration_box.h"
#include "boxes/videocodecs/colour_information_box.h"
#include "boxes/videocodecs/dolby_vision_configuration_box.h"
#include "corpus/corpus_refs.h"
#include "report/codec_string.h"
#include "report/page_test_util.h"
#include "support/span_check.h"

namespace {
// Bits written most significant first.
class BitWriter {
public:
    BitWriter& Put(uint64_t value, int bits) {
        for (int i = bits - 1; i >= 0; --i) m_bits.push_back((value >> i) & 1);
        return *this;
    }
    // The bytes, after the trailing bits of an OBU (a 1, then zeros to the byte's end).
    std::string Bytes() {
        Put(1, 1);
        while (m_bits.size() % 8) m_bits.push_back(0);
        std::string out;
        for (size_t i = 0; i < m_bits.size(); i += 8) {
            uint8_t byte = 0;
            for (size_t b = 0; b < 8; ++b) byte = uint8_t(byte << 1 | m_bits[i + b]);
            out += char(byte);
        }
        return out;
    }

private:
    std::vector<uint8_t> m_bits;
};

// A sequence header with every optional part: timing and decoder model, two operating
// points (the first with a tier, a decoder model and a display delay), frame ids, order
// hints, forced screen content tools; profile 2 at 12 bits, 4:2:0 read with its sample
// position, BT.2020 with PQ.
std::string FullSequenceHeader() {
    BitWriter w;
    w.Put(2, 3).Put(0, 1).Put(0, 1);                   // profile, still picture, reduced header
    w.Put(1, 1).Put(1, 32).Put(25, 32).Put(1, 1);      // timing info, equal picture interval
    w.Put(0b00100, 5);                                 // uvlc 3
    w.Put(1, 1).Put(9, 5).Put(1, 32).Put(4, 5).Put(4, 5);  // decoder model info
    w.Put(1, 1).Put(1, 5);                             // initial display delay present, 2 points
    w.Put(0x101, 12).Put(9, 5).Put(1, 1);              // point 0: idc, level 4.1, tier
    w.Put(1, 1).Put(100, 10).Put(200, 10).Put(0, 1);   // its decoder model
    w.Put(1, 1).Put(3, 4);                             // its display delay
    w.Put(0, 12).Put(4, 5).Put(0, 1).Put(0, 1);        // point 1
    w.Put(10, 4).Put(10, 4).Put(1919, 11).Put(1079, 11);  // frame size
    w.Put(1, 1).Put(5, 4).Put(2, 3);                   // frame ids
    w.Put(1, 1).Put(0, 1).Put(1, 1);                   // superblock, filter intra, intra edge
    w.Put(1, 1).Put(1, 1).Put(0, 1).Put(1, 1).Put(1, 1);  // compound, masked, warped, dual, order hint
    w.Put(1, 1).Put(0, 1);                             // jnt comp, ref frame mvs
    w.Put(0, 1).Put(1, 1).Put(0, 1).Put(1, 1);         // screen content tools forced, integer mv forced
    w.Put(6, 3).Put(0, 1).Put(1, 1).Put(1, 1);         // order hint bits, superres, cdef, restoration
    w.Put(1, 1).Put(1, 1).Put(0, 1).Put(1, 1);         // high bitdepth, twelve bit, mono, description
    w.Put(9, 8).Put(16, 8).Put(9, 8).Put(0, 1);        // BT.2020, PQ, BT.2020 ncl, limited range
    w.Put(1, 1).Put(1, 1).Put(2, 2).Put(1, 1).Put(1, 1);  // 4:2:0, colocated, separate uv, film grain
    return w.Bytes();
}

// A reduced still picture header: profile 0, monochrome, no colour description.
std::string StillSequenceHeader() {
    BitWriter w;
    w.Put(0, 3).Put(1, 1).Put(1, 1).Put(1, 5);              // profile, still, reduced, level 2.1
    w.Put(7, 4).Put(7, 4).Put(63, 8).Put(63, 8);            // 64x64
    w.Put(0, 1).Put(1, 1).Put(1, 1);                        // superblock, filter intra, intra edge
    w.Put(0, 1).Put(0, 1).Put(0, 1);                        // superres, cdef, restoration
    w.Put(0, 1).Put(1, 1).Put(0, 1).Put(1, 1).Put(0, 1);    // 8 bits, mono, no description, full, no grain
    return w.Bytes();
}

// The full header in an OBU with an extension and a two-byte size, then a metadata OBU
// without a size field.
const std::string kFullAv1C = Box("av1C", "\x81\x49\xEE\x15" + std::string("\x0E\x30") +
                                              char(0x80 | FullSequenceHeader().size()) + '\0' +
                                              FullSequenceHeader() + "\x28xyz");
const std::string kStillAv1C = Box("av1C", std::string("\x81\x01\x1C\x00\x0A", 5) +
                                               char(StillSequenceHeader().size()) + StillSequenceHeader());

const std::string kMdcv = Box("mdcv", U16(13250) + U16(34500) + U16(7500) + U16(3000) + U16(34000) + U16(16000) +
                                          U16(15635) + U16(16450) + U32(10000000) + U32(50));
const std::string kClli = Box("clli", U16(1000) + U16(400));
const std::string kSmDm = FullBox("SmDm", 0, 0, U16(45875) + U16(19661) + U16(11141) + U16(52429) + U16(9830) +
                                                    U16(3932) + U16(20495) + U16(21561) + U32(1000 << 8) + U32(82));
const std::string kCoLL = FullBox("CoLL", 0, 0, U16(1000) + U16(400));
const std::string kVpcC = FullBox("vpcC", 1, 0, U8(2) + U8(31) + U8(0xA2) + U8(9) + U8(16) + U8(9) + U16(3) + "abc");
const std::string kDvcC = Box("dvcC", U8(1) + U8(0) + U16(0x0A35) + U32(0) + std::string(16, '\0'));
const std::string kHvcC = Box("hvcC", U8(1) + U8(0x01) + U32(0x60000000) + U8(0x90) + std::string(5, '\0') + U8(93) +
                                          U16(0xF000) + U8(0xFC) + U8(0xFD) + U8(0xF8) + U8(0xF8) + U16(0) + U8(0x0F) +
                                          U8(0));

// The first box of `type` in a walk.
const CBox* Find(const CorpusFile& f, const char (&type)[5]) {
    const auto all = f.All(FourCC(type));
    return all.empty() ? nullptr : all.front();
}
}  // namespace

// Computed by hand from the configurations above and the AV1 and VP9 bindings.
TEST(VideoConfigurations, CodecStrings) {
    auto first = [](const std::string& entry) {
        const CorpusFile f(WriteTempFile("codec.mp4", InStsd("vide", entry)));
        return CodecString(*Find(f, "stsd")->GetChild(0));
    };
    EXPECT_EQ(first(Visual("av01", kFullAv1C)), "av01.2.09H.12.0.112.09.16.09.0");
    EXPECT_EQ(first(Visual("av01", kStillAv1C)), "av01.0.01M.08");  // no colour description
    EXPECT_EQ(first(Visual("vp09", kVpcC)), "vp09.02.31.10");
    EXPECT_EQ(first(Visual("hvc1", kHvcC + kDvcC)), "hvc1.1.6.L93.90");
    // A Dolby Vision entry names its own configuration: profile and level.
    CBox entry;
    entry.m_type = FourCC("dvh1");
    auto dvcC = ParseLeaf<CDolbyVisionConfigurationBox>(kDvcC);
    ASSERT_EQ(dvcC.status, 0);
    entry.AddChildBox(std::move(dvcC.box));
    EXPECT_EQ(CodecString(entry), "dvh1.05.06");
}

TEST(VideoConfigurations, ObusPastTheFirstSixteenAreNotDecoded) {
    // 50000 empty padding OBUs: sixteen decoded, the rest kept as bytes; the page stays small.
    std::string obus;
    for (int i = 0; i < 50000; ++i) obus += std::string("\x7A\x00", 2);
    auto av1C = ParseLeaf<CAV1ConfigurationBox>(Box("av1C", std::string("\x81\x00\x0C\x00", 4) + obus));
    ASSERT_EQ(av1C.status, 0);
    EXPECT_EQ(av1C->m_configObus.size(), CAV1ConfigurationBox::kMaxObus);
    EXPECT_EQ(av1C->m_moreObusBytes, 2 * (50000 - CAV1ConfigurationBox::kMaxObus));
    EXPECT_LE(PageOf(*av1C.box).tables.size(), 20u);
}

TEST(VideoConfigurations, HostileBoxesFailCleanly) {
    // An av1C whose OBU claims more bytes than the box holds: the av1C fails with its
    // record read and no OBU payload past its end, and fails its entry and the walk, as
    // any failing child does; the codec string leaves the colour out.
    std::string av1 = ReadText(CorpusPath("modern_av1_opus.mp4"));
    const size_t at = av1.find("av1C");
    ASSERT_NE(at, std::string::npos);
    ASSERT_EQ(av1[at + 9], '\x0D');  // the sequence header OBU's size
    av1[at + 9] = '\x7F';
    const CorpusFile f(WriteTempFile("hostile_av1c.mp4", av1));
    ASSERT_TRUE(f.Opened());
    EXPECT_EQ(f.status, -1);
    auto* av1C = dynamic_cast<const CAV1ConfigurationBox*>(Find(f, "av1C"));
    ASSERT_NE(av1C, nullptr);
    EXPECT_EQ(av1C->SequenceHeader(), nullptr);
    EXPECT_EQ(av1C->m_seqProfile, 1u);
    EXPECT_EQ(CodecString(*Find(f, "av01")), "av01.1.00M.08");
    EXPECT_NE(Find(f, "mdat"), nullptr);  // the walk goes on after the moov

    // A colr whose ICC profile is shorter than a profile header: it fails, with no header.
    std::string hlg = ReadText(CorpusPath("modern_hevc_main10_hlg.mp4"));
    const size_t colrAt = hlg.find("colrnclx");
    ASSERT_NE(colrAt, std::string::npos);
    hlg.replace(colrAt + 4, 4, "prof");
    const CorpusFile g(WriteTempFile("hostile_colr.mp4", hlg));
    ASSERT_TRUE(g.Opened());
    EXPECT_EQ(g.status, -1);
    auto* colr = dynamic_cast<const CColourInformationBox*>(Find(g, "colr"));
    ASSERT_NE(colr, nullptr);
    EXPECT_EQ(colr->m_colourType, FourCC("prof"));
    EXPECT_TRUE(colr->m_icc != nullptr && colr->m_icc->m_profileSize == 0);
    EXPECT_NE(Find(g, "mdat"), nullptr);
    for (const CorpusFile* file : {&f, &g})
        ForEachPage(*file, [](const CBox&, const CBox*, const PageModel& page) { EXPECT_FALSE(page.title.empty()); });
}
