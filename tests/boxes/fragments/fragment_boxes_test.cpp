#include <gtest/gtest.h>

#include "boxes/core/containers.h"
#include "boxes/fragments/movie_extends_boxes.h"
#include "boxes/fragments/movie_fragment_header_box.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "boxes/fragments/track_run_box.h"
#include "boxes/sampletable/sample_dependency_type_box.h"
#include "report/box_rows.h"
#include "support/box_builder.h"

namespace {
// Reads the header of `bytes` and parses the rest as a T; returns the ParseBox status.
template <class T>
int Parse(const std::string& bytes, T*& out, std::unique_ptr<CBox>& owner, int64_t startOffset = 0) {
    CBitStreamReader r(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size() * 8);
    CBox header;
    header.m_startOffset = startOffset;
    header.ParseBox(r);
    auto box = std::make_unique<T>(header);
    const int status = box->ParseBox(r);
    out = box.get();
    owner = std::move(box);
    return status;
}

// The label/value rows of the first table a box adds to its page.
std::vector<std::pair<std::string, std::string>> OwnRows(const CBox& box, PageModel* out = nullptr) {
    PageModel page;
    EXPECT_TRUE(AddFragmentRows(page, box, RowContext{}));
    std::vector<std::pair<std::string, std::string>> rows;
    if (!page.tables.empty())
        for (auto& [label, value] : page.tables[0].rows) rows.emplace_back(label, value.Plain());
    if (out) *out = std::move(page);
    return rows;
}
}  // namespace

TEST(TrackFragmentHeaderBox, ReadsOnlyTheFieldsItsFlagsName) {
    std::unique_ptr<CBox> owner;
    CTrackFragmentHeaderBox* tfhd = nullptr;

    // default-base-is-moof alone: the track id and nothing else.
    ASSERT_EQ(Parse(FullBox("tfhd", 0, 0x20000, U32(7)), tfhd, owner), 0);
    EXPECT_EQ(tfhd->m_trackId, 7u);
    EXPECT_EQ(tfhd->m_baseDataOffset, 0u);
    EXPECT_EQ(tfhd->m_defaultSampleSize, 0u);
    auto rows = OwnRows(*tfhd);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], (std::pair<std::string, std::string>{"Track id", "7 (0X00000007)"}));
    EXPECT_EQ(rows[5], (std::pair<std::string, std::string>{"Default sample flags", "0 (0X00000000)"}));

    // 0x39: base offset, duration, size, flags; no description index.
    auto bytes = FullBox("tfhd", 0, 0x39, U32(1) + U64(0x100000020ull) + U32(1024) + U32(300) + U32(0x01010000));
    ASSERT_EQ(Parse(bytes, tfhd, owner), 0);
    EXPECT_EQ(tfhd->m_baseDataOffset, 0x100000020ull);
    EXPECT_EQ(tfhd->m_sampleDescriptionIndex, 0u);
    EXPECT_EQ(tfhd->m_defaultSampleDuration, 1024u);
    EXPECT_EQ(tfhd->m_defaultSampleSize, 300u);
    EXPECT_EQ(tfhd->m_defaultSampleFlags, 0x01010000u);
    rows = OwnRows(*tfhd);
    // The 64-bit row shows the low 32 bits in hexadecimal.
    EXPECT_EQ(rows[1].second, "4294967328 (0X00000020)");

    // Cut inside the default size: the box fails, what was read stays.
    bytes = FullBox("tfhd", 0, 0x39, U32(1) + U64(5) + U32(1024));
    EXPECT_EQ(Parse(bytes, tfhd, owner), -1);
    EXPECT_EQ(tfhd->m_defaultSampleDuration, 1024u);
    EXPECT_EQ(tfhd->m_defaultSampleSize, 0u);
}

