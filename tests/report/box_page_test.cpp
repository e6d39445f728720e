#include <gtest/gtest.h>

#include <memory>

#include "boxes/box.h"
#include "boxes/containers/corvel.h"
#include "report/box_titles.h"
#include "report/report_page.h"
#include "report/page_test_util.h"

namespace {
const std::string kIcon = "/opt/app/Img/icon_right.png";

std::unique_ptr<CBox> MakeBox(const char (&type)[5], int64_t offset = 0, uint32_t size = 8) {
    auto box = std::make_unique<CBox>();
    box->m_type = FourCC(type);
    box->m_startOffset = offset;
    box->m_size = size;
    return box;
}

// The page of `box` as written to disk.
std::string PageOf(const CBox* parent, const CBox& box) {
    TempFolder dir("corvel_boxpage");
    ReportPage page(dir / "page.html", kIcon, dir / "sub/");
    RenderBoxPage(parent, page, box, nullptr);
    return ReadText(dir / "page.html");
}

// The whole page of a box whose only table is the common header table.
std::string HeaderPage(const std::string& title, const std::vector<std::pair<std::string, std::string>>& rows) {
    std::string all;
    for (const auto& [label, value] : rows) all += ExpectedKeyValueRow(label, value);
    return kExpectedHead + kExpectedTableOpen + ExpectedKeyValueTitle(kIcon, title) + all + "</table>\r\n" +
           kExpectedSpacer + kExpectedFoot;
}
}  // namespace

TEST(BoxPage, CommonHeaderTable) {
    auto moov = MakeBox("moov");
    // A plain box without a case of its own inside moov: "Box" and three rows.
    auto plain = MakeBox("abcd", 0x123456789, 24);
    EXPECT_EQ(PageOf(moov.get(), *plain), HeaderPage("Box", {{"Start offset", "4886718345 (0X23456789)"},
                                                             {"Box size", "24 (0X00000018)"},
                                                             {"Box type", "abcd (0X61626364)"}}));
    // A version-and-flags box adds Version and Flags.
    CFullBox full;
    full.m_type = FourCC("wxyz");
    full.m_startOffset = 16;
    full.m_size = 12;
    full.m_version = 1;
    full.m_flags = 0x000201;
    EXPECT_EQ(PageOf(moov.get(), full),
              HeaderPage("Box", {{"Start offset", "16 (0X00000010)"}, {"Box size", "12 (0X0000000C)"},
                                 {"Box type", "wxyz (0X7778797A)"}, {"Version", "1 (0X00000001)"},
                                 {"Flags", "513 (0X00000201)"}}));
    // A uuid box shows its user type right after the type.
    auto uuid = MakeBox("uuid", 40, 24);
    for (int i = 0; i < 16; ++i) uuid->m_userType[i] = static_cast<uint8_t>(0xA0 + i);
    EXPECT_EQ(PageOf(moov.get(), *uuid),
              HeaderPage("Universal Unique Identifier",
                         {{"Start offset", "40 (0X00000028)"}, {"Box size", "24 (0X00000018)"},
                          {"Box type", "uuid (0X75756964)"},
                          {"User type", "0xa0 0xa1 0xa2 0xa3 0xa4 0xa5 0xa6 0xa7 0xa8 0xa9 0xaa 0xab 0xac 0xad 0xae 0xaf"}}));
    // A 64-bit size: decimal in full, the low 32 bits in hexadecimal.
    auto large = MakeBox("moov", 0, 1);
    large->m_largeSize = 0x100000010ull;
    EXPECT_EQ(PageOf(nullptr, *large), HeaderPage("Movie Box", {{"Start offset", "0 (0X00000000)"},
                                                                {"Box size", "4294967312 (0X00000010)"},
                                                                {"Box type", "moov (0X6D6F6F76)"}}));

    // A type without a case at the top level: head and foot only.
    EXPECT_EQ(PageOf(nullptr, *plain), kExpectedHead + kExpectedFoot);
    auto hnti = MakeBox("hnti");
    EXPECT_EQ(PageOf(nullptr, *hnti), kExpectedHead + kExpectedFoot);

    // A four-character code with markup characters is escaped on the page.
    auto hostile = MakeBox("<i>'");
    const std::string page = PageOf(moov.get(), *hostile);
    EXPECT_NE(page.find(">&lt;i&gt;&#39; (0X3C693E27)</td>"), std::string::npos);
    EXPECT_EQ(page.find("<i>"), std::string::npos);
}

