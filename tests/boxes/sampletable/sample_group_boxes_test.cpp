// The sample grouping, sub-sample, auxiliary information and dependency boxes on
// hand-built bytes: the group entries, versions and counts the corpus lacks.
#include <gtest/gtest.h>

#include "boxes/sampletable/aux_info_boxes.h"
#include "boxes/sampletable/parse_leaf.h"
#include "boxes/sampletable/sample_dependency_box.h"
#include "boxes/sampletable/sample_group_boxes.h"
#include "boxes/sampletable/subsample_info_box.h"
#include "support/box_builder.h"

namespace {
Parsed<CSampleGroupDescBox> Sgpd(uint8_t version, const std::string& payload, uint32_t handler = FourCC("vide")) {
    return ParseLeaf<CSampleGroupDescBox>(FullBox("sgpd", version, 0, payload), handler);
}
}  // namespace

TEST(SampleGroupBoxes, GroupEntriesByVersionHandlerAndGroupingType) {
    // Version 1, default length 0: one description length per entry; avll in a video track.
    auto avll = Sgpd(1, "avll" + U32(0) + U32(2) + U32(6) + U8(1) + U8(1) + U16(500) + U16(25) + U32(6) + U8(2) + U8(0) +
                            U16(900) + U16(50));
    EXPECT_EQ(avll.status, 0);
    ASSERT_EQ(avll->GetStoredEntryCount(), 2u);
    auto* layer = dynamic_cast<const CAVCLayerEntry*>(avll->GetGroupEntry(1));
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->m_avgBitRate, 900u);

    // roll: generic entries that read none of their bytes, visual or audio by the handler.
    auto roll = Sgpd(0, "roll" + U32(2) + U16(0xFFFF) + U16(0xFFFE));
    EXPECT_EQ(roll.status, 0);
    ASSERT_EQ(roll->GetStoredEntryCount(), 2u);
    EXPECT_NE(dynamic_cast<const IVisualSampleGroupEntry*>(roll->GetGroupEntry(0)), nullptr);
    auto audio = Sgpd(1, "roll" + U32(2) + U32(1) + U16(0xFFFF), FourCC("soun"));
    EXPECT_NE(dynamic_cast<const IAudioSampleGroupEntry*>(audio->GetGroupEntry(0)), nullptr);

    // In a track fragment (handler type 0): records without entries.
    auto frag = Sgpd(1, "seig" + U32(20) + U32(1) + std::string(20, '\0'), 0);
    EXPECT_EQ(frag.status, 0);
    EXPECT_EQ(frag->GetStoredEntryCount(), 1u);
    EXPECT_EQ(frag->GetGroupEntry(0), nullptr);

    // A count of entries that read nothing is bounded by the payload's bytes.
    auto hostile = Sgpd(0, "roll" + U32(4000000000u) + U16(1), 0);
    EXPECT_EQ(hostile.status, -1);
    EXPECT_EQ(hostile->GetStoredEntryCount(), 2u);

    // Temporal layer, in this program's field order; avss with both optional parts.
    auto tscl = Sgpd(0, "tscl" + U32(1) + U8(2) + U8(0x61) + U16(0x9000) + U8(93) + U32(0x60000000) + U16(1000) +
                            U16(800) + U8(1) + U16(3000));
    auto* temporal = dynamic_cast<const CTemproalLayerEntry*>(tscl->GetGroupEntry(0));
    ASSERT_NE(temporal, nullptr);
    EXPECT_EQ(temporal->m_profileSpace, 3u);
    EXPECT_EQ(temporal->m_avgFrameRate, 3000u);
    auto avss = Sgpd(0, "avss" + U32(1) + U16(7) + U8(1) + U8(0xC0) + U32(400) + U8(1) + U16(64) + U16(30));
    auto* sub = dynamic_cast<const CAVCSubSequenceEntry*>(avss->GetGroupEntry(0));
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->m_avgFrameRate, 30u);
    // A group entry cut short fails the box.
    EXPECT_EQ(Sgpd(0, "avll" + U32(1) + U8(1)).status, -1);
}

TEST(SampleGroupBoxes, SubSamplesAuxInfoAndDependencies) {
    // subs: version 1 sizes are 32 bits; a sample past the entries has none.
    auto subs1 = ParseLeaf<CSubSampleInfoBox>(FullBox("subs", 1, 0, U32(2) + U32(1) + U16(2) + U32(70000) + U8(1) + U8(0) +
                                                                         U32(0) + U32(5) + U8(1) + U8(1) + U32(9) +
                                                                         U32(3) + U16(0)));
    EXPECT_EQ(subs1.status, 0);
    EXPECT_EQ(subs1->GetSubsample(0, 0).size, 70000u);
    EXPECT_EQ(subs1->GetSampleDelta(1), 3u);
    EXPECT_EQ(subs1->GetSubsample(2, 0).size, 0u);

    // saiz with a default size stores none; per-sample sizes otherwise; flags bit 0 adds the type.
    EXPECT_EQ(ParseLeaf<CSaizBox>(FullBox("saiz", 0, 0, U8(4) + U32(3)))->GetStoredEntryCount(), 0u);
    auto saiz = ParseLeaf<CSaizBox>(FullBox("saiz", 0, 1, "cenc" + U32(0) + U8(0) + U32(2) + U8(16) + U8(24)));
    EXPECT_EQ(saiz->GetSampleInfoSize(1), 24u);

    // saio: version 1 offsets are 64 bits.
    EXPECT_EQ(ParseLeaf<CSaioBox>(FullBox("saio", 1, 0, U32(1) + U64(0x100000010ull)))->GetOffset(0), 0x100000010ull);

    // sdep: the count comes from outside; numbers out of range answer -1.
    CBox header;
    header.m_type = FourCC("sdep");
    CSampleDependencyBox sdep(header);
    sdep.SetSampleCount(3);
    const std::string payload = U32(0) + U16(0) + U16(1) + U16(1) + U16(2) + U16(1) + U16(2);
    CBitStreamReader r(reinterpret_cast<const uint8_t*>(payload.data()), payload.size() * 8);
    EXPECT_EQ(sdep.ParseBox(r), 0);
    EXPECT_EQ(sdep.GetDependencySampleNumber(2, 1), 2);
    EXPECT_EQ(sdep.GetDependencySampleNumber(2, 2), -1);
    EXPECT_EQ(sdep.GetDependencySampleNumber(3, 0), -1);
}