TEST(TrackRunBox, ReadsPerSampleFieldsByFlags) {
    std::unique_ptr<CBox> owner;
    CTrackRunBox* trun = nullptr;

    // 0x301: data offset, then duration and size per sample.
    std::string samples;
    for (uint32_t i = 1; i <= 3; ++i) samples += U32(1000 + i) + U32(10 * i);
    ASSERT_EQ(Parse(FullBox("trun", 0, 0x301, U32(3) + U32(0x70) + samples), trun, owner), 0);
    EXPECT_EQ(trun->m_dataOffset, 0x70u);
    ASSERT_EQ(trun->GetSampleEntryCount(), 3u);
    EXPECT_EQ(trun->GetSample(2)->duration, 1003u);
    EXPECT_EQ(trun->GetSample(2)->size, 30u);
    EXPECT_EQ(trun->GetSample(2)->flags, 0u);
    EXPECT_EQ(trun->GetSample(3), nullptr);
    PageModel page;
    OwnRows(*trun, &page);
    ASSERT_EQ(page.tables.size(), 2u);
    const ReportTable& list = page.tables[1];
    EXPECT_EQ(list.title, "Samples");
    EXPECT_EQ(list.kind, TableKind::List);
    ASSERT_EQ(list.headers, (std::vector<std::string>{"No.", "Duration", "Size", "Flags", "Composition time offset"}));
    ASSERT_EQ(list.columns[0].size(), 3u);
    EXPECT_EQ(list.columns[0][2].Plain(), "3");
    EXPECT_EQ(list.columns[2][1].Plain(), "20");

    // Version 1 with every field and first sample flags: the offset is signed.
    ASSERT_EQ(Parse(FullBox("trun", 1, 0xF05,
                            U32(1) + U32(0xFFFFFFF8) + U32(0x02000000) + U32(1) + U32(2) + U32(3) + U32(0xFFFFFFFF)),
                    trun, owner),
              0);
    EXPECT_EQ(trun->m_firstSampleFlags, 0x02000000u);
    EXPECT_EQ(trun->GetSample(0)->flags, 3u);  // first_sample_flags is not folded into the entry
    EXPECT_EQ(trun->GetSample(0)->compositionTimeOffset, 4294967295u);
    auto rows = OwnRows(*trun, &page);
    EXPECT_EQ(rows[1].second, "4294967288 (0XFFFFFFF8)");  // the data offset is shown unsigned
    EXPECT_EQ(page.tables[1].columns[4][0].Plain(), "-1");

    // A count beyond the payload: the samples read stay, the box fails.
    ASSERT_EQ(Parse(FullBox("trun", 0, 0x200, U32(5) + U32(11) + U32(12)), trun, owner), -1);
    EXPECT_EQ(trun->GetSampleEntryCount(), 2u);
    OwnRows(*trun, &page);
    EXPECT_EQ(page.tables[1].columns[0].size(), 2u);

    // No per-sample field: the samples take no bytes, so a huge count keeps a bounded list.
    ASSERT_EQ(Parse(FullBox("trun", 0, 0x1, U32(0xFFFFFFFF) + U32(8)), trun, owner), 0);
    EXPECT_EQ(trun->GetSampleEntryCount(), CTrackRunBox::kMaxFieldlessSamples);

    // An empty run.
    ASSERT_EQ(Parse(FullBox("trun", 0, 0x300, U32(0)), trun, owner), 0);
    EXPECT_EQ(trun->GetSampleEntryCount(), 0u);
}

TEST(FragmentTimeBoxes, VersionRulesDiffer) {
    std::unique_ptr<CBox> owner;
    CTfdtBox* tfdt = nullptr;
    // tfdt: version 0 is 32 bits, any other version 64 bits.
    ASSERT_EQ(Parse(FullBox("tfdt", 1, 0, U64(0x123456789ull)), tfdt, owner), 0);
    EXPECT_EQ(tfdt->m_baseMediaDecodeTime, 0x123456789ull);
    ASSERT_EQ(Parse(FullBox("tfdt", 2, 0, U64(0x123456789ull)), tfdt, owner), 0);
    EXPECT_EQ(tfdt->m_baseMediaDecodeTime, 0x123456789ull);
    ASSERT_EQ(Parse(FullBox("tfdt", 0, 0, U32(90000)), tfdt, owner), 0);
    EXPECT_EQ(tfdt->m_baseMediaDecodeTime, 90000u);
    EXPECT_EQ(OwnRows(*tfdt)[0], (std::pair<std::string, std::string>{"Base media decode time", "90000 (0X00015F90)"}));
    EXPECT_EQ(Parse(FullBox("tfdt", 1, 0, U32(1)), tfdt, owner), -1);

    // mehd: only version 1 is 64 bits; version 2 reads 32.
    CMovieExtendsHeaderBox* mehd = nullptr;
    ASSERT_EQ(Parse(FullBox("mehd", 2, 0, U32(5000)), mehd, owner), 0);
    EXPECT_EQ(mehd->m_fragmentDuration, 5000u);
    ASSERT_EQ(Parse(FullBox("mehd", 1, 0, U64(0x200000001ull)), mehd, owner), 0);
    EXPECT_EQ(mehd->m_fragmentDuration, 0x200000001ull);
    EXPECT_EQ(OwnRows(*mehd)[0].second, "8589934593 (0X00000001)");
}

TEST(TrackExtendsBox, ReadsItsDefaults) {
    std::unique_ptr<CBox> owner;
    CTrackExtendsBox* trex = nullptr;
    ASSERT_EQ(Parse(FullBox("trex", 0, 0, U32(2) + U32(1) + U32(1024) + U32(371) + U32(0x10000)), trex, owner), 0);
    auto rows = OwnRows(*trex);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[2], (std::pair<std::string, std::string>{"Sample duration", "1024 (0X00000400)"}));
    EXPECT_EQ(rows[3].second, "371 (0X00000173)");
    EXPECT_EQ(Parse(FullBox("trex", 0, 0, U32(2)), trex, owner), -1);
    EXPECT_EQ(trex->m_trackId, 2u);
}

