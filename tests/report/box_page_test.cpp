#include <gtest/gtest.h>

#include <memory>

#include "boxes/box.h"
#include "boxes/containers/corvel.h"
#include "boxes/streaming/user_types.h"
#include "report/page_html.h"
#include "report/page_test_util.h"

namespace {
std::unique_ptr<CBox> MakeBox(const char (&type)[5], int64_t offset = 0, uint32_t size = 8) {
    auto box = std::make_unique<CBox>();
    box->m_type = FourCC(type);
    box->m_startOffset = offset;
    box->m_size = size;
    return box;
}

// Label: value of every row of the common header table.
std::vector<std::string> HeaderRows(const PageModel& page) {
    std::vector<std::string> rows;
    if (page.tables.empty()) return rows;
    for (const Row& row : page.tables[0].rows) rows.push_back(row.label + ": " + row.value.Plain());
    return rows;
}
}  // namespace

TEST(BoxPage, CommonHeaderTable) {
    auto moov = MakeBox("moov");
    // A plain box without a case of its own inside moov: "Box" and three rows.
    auto plain = MakeBox("abcd", 0x123456789, 24);
    PageModel page = PageOf(*plain, moov.get());
    EXPECT_EQ(page.title, "Box");
    EXPECT_EQ(HeaderRows(page), (std::vector<std::string>{"Start offset: 4886718345 (0X123456789)",
                                                          "Box size: 24 (0X00000018)", "Box type: abcd (0X61626364)"}));
    // The start offset's row stands for the whole header (the corpus spans test checks
    // the header fields' own spans).
    EXPECT_EQ(page.tables[0].rows[0].span.Offset(), 0x123456789u);
    EXPECT_EQ(page.tables[0].rows[0].span.Length(), 8u);
    // A version-and-flags box adds Version and Flags.
    CFullBox full;
    full.m_type = FourCC("wxyz");
    full.m_version = 1;
    full.m_flags = 0x000201;
    EXPECT_EQ(HeaderRows(PageOf(full, moov.get())).back(), "Flags: 513 (0X00000201)");
    // A uuid box shows its user type right after the type.
    auto uuid = MakeBox("uuid", 40, 24);
    uint8_t userType[16];
    for (int i = 0; i < 16; ++i) userType[i] = static_cast<uint8_t>(0xA0 + i);
    uuid->SetUserType(userType);
    EXPECT_EQ(HeaderRows(PageOf(*uuid, moov.get())).back(),
              "User type: 0xa0 0xa1 0xa2 0xa3 0xa4 0xa5 0xa6 0xa7 0xa8 0xa9 0xaa 0xab 0xac 0xad 0xae 0xaf");
    // A 64-bit size: decimal and hexadecimal in full.
    auto large = MakeBox("moov", 0, 1);
    large->SetLargeSize(0x100000010ull);
    EXPECT_EQ(HeaderRows(PageOf(*large))[1], "Box size: 4294967312 (0X100000010)");

    // A type without a case at the top level: head and foot only.
    EXPECT_TRUE(PageOf(*plain).tables.empty());
    EXPECT_TRUE(PageOf(*MakeBox("hnti")).tables.empty());

    // A four-character code with markup characters is escaped on the page.
    EXPECT_EQ(PageOf(*MakeBox("<i>'"), moov.get()).tables[0].rows[2].value.Html(), "&lt;i&gt;&#39; (0X3C693E27)");
}

TEST(BoxPage, Titles) {
    auto moov = MakeBox("moov"), trak = MakeBox("trak"), udta = MakeBox("udta"), traf = MakeBox("traf");
    auto title = [](const CBox* parent, const char (&type)[5]) {
        CBox box;
        box.m_type = FourCC(type);
        return BoxPageTitle(parent, box);
    };
    EXPECT_EQ(title(moov.get(), "cprt"), "Tag Box");
    EXPECT_EQ(title(udta.get(), "cprt"), "Copyright Box");
    EXPECT_EQ(title(nullptr, "cprt"), "Copyright Box");

    EXPECT_EQ(title(moov.get(), "hnti"), "Movie SDP information");
    EXPECT_EQ(title(trak.get(), "hnti"), "Track SDP information");
    EXPECT_EQ(title(udta.get(), "hnti"), "SDP Information");

    CBox uuid;
    uuid.m_type = FourCC("uuid");
    EXPECT_EQ(BoxPageTitle(nullptr, uuid), "XMP Metadata box");
    EXPECT_EQ(BoxPageTitle(moov.get(), uuid), "Universal Unique Identifier");
    EXPECT_EQ(BoxPageTitle(traf.get(), uuid), "Universal Unique Identifier");
    uuid.SetUserType(kTfxdUserType);
    EXPECT_EQ(BoxPageTitle(traf.get(), uuid), "Tfxd Box");
    uuid.SetUserType(kTfrfUserType);
    EXPECT_EQ(BoxPageTitle(traf.get(), uuid), "Tfrf Box");

}

// Pages name boxes by their identity number, and the number leads back to the
// same box while the tree is loaded; a number naming no box leads nowhere.
TEST(BoxPage, BoxIdentityLookups) {
    CCorvelLib lib;
    ASSERT_EQ(lib.Init(CorpusPath("avc_aac.mov")), 0);
    ASSERT_EQ(lib.Go(), 0);
    const CBox* stsz = lib.Parser()->GetBox(3)->GetChild(1);  // moov/trak
    for (uint32_t type : {FourCC("mdia"), FourCC("minf"), FourCC("stbl"), FourCC("stsz")})
        stsz = stsz ? stsz->RetrieveChildBox(type, true) : nullptr;
    ASSERT_NE(stsz, nullptr);
    ASSERT_NE(stsz->m_id, 0u);
    EXPECT_EQ(lib.Parser()->FindBox(stsz->m_id), stsz);
    EXPECT_EQ(lib.Parser()->FindBox(0), nullptr);
    EXPECT_EQ(lib.Parser()->FindBox(100000), nullptr);
}
