// The sample table boxes inside their containers: classes, handler type and the
// sample counts of sdtp, sdep and stdp.
#include <gtest/gtest.h>

#include "boxes/core/containers.h"
#include "boxes/core/corvel.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/sampletable/sample_dependency_box.h"
#include "boxes/sampletable/sample_dependency_type_box.h"
#include "boxes/sampletable/sample_group_boxes.h"
#include "boxes/sampletable/sample_size_box.h"
#include "support/box_builder.h"

namespace {
struct Walk {
    CCorvelLib lib;
    int status = -1;
    const CBox* Top(size_t i) const { return lib.Parser()->GetBox(i); }
};

std::unique_ptr<Walk> Parse(const std::string& name, const std::string& bytes) {
    auto w = std::make_unique<Walk>();
    EXPECT_EQ(w->lib.Init(WriteTempFile(name, bytes)), 0);
    w->status = w->lib.Go();
    return w;
}

// The stbl of the first track of top-level box `top` (a moov).
const CBox* Stbl(const Walk& w, size_t top = 0) {
    const CBox* b = w.Top(top);
    for (uint32_t type : {FourCC("trak"), FourCC("mdia"), FourCC("minf"), FourCC("stbl")}) {
        if (!b) return nullptr;
        b = b->RetrieveChildBox(type, true);
    }
    return b;
}

std::string Track(const std::string& stblChildren) {
    return Box("moov", Box("trak", Box("mdia", Hdlr("vide") + Box("minf", Box("stbl", stblChildren)))));
}

template <class T>
const T* Child(const CBox* parent, const char (&type)[5]) {
    return parent ? dynamic_cast<const T*>(parent->RetrieveChildBox(FourCC(type), true)) : nullptr;
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
        auto w = Parse("counts.mp4", Track(before ? deps + kStsz3 : kStsz3 + deps));
        EXPECT_EQ(w->status, 0);
        const CBox* stbl = Stbl(*w);
        ASSERT_NE(stbl, nullptr);
        EXPECT_EQ(stbl->GetChild(before ? 3 : 0)->m_type, FourCC("stsz"));
        auto* sdtp = Child<CSampleDependencyTypeBox>(stbl, "sdtp");
        ASSERT_NE(sdtp, nullptr);
        EXPECT_EQ(sdtp->GetSampleCount(), 3u);
        EXPECT_EQ(sdtp->GetSampleDependsOn(2), 3u);
        auto* sdep = Child<CSampleDependencyBox>(stbl, "sdep");
        ASSERT_NE(sdep, nullptr);
        EXPECT_EQ(sdep->GetStoredEntryCount(), 3u);
        EXPECT_EQ(sdep->GetDependencySampleNumber(2, 0), 2);
        auto* stdp = Child<CDegradationPriorityBox>(stbl, "stdp");
        ASSERT_NE(stdp, nullptr);
        EXPECT_EQ(stdp->GetPriority(2), 3u);
    }

    // Only stz2: sdtp and sdep take its count, stdp gets 0 and reads nothing.
    const std::string stz2 = FullBox("stz2", 0, 0, U24(0) + U8(8) + U32(3) + U8(1) + U8(2) + U8(3));
    auto w = Parse("stz2.mp4", Track(kSdtp3 + kStdp3 + stz2 + kSdep3));
    EXPECT_EQ(w->status, 0);
    const CBox* stbl = Stbl(*w);
    EXPECT_EQ(Child<CSampleDependencyTypeBox>(stbl, "sdtp")->GetStoredEntryCount(), 3u);
    EXPECT_EQ(Child<CSampleDependencyBox>(stbl, "sdep")->GetStoredEntryCount(), 3u);
    EXPECT_EQ(Child<CDegradationPriorityBox>(stbl, "stdp")->GetSampleCount(), 0u);
    EXPECT_EQ(Child<CDegradationPriorityBox>(stbl, "stdp")->GetStoredEntryCount(), 0u);

    // No size box: count 0, success. A deferred box that fails fails the stbl.
    EXPECT_EQ(Parse("nosize.mp4", Track(kSdtp3))->status, 0);
    auto bad = Parse("shortdeferred.mp4", Track(FullBox("sdtp", 0, 0, U8(1)) + kStsz3));
    EXPECT_EQ(bad->status, -1);
}

TEST(SampleTableContainer, HeadersAndGroupsGetTheirClasses) {
    const std::string sgpd = FullBox("sgpd", 0, 0, "roll" + U32(1) + U16(1));
    const std::string mvhd = FullBox("mvhd", 0, 0, std::string(96, '\0'));
    auto w = Parse("groups.mp4", Box("ftyp", "isom" + U32(0)) +
                                     Box("moov", mvhd + Box("trak", Box("mdia", Hdlr("vide") + Box("minf", Box("stbl", sgpd))))) +
                                     Box("free", "xy"));
    EXPECT_EQ(w->status, 0);
    ASSERT_EQ(w->lib.Parser()->GetBoxCount(), 3u);
    EXPECT_NE(Child<CMovieHeaderBox>(w->Top(1), "mvhd"), nullptr);
    auto* group = Child<CSampleGroupDescBox>(Stbl(*w, 1), "sgpd");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->m_handlerType, FourCC("vide"));
    EXPECT_NE(dynamic_cast<const IVisualSampleGroupEntry*>(group->GetGroupEntry(0)), nullptr);

    // In a traf the sgpd has no handler type.
    auto frag = Parse("traf.mp4", Box("moof", Box("traf", sgpd + FullBox("sbgp", 0, 0, "roll" + U32(0)))));
    EXPECT_EQ(frag->status, 0);
    const CBox* traf = frag->Top(0)->GetChild(0);
    auto* fragGroup = Child<CSampleGroupDescBox>(traf, "sgpd");
    ASSERT_NE(fragGroup, nullptr);
    EXPECT_EQ(fragGroup->m_handlerType, 0u);
    EXPECT_EQ(fragGroup->GetGroupEntry(0), nullptr);
    EXPECT_NE(Child<CSampletoGroupBox>(traf, "sbgp"), nullptr);
}