TEST(MovieFragmentHeaderBox, KeepsUuidChildrenAndFailsOnOthers) {
    std::unique_ptr<CBox> owner;
    CMovieFragmentHeaderBox* mfhd = nullptr;
    ASSERT_EQ(Parse(FullBox("mfhd", 0, 0, U32(42)), mfhd, owner), 0);
    EXPECT_EQ(mfhd->m_sequenceNumber, 42u);
    EXPECT_EQ(mfhd->GetChildCount(), 0u);
    EXPECT_EQ(OwnRows(*mfhd)[0].second, "42 (0X0000002A)");

    // A uuid after the sequence number: one plain child at its own offset.
    const uint8_t userType[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    auto bytes = FullBox("mfhd", 0, 0, U32(1) + UuidBox(userType, U32(0xDEADBEEF)));
    ASSERT_EQ(Parse(bytes, mfhd, owner, 100), 0);
    ASSERT_EQ(mfhd->GetChildCount(), 1u);
    EXPECT_EQ(mfhd->GetChild(0)->m_type, FourCC("uuid"));
    EXPECT_EQ(mfhd->GetChild(0)->m_startOffset, 116);
    EXPECT_EQ(mfhd->GetChild(0)->m_userType[15], 15);

    // Any other box there fails the mfhd and is not kept.
    bytes = FullBox("mfhd", 0, 0, U32(1) + Box("free", "abcd"));
    EXPECT_EQ(Parse(bytes, mfhd, owner), -1);
    EXPECT_EQ(mfhd->GetChildCount(), 0u);
}

TEST(FragmentContainers, CreateTheFragmentClasses) {
    // moof { mfhd, traf { tfhd, tfdt, trun } } and mvex { mehd, trex }.
    auto traf = Box("traf", FullBox("tfhd", 0, 0x20000, U32(1)) + FullBox("tfdt", 1, 0, U64(7)) +
                                FullBox("trun", 0, 0x200, U32(1) + U32(9)));
    auto moof = Box("moof", FullBox("mfhd", 0, 0, U32(3)) + traf);
    std::unique_ptr<CBox> owner;
    CMovieFragmentBox* box = nullptr;
    ASSERT_EQ(Parse(moof, box, owner), 0);
    ASSERT_EQ(box->GetChildCount(), 2u);
    EXPECT_NE(dynamic_cast<CMovieFragmentHeaderBox*>(box->GetChild(0)), nullptr);
    CBox* t = box->GetChild(1);
    ASSERT_EQ(t->GetChildCount(), 3u);
    EXPECT_NE(dynamic_cast<CTrackFragmentHeaderBox*>(t->GetChild(0)), nullptr);
    EXPECT_EQ(dynamic_cast<CTfdtBox*>(t->GetChild(1))->m_baseMediaDecodeTime, 7u);
    EXPECT_EQ(dynamic_cast<CTrackRunBox*>(t->GetChild(2))->GetSample(0)->size, 9u);

    auto mvex =
        Box("mvex", FullBox("mehd", 0, 0, U32(10)) + FullBox("trex", 0, 0, U32(1) + U32(1) + U32(0) + U32(0) + U32(0)));
    CMovieExtendsBox* ext = nullptr;
    ASSERT_EQ(Parse(mvex, ext, owner), 0);
    EXPECT_NE(dynamic_cast<CMovieExtendsHeaderBox*>(ext->GetChild(0)), nullptr);
    EXPECT_NE(dynamic_cast<CTrackExtendsBox*>(ext->GetChild(1)), nullptr);

    // A failing trun stops its traf and the moof.
    auto bad = Box("moof", Box("traf", FullBox("trun", 0, 0x200, U32(4) + U32(9))));
    ASSERT_EQ(Parse(bad, box, owner), -1);
    EXPECT_EQ(box->GetChild(0)->GetChildCount(), 1u);
}

TEST(FragmentContainers, SdtpCountsTheSamplesOfTheFirstRun) {
    const std::string sdtp = FullBox("sdtp", 0, 0, "\x10\x20\x30\x40");
    const std::string trun3 = FullBox("trun", 0, 0x200, U32(3) + U32(1) + U32(2) + U32(3));
    std::unique_ptr<CBox> owner;
    CTrackFragmentBox* traf = nullptr;
    auto sdtpOf = [&] { return dynamic_cast<CSampleDependencyTypeBox*>(traf->RetrieveChildBox(FourCC("sdtp"), true)); };

    // After the run: 3 entries at once.
    ASSERT_EQ(Parse(Box("traf", trun3 + sdtp), traf, owner), 0);
    ASSERT_NE(sdtpOf(), nullptr);
    EXPECT_EQ(sdtpOf()->GetStoredEntryCount(), 3u);
    EXPECT_EQ(sdtpOf()->GetSampleDependsOn(1), 2u);

    // Before the run: parsed at the end of the traf with the run's count, kept in file order.
    ASSERT_EQ(Parse(Box("traf", sdtp + trun3 + FullBox("trun", 0, 0x200, U32(1) + U32(4))), traf, owner), 0);
    EXPECT_EQ(traf->GetChild(0), sdtpOf());
    EXPECT_EQ(sdtpOf()->GetStoredEntryCount(), 3u);

    // No run at all: no samples, and the traf still parses.
    ASSERT_EQ(Parse(Box("traf", sdtp), traf, owner), 0);
    EXPECT_EQ(sdtpOf()->GetStoredEntryCount(), 0u);
}
