// The sample table boxes inside their containers: classes, handler type and the
// sample counts of sdtp, sdep and stdp.
#include <gtest/gtest.h>

#include "boxes/containers/containers.h"
#include "boxes/sampletable/sample_dependency_box.h"
#include "boxes/sampletable/sample_dependency_type_box.h"
#include "boxes/sampletable/sample_group_boxes.h"
#include "support/parse_file.h"

namespace {
// One video track holding the given stbl children; its stbl after the walk.
const CBox* Stbl(const ParsedFile& w) { return w.Top(0)->GetChild(0)->GetChild(0)->GetChild(1)->GetChild(0); }
std::string Track(const std::string& children) {
    return Box("moov", Box("trak", Box("mdia", Hdlr("vide") + Box("minf", Box("stbl", children)))));
}
template <class T>
const T* Child(const CBox* parent, const char (&type)[5]) {
    return dynamic_cast<const T*>(parent->RetrieveChildBox(FourCC(type), true));
}

const std::string kStsz3 = FullBox("stsz", 0, 0, U32(10) + U32(3));
const std::string kSdtp3 = FullBox("sdtp", 0, 0, U8(0x10) + U8(0x20) + U8(0x30));
const std::string kSdep3 = FullBox("sdep", 0, 0, U16(0) + U16(1) + U16(1) + U16(1) + U16(2));
const std::string kStdp3 = FullBox("stdp", 0, 0, U16(1) + U16(2) + U16(3));
}  // namespace

TEST(SampleTableContainer, SampleCountsFromTheSizeBox) {
    // Before and after stsz, the same counts; the children keep their file order.
    for (bool before : {true, false}) {
        std::string deps = kSdtp3 + kSdep3 + kStdp3;
        auto w = ParseFile("counts.mp4", Track(before ? deps + kStsz3 : kStsz3 + deps));
        ASSERT_EQ(w->status, 0);
        const CBox* stbl = Stbl(*w);
        EXPECT_EQ(stbl->GetChild(before ? 3 : 0)->m_type, FourCC("stsz"));
        EXPECT_EQ(Child<CSampleDependencyTypeBox>(stbl, "sdtp")->GetSampleDependsOn(2), 3u);
        EXPECT_EQ(Child<CSampleDependencyBox>(stbl, "sdep")->GetDependencySampleNumber(2, 0), 2);
        EXPECT_EQ(Child<CDegradationPriorityBox>(stbl, "stdp")->GetPriority(2), 3u);
    }

    // Only stz2: sdtp and sdep take its count, stdp gets 0 and reads nothing.
    const std::string stz2 = FullBox("stz2", 0, 0, U24(0) + U8(8) + U32(3) + U8(1) + U8(2) + U8(3));
    auto w = ParseFile("stz2.mp4", Track(kSdtp3 + kStdp3 + stz2 + kSdep3));
    ASSERT_EQ(w->status, 0);
    const CBox* stbl = Stbl(*w);
    EXPECT_EQ(Child<CSampleDependencyTypeBox>(stbl, "sdtp")->GetStoredEntryCount(), 3u);
    EXPECT_EQ(Child<CSampleDependencyBox>(stbl, "sdep")->GetStoredEntryCount(), 3u);
    EXPECT_EQ(Child<CDegradationPriorityBox>(stbl, "stdp")->GetStoredEntryCount(), 0u);

    // No size box: count 0, success. A deferred box that fails fails the stbl.
    EXPECT_EQ(ParseFile("nosize.mp4", Track(kSdtp3))->status, 0);
    EXPECT_EQ(ParseFile("shortdeferred.mp4", Track(FullBox("sdtp", 0, 0, U8(1)) + kStsz3))->status, -1);
}

TEST(SampleTableContainer, GroupsTakeTheHandlerTypeOfTheirTrack) {
    const std::string sgpd = FullBox("sgpd", 0, 0, "roll" + U32(1) + U16(1));
    auto w = ParseFile("groups.mp4", Track(sgpd));
    ASSERT_EQ(w->status, 0);
    auto* group = Child<CSampleGroupDescBox>(Stbl(*w), "sgpd");
    ASSERT_NE(group, nullptr);
    EXPECT_NE(dynamic_cast<const IVisualSampleGroupEntry*>(group->GetGroupEntry(0)), nullptr);

    // In a traf the sgpd has no handler type.
    auto frag = ParseFile("traf.mp4", Box("moof", Box("traf", sgpd + FullBox("sbgp", 0, 0, "roll" + U32(0)))));
    ASSERT_EQ(frag->status, 0);
    const CBox* traf = frag->Top(0)->GetChild(0);
    auto* fragGroup = Child<CSampleGroupDescBox>(traf, "sgpd");
    ASSERT_NE(fragGroup, nullptr);
    EXPECT_EQ(fragGroup->GetGroupEntry(0), nullptr);
    EXPECT_NE(Child<CSampletoGroupBox>(traf, "sbgp"), nullptr);
}
