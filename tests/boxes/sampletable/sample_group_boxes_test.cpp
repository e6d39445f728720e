// The sample grouping, sub-sample, auxiliary information and dependency boxes.
#include <gtest/gtest.h>

#include "boxes/sampletable/aux_info_boxes.h"
#include "boxes/sampletable/parse_leaf.h"
#include "boxes/sampletable/sample_dependency_box.h"
#include "boxes/sampletable/sample_group_boxes.h"
#include "boxes/sampletable/subsample_info_box.h"
#include "support/box_builder.h"

TEST(SampleGroupBoxes, SampleToGroupByVersion) {
    auto v0 = ParseLeaf<CSampletoGroupBox>(FullBox("sbgp", 0, 0, "roll" + U32(1) + U32(30) + U32(1)));
    EXPECT_EQ(v0.status, 0);
    EXPECT_EQ(v0->m_groupingTypeParameter, 0u);
    EXPECT_EQ(v0->GetEntry(0), (uint64_t{30} << 32) | 1);
    EXPECT_EQ(v0->GetSampleCount(0), 30u);
    EXPECT_EQ(v0->GetGroupDescriptionIndex(0), 1u);
    EXPECT_EQ(v0->GetEntry(1), 0u);
    auto v1 = ParseLeaf<CSampletoGroupBox>(FullBox("sbgp", 1, 0, "avss" + U32(9) + U32(1) + U32(2) + U32(3)));
    EXPECT_EQ(v1->m_groupingTypeParameter, 9u);
    EXPECT_EQ(v1->GetGroupDescriptionIndex(0), 3u);
}

TEST(SampleGroupBoxes, GroupEntriesByHandlerAndGroupingType) {
    // Version 1, default length 0: one description length per entry; avll in a video track.
    auto avll = ParseLeaf<CSampleGroupDescBox>(
        FullBox("sgpd", 1, 0, "avll" + U32(0) + U32(2) + U32(6) + U8(1) + U8(1) + U16(500) + U16(25) + U32(6) + U8(2) +
                                  U8(0) + U16(900) + U16(50)),
        FourCC("vide"));
    EXPECT_EQ(avll.status, 0);
    ASSERT_EQ(avll->GetStoredEntryCount(), 2u);
    EXPECT_EQ(avll->GetDescriptionLength(1), 6u);
    auto* layer = dynamic_cast<const CAVCLayerEntry*>(avll->GetGroupEntry(1));
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->m_layerNumber, 2u);
    EXPECT_EQ(layer->m_avgBitRate, 900u);
    EXPECT_EQ(avll->GetGroupEntry(2), nullptr);

    // roll in a video track: generic entries that read none of their bytes.
    auto roll = ParseLeaf<CSampleGroupDescBox>(FullBox("sgpd", 0, 0, "roll" + U32(2) + U16(0xFFFF) + U16(0xFFFE)),
                                               FourCC("vide"));
    EXPECT_EQ(roll.status, 0);
    ASSERT_EQ(roll->GetStoredEntryCount(), 2u);
    EXPECT_NE(dynamic_cast<const IVisualSampleGroupEntry*>(roll->GetGroupEntry(0)), nullptr);
    EXPECT_EQ(dynamic_cast<const CAVCLayerEntry*>(roll->GetGroupEntry(0)), nullptr);
    auto audio = ParseLeaf<CSampleGroupDescBox>(FullBox("sgpd", 1, 0, "roll" + U32(2) + U32(1) + U16(0xFFFF)),
                                                FourCC("soun"));
    EXPECT_NE(dynamic_cast<const IAudioSampleGroupEntry*>(audio->GetGroupEntry(0)), nullptr);
    EXPECT_EQ(audio->m_defaultLength, 2u);
    EXPECT_EQ(audio->GetDescriptionLength(0), 0u);

    // In a track fragment (handler type 0): records without entries.
    auto frag = ParseLeaf<CSampleGroupDescBox>(FullBox("sgpd", 1, 0, "seig" + U32(20) + U32(1) + std::string(20, '\0')), 0u);
    EXPECT_EQ(frag.status, 0);
    EXPECT_EQ(frag->GetStoredEntryCount(), 1u);
    EXPECT_EQ(frag->GetGroupEntry(0), nullptr);

    // A count of entries that read nothing is bounded by the payload's bytes.
    auto hostile = ParseLeaf<CSampleGroupDescBox>(FullBox("sgpd", 0, 0, "roll" + U32(4000000000u) + U16(1)), 0u);
    EXPECT_EQ(hostile.status, -1);
    EXPECT_EQ(hostile->GetStoredEntryCount(), 2u);

    // Temporal layer, in this program's field order; avss with both optional parts.
    auto tscl = ParseLeaf<CSampleGroupDescBox>(
        FullBox("sgpd", 0, 0, "tscl" + U32(1) + U8(2) + U8(0x61) + U16(0x9000) + U8(93) + U32(0x60000000) + U16(1000) +
                                  U16(800) + U8(1) + U16(3000)),
        FourCC("vide"));
    EXPECT_EQ(tscl.status, 0);
    auto* temporal = dynamic_cast<const CTemproalLayerEntry*>(tscl->GetGroupEntry(0));
    ASSERT_NE(temporal, nullptr);
    EXPECT_EQ(temporal->m_temporalLayerId, 2u);
    EXPECT_EQ(temporal->m_profileSpace, 3u);
    EXPECT_EQ(temporal->m_profileIdc, 1u);
    EXPECT_EQ(temporal->m_levelIdc, 93u);
    EXPECT_EQ(temporal->m_maxBitRate, 1000u);
    EXPECT_EQ(temporal->m_avgFrameRate, 3000u);
    auto avss = ParseLeaf<CSampleGroupDescBox>(
        FullBox("sgpd", 0, 0, "avss" + U32(1) + U16(7) + U8(1) + U8(0xC0) + U32(400) + U8(1) + U16(64) + U16(30)),
        FourCC("vide"));
    auto* sub = dynamic_cast<const CAVCSubSequenceEntry*>(avss->GetGroupEntry(0));
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->m_subSequenceIdentifier, 7u);
    EXPECT_EQ(sub->m_duration, 400u);
    EXPECT_EQ(sub->m_avgFrameRate, 30u);
    // A group entry cut short fails the box.
    EXPECT_EQ(ParseLeaf<CSampleGroupDescBox>(FullBox("sgpd", 0, 0, "avll" + U32(1) + U8(1)), FourCC("vide")).status, -1);
}