TEST(BoxPage, Titles) {
    auto moov = MakeBox("moov"), trak = MakeBox("trak"), udta = MakeBox("udta"), traf = MakeBox("traf");
    auto stsd = MakeBox("stsd");
    auto title = [](const CBox* parent, const char (&type)[5]) {
        CBox box;
        box.m_type = FourCC(type);
        return BoxPageTitle(parent, box);
    };
    EXPECT_EQ(title(nullptr, "stsz"), "Sample Size Boxes");  // a case is a case at any level
    EXPECT_EQ(title(udta.get(), "url "), "Data Entry Url Box");
    EXPECT_EQ(title(udta.get(), "url_"), "Box");  // exact match, blanks included
    EXPECT_EQ(title(udta.get(), "MOOV"), "Box");  // no case folding
    EXPECT_EQ(title(stsd.get(), "avc1"), "AVC Sample Entrty");

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
    const uint8_t tfxd[16] = {0x6D, 0x1D, 0x9B, 0x05, 0x42, 0xD5, 0x44, 0xE6,
                              0x80, 0xE2, 0x14, 0x1D, 0xAF, 0xF7, 0x57, 0xB2};
    const uint8_t tfrf[16] = {0xD4, 0x80, 0x7E, 0xF2, 0xCA, 0x39, 0x46, 0x95,
                              0x8E, 0x54, 0x26, 0xCB, 0x9E, 0x46, 0xA7, 0x9F};
    std::copy(tfxd, tfxd + 16, uuid.m_userType);
    EXPECT_EQ(BoxPageTitle(traf.get(), uuid), "Tfxd Box");
    std::copy(tfrf, tfrf + 16, uuid.m_userType);
    EXPECT_EQ(BoxPageTitle(traf.get(), uuid), "Tfrf Box");

    // Sample entries without a case: by the track's handler type.
    EXPECT_EQ(title(stsd.get(), "c608"), "Box");
    EXPECT_EQ(std::string(SampleEntryTitle(FourCC("soun"))), "Audio Sample Entry Box");
    EXPECT_EQ(std::string(SampleEntryTitle(FourCC("hint"))), "Box");
}

// Pages name boxes by their identity number, and the number leads back to the
// same box while the tree is loaded; a number naming no box leads nowhere.
TEST(BoxPage, BoxIdentityLookups) {
    CCorvelLib lib;
    ASSERT_EQ(lib.Init(CorpusPath("avc_aac.mov")), 0);
    ASSERT_EQ(lib.Go(), 0);
    const CBox* stsz = lib.Parser()->GetBox(3)->GetChild(1)->RetrieveChildBox(FourCC("mdia"), true);
    ASSERT_NE(stsz, nullptr);
    stsz = stsz->RetrieveChildBox(FourCC("minf"), true)->RetrieveChildBox(FourCC("stbl"), true);
    stsz = stsz->RetrieveChildBox(FourCC("stsz"), true);
    ASSERT_NE(stsz, nullptr);
    ASSERT_NE(stsz->m_id, 0u);
    EXPECT_EQ(lib.Parser()->FindBox(stsz->m_id), stsz);
    EXPECT_EQ(lib.Parser()->FindBox(0), nullptr);
    EXPECT_EQ(lib.Parser()->FindBox(100000), nullptr);
}