TEST(SampleGroupBoxes, SubSamplesAuxInfoAndDependencies) {
    auto subs1 = ParseLeaf<CSubSampleInfoBox>(FullBox(
        "subs", 1, 0, U32(2) + U32(1) + U16(2) + U32(70000) + U8(1) + U8(0) + U32(0) + U32(5) + U8(1) + U8(1) + U32(9) +
                          U32(3) + U16(0)));
    EXPECT_EQ(subs1.status, 0);
    EXPECT_EQ(subs1->GetSubsampleCount(0), 2u);
    EXPECT_EQ(subs1->GetSubsample(0, 0).size, 70000u);
    EXPECT_EQ(subs1->GetSubsample(0, 1).discardable, 1u);
    EXPECT_EQ(subs1->GetSubsample(0, 1).reserved, 9u);
    EXPECT_EQ(subs1->GetSampleDelta(1), 3u);
    EXPECT_EQ(subs1->GetSubsample(1, 0).size, 0u);
    EXPECT_EQ(subs1->GetSubsample(2, 0).size, 0u);
    auto subs0 = ParseLeaf<CSubSampleInfoBox>(FullBox("subs", 0, 0, U32(1) + U32(1) + U16(1) + U16(300) + U8(0) + U8(0) + U32(0)));
    EXPECT_EQ(subs0.status, 0);
    EXPECT_EQ(subs0->GetSubsample(0, 0).size, 300u);

    // saiz with a default size stores none; per-sample sizes otherwise; flags bit 0 adds the type.
    auto saizDefault = ParseLeaf<CSaizBox>(FullBox("saiz", 0, 0, U8(4) + U32(3)));
    EXPECT_EQ(saizDefault.status, 0);
    EXPECT_EQ(saizDefault->GetStoredEntryCount(), 0u);
    EXPECT_EQ(saizDefault->GetSampleInfoSize(0), 0u);
    auto saiz = ParseLeaf<CSaizBox>(FullBox("saiz", 0, 1, "cenc" + U32(0) + U8(0) + U32(2) + U8(16) + U8(24)));
    EXPECT_EQ(saiz->m_auxInfoType, FourCC("cenc"));
    EXPECT_EQ(saiz->GetSampleInfoSize(1), 24u);

    auto saio1 = ParseLeaf<CSaioBox>(FullBox("saio", 1, 0, U32(1) + U64(0x100000010ull)));
    EXPECT_EQ(saio1.status, 0);
    EXPECT_EQ(saio1->GetOffset(0), 0x100000010ull);
    auto saio0 = ParseLeaf<CSaioBox>(FullBox("saio", 0, 0, U32(2) + U32(5) + U32(6)));
    EXPECT_EQ(saio0->GetOffset(1), 6u);
    EXPECT_EQ(saio0->GetOffset(2), 0u);

    // sdep: the count comes from outside; numbers out of range answer -1.
    CBox header;
    header.m_type = FourCC("sdep");
    CSampleDependencyBox sdep(header);
    sdep.SetSampleCount(3);
    const std::string payload = U32(0) + U16(0) + U16(1) + U16(1) + U16(2) + U16(1) + U16(2);
    CBitStreamReader r(reinterpret_cast<const uint8_t*>(payload.data()), payload.size() * 8);
    EXPECT_EQ(sdep.ParseBox(r), 0);
    EXPECT_EQ(sdep.GetStoredEntryCount(), 3u);
    EXPECT_EQ(sdep.GetDependencyCount(0), 0u);
    EXPECT_EQ(sdep.GetDependencyCount(2), 2u);
    EXPECT_EQ(sdep.GetDependencySampleNumber(1, 0), 1);
    EXPECT_EQ(sdep.GetDependencySampleNumber(2, 1), 2);
    EXPECT_EQ(sdep.GetDependencySampleNumber(2, 2), -1);
    EXPECT_EQ(sdep.GetDependencySampleNumber(0, 0), -1);
    EXPECT_EQ(sdep.GetDependencySampleNumber(3, 0), -1);
}
