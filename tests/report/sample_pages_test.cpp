#include "report/sample_pages.h"

#include <gtest/gtest.h>

#include <regex>

#include "boxes/containers/corvel.h"
#include "report/markup.h"
#include "support/box_builder.h"
#include "support/corpus.h"

namespace {
std::string Stsz(uint32_t constant, const std::vector<uint32_t>& sizes, uint32_t count = 0) {
    std::string p = U32(constant) + U32(constant ? count : static_cast<uint32_t>(sizes.size()));
    for (uint32_t s : sizes) p += U32(s);
    return FullBox("stsz", 0, 0, p);
}
std::string Table(const char* type, const std::vector<std::vector<uint32_t>>& entries) {
    std::string p = U32(static_cast<uint32_t>(entries.size()));
    for (const auto& e : entries)
        for (uint32_t v : e) p += U32(v);
    return FullBox(type, 0, 0, p);
}
std::string Track(const std::string& stblChildren) {
    return Box("trak", Box("mdia", Hdlr("vide") + Box("minf", Box("stbl", stblChildren))));
}
// A track of n samples of one byte.
std::string TrackOf(uint32_t n) { return Track(Stsz(1, {}, n)); }

std::string Tfhd(uint32_t flags, uint32_t trackId, const std::string& fields = "") {
    return FullBox("tfhd", 0, flags, U32(trackId) + fields);
}
// A trun of per-sample sizes (flag 0x200), with a data offset when given.
std::string TrunSizes(const std::vector<uint32_t>& sizes, const int32_t* dataOffset = nullptr) {
    std::string p = U32(static_cast<uint32_t>(sizes.size()));
    if (dataOffset) p += U32(static_cast<uint32_t>(*dataOffset));
    for (uint32_t s : sizes) p += U32(s);
    return FullBox("trun", 0, 0x200 | (dataOffset ? 1 : 0), p);
}

struct Parsed {
    CCorvelLib lib;
    explicit Parsed(const std::string& name, const std::string& bytes) {
        lib.Init(WriteTempFile(name, bytes));
        lib.Go();
    }
    const CCorvel& P() const { return *lib.Parser(); }
    std::vector<const CBox*> All(uint32_t type) const {
        std::vector<const CBox*> list;
        for (size_t i = 0; i < P().GetBoxCount(); ++i) FindBoxes(*P().GetBox(i), type, list);
        return list;
    }
};

ReportPage& Page() {
    static ReportPage page("", "ICON", TempDir() + "/sub/");
    return page;
}
const std::string kSubPath = TempDir() + "/subpage.html";

// The value cells of each row of a sub page; a sample offset cell gives its number.
std::vector<std::vector<std::string>> Rows(const std::string& html) {
    std::vector<std::vector<std::string>> rows;
    static const std::regex cell(R"(<td align = "left" bgcolor = white>([^<&]*))");
    size_t pos = 0;
    while ((pos = html.find("<tr>", pos)) != std::string::npos) {
        size_t end = html.find("</tr>", pos);
        std::string row = html.substr(pos, end - pos);
        pos = end;
        std::vector<std::string> cells;
        for (std::sregex_iterator it(row.begin(), row.end(), cell), stop; it != stop; ++it) cells.push_back((*it)[1]);
        if (!cells.empty()) rows.push_back(cells);
    }
    return rows;
}

std::string TrackPage(const CBox& stbl, uint32_t k) {
    WriteTrackSamplesSubPage(Page(), stbl, kSubPath, k);
    return ReadText(kSubPath);
}
std::string FragmentPage(const Parsed& f, const CBox& traf, uint32_t k, const CBox* moof, const CBox* mdat) {
    WriteFragmentSamplesSubPage(Page(), traf, kSubPath, k, moof, mdat, &f.P());
    return ReadText(kSubPath);
}
std::string EntriesPage(const CBox& box, uint32_t k) {
    WriteEntriesSubPage(Page(), box, kSubPath, k);
    return ReadText(kSubPath);
}
std::string SelectMarkup(const Parsed& f, const CBox& mdat) {
    PageModel page;
    RowContext ctx{nullptr, &f.P(), "ICON", "/sub/"};
    if (!AddMediaDataSelectLists(page, mdat, ctx)) return "";
    EXPECT_EQ(page.tables.size(), 1u);
    EXPECT_EQ(page.tables[0].kind, TableKind::Markup);
    return page.tables[0].markup.Html();
}
}  // namespace

TEST(TrackSamplesSubPage, WalksChunksTimesAndSyncSamples) {
    // Chunks 1-2 hold 3 samples, later chunks 2; 5 deltas of 100 then 200; sync samples 1 and 7.
    Parsed f("chunks.mp4",
             Box("moov", Track(Stsz(0, {10, 20, 30, 40, 50, 60, 70, 80}) + Table("stsc", {{1, 3, 1}, {3, 2, 1}}) +
                               Table("stco", {{1000}, {2000}, {3000}}) + Table("stts", {{5, 100}, {3, 200}}) +
                               Table("stss", {{1}, {7}}))));
    const CBox* stbl = f.All(FourCC("stbl")).at(0);
    const std::string html = TrackPage(*stbl, 0);
    EXPECT_EQ(html.rfind(SubPageHead(true), 0), 0u);
    EXPECT_NE(html.find(SubTitleRow(7, "ICON", "Samples") +
                        "<tr>\r\n<td align = \"left\" bgcolor = #f7f7f7  width = 16%>No.</td>\r\n"),
              std::string::npos);
    EXPECT_NE(html.find("<td align = \"left\" bgcolor = white>1030&nbsp;&nbsp;<BUTTON STYLE=\"WIDTH:20\" onClick = "
                        "\"parent.fncOnClick(30, 1030)\">...</BUTTON></td>\r\n</tr>\r\n"),
              std::string::npos);
    const std::vector<std::vector<std::string>> expected = {
        {"1", "100", "10", "1", "1000", "O", "1000"}, {"2", "100", "20", "1", "1000", "X", "1010"},
        {"3", "100", "30", "1", "1000", "X", "1030"}, {"4", "100", "40", "2", "2000", "X", "2000"},
        {"5", "100", "50", "2", "2000", "X", "2040"}, {"6", "200", "60", "2", "2000", "X", "2090"},
        {"7", "200", "70", "3", "3000", "O", "3000"}, {"8", "200", "80", "3", "3000", "X", "3070"}};
    EXPECT_EQ(Rows(html), expected);

    // Without stss every i-Frame cell is "-".
    Parsed g("nostss.mp4", Box("moov", Track(Stsz(5, {}, 4) + Table("stsc", {{1, 4, 1}}) + Table("stco", {{64}}))));
    auto rows = Rows(TrackPage(*g.All(FourCC("stbl")).at(0), 0));
    ASSERT_EQ(rows.size(), 4u);
    for (const auto& r : rows) EXPECT_EQ(r[5], "-");
    EXPECT_EQ(rows[3][6], "79");  // constant size 5: 64 + 3 * 5
}

TEST(TrackSamplesSubPage, PagesOf200AndPagesBeyondTheList) {
    Parsed f("pages.mp4", Box("moov", Track(Stsz(2, {}, 450) + Table("stsc", {{1, 10, 1}}) +
                                            Table("stco", std::vector<std::vector<uint32_t>>(45, {0})) +
                                            Table("stts", {{450, 1}}))));
    const CBox& stbl = *f.All(FourCC("stbl")).at(0);
    auto rows = Rows(TrackPage(stbl, 2));
    ASSERT_EQ(rows.size(), 50u);
    EXPECT_EQ(rows.front()[0], "401");
    EXPECT_EQ(rows.front()[3], "41");  // chunk number
    EXPECT_EQ(rows.back()[0], "450");
    EXPECT_EQ(Rows(TrackPage(stbl, 1)).size(), 200u);
    // Beyond the list: the header rows and no sample row, also for the largest page number.
    for (uint32_t k : {3u, 0xFFFFFFFFu}) {
        const std::string html = TrackPage(stbl, k);
        EXPECT_TRUE(Rows(html).empty());
        EXPECT_NE(html.find("Sample offset</td>\r\n</tr>\r\n</body>"), std::string::npos);
    }
}

TEST(TrackSamplesSubPage, MissingTablesGiveZeros) {
    // Sizes only: deltas 0, every sample a chunk of its own, chunk offsets 0.
    Parsed f("sizesonly.mp4", Box("moov", Track(Stsz(0, {5, 6, 7}))));
    const std::vector<std::vector<std::string>> expected = {
        {"1", "0", "5", "1", "0", "-", "0"}, {"2", "0", "6", "2", "0", "-", "0"}, {"3", "0", "7", "3", "0", "-", "0"}};
    EXPECT_EQ(Rows(TrackPage(*f.All(FourCC("stbl")).at(0), 0)), expected);

    // No size box: no samples, so no rows and no options; the other tables alone change nothing.
    Parsed g("nosizes.mp4",
             Box("moov", Track(Table("stts", {{3, 1}}) + Table("stsc", {{1, 1, 1}}) + Table("stco", {{8}}))) +
                 Box("mdat", "x"));
    EXPECT_TRUE(Rows(TrackPage(*g.All(FourCC("stbl")).at(0), 0)).empty());
    EXPECT_EQ(TrackSampleCount(*g.All(FourCC("stbl")).at(0)), 0u);

    // More chunks than chunk offsets: the missing offsets are 0, nothing is read past the table.
    Parsed h("short.mp4",
             Box("moov", Track(Stsz(0, {1, 2, 3, 4}) + Table("stsc", {{1, 1, 1}}) + Table("stco", {{100}}))));
    auto rows = Rows(TrackPage(*h.All(FourCC("stbl")).at(0), 0));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0][6], "100");
    EXPECT_EQ(rows[1][4], "0");

    // A compact size box serves when there is no stsz.
    Parsed c("stz2.mp4", Box("moov", Track(FullBox("stz2", 0, 0, U32(8) + U32(3) + U8(9) + U8(8) + U8(7)) +
                                           Table("stsc", {{1, 3, 1}}) + Table("stco", {{50}}))));
    rows = Rows(TrackPage(*c.All(FourCC("stbl")).at(0), 0));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2][6], "67");
}

TEST(MediaDataSelectLists, TrackOptionsInBlocksOf200) {
    Parsed f("tracks.mp4", Box("moov", TrackOf(200) + TrackOf(201) + TrackOf(450) + TrackOf(0)) + Box("mdat", "data"));
    const std::vector<const CBox*> stbls = f.All(FourCC("stbl"));
    const std::string html = SelectMarkup(f, *f.All(FourCC("mdat")).at(0));
    const std::string head = std::string(kTableOpen) + SubTitleRow(6, "ICON", "stbl") +
                             "<tr>\r\n<td align = \"left\" bgcolor = white colspan = \"6\">\r\n";
    EXPECT_EQ(html.rfind(head, 0), 0u);
    std::string selects;
    const char* options[] = {"<option value = \"/sub/0_0.html\">stbl1(1~200)</option>",
                             "<option value = \"/sub/1_0.html\">stbl2(1~200)</option><option  value = "
                             "\"/sub/1_200.html\">stbl2(201~201)</option>",
                             "<option value = \"/sub/2_0.html\">stbl3(1~200)</option><option value = "
                             "\"/sub/2_200.html\">stbl3(201~400)</option>"
                             "<option  value = \"/sub/2_400.html\">stbl3(401~450)</option>",
                             ""};
    for (uint32_t s = 0; s < 4; ++s)
        selects += "<select name='#' style='width:120;' ID = SUB_PAGE nid = " + std::to_string(s) +
                   " box_pos= " + std::to_string(stbls[s]->m_id) + "  >" + kSelectPromptOption + options[s] +
                   "</select>";
    EXPECT_EQ(html.substr(head.size()),
              selects +
                  "</td></tr></table><table cellspacing = 0 cellpadding = 0 border = \"0\" width = \"100%\" "
                  "height = 5 align = \"center\"><tr><td></td></tr></table>" +
                  kFrame);

    // Hostile counts: one page never carries more than kMaxEntryPageOptions options,
    // and a page past the list is written without walking the samples.
    Parsed h("hostile.mp4", Box("moov", TrackOf(0xFFFFFFFF) + TrackOf(0xFFFFFFFF)) + Box("mdat", "x"));
    const std::string hostile = SelectMarkup(h, *h.All(FourCC("mdat")).at(0));
    const std::regex option("<option");
    EXPECT_EQ(std::distance(std::sregex_iterator(hostile.begin(), hostile.end(), option), std::sregex_iterator()),
              kMaxEntryPageOptions + 2);  // and the two prompts
    EXPECT_NE(hostile.find("stbl1(19999801~20000000)</option></select>"), std::string::npos);
    EXPECT_TRUE(Rows(TrackPage(*h.All(FourCC("stbl")).at(0), 0xFFFFFFFFu)).empty());

    // A moov whose tracks have no samples and no fragments to match: no list at all.
    Parsed g("empty_tracks.mp4", Box("moov", TrackOf(0)) + Box("mdat", "x"));
    EXPECT_EQ(SelectMarkup(g, *g.All(FourCC("mdat")).at(0)), "");
}

TEST(FragmentSamplesSubPage, OffsetsOfRunsAndPages) {
    // moof { mfhd, traf { tfhd (base is moof), trun of 450 sizes at data offset d } }, mdat.
    std::vector<uint32_t> sizes;
    for (uint32_t i = 1; i <= 450; ++i) sizes.push_back(i);
    int32_t d = 4000;
    const std::string moof =
        Box("moof", FullBox("mfhd", 0, 0, U32(1)) + Box("traf", Tfhd(0x20000, 1) + TrunSizes(sizes, &d)) +
                        Box("traf", Tfhd(0x20000, 2) + TrunSizes({}) + TrunSizes({})));
    Parsed f("frag.mp4", Box("ftyp", "isom" + U32(0)) + moof + Box("mdat", std::string(10, 'x')));
    const CBox* moofBox = f.All(FourCC("moof")).at(0);
    const CBox* mdat = f.All(FourCC("mdat")).at(0);
    const auto trafs = f.All(FourCC("traf"));
    ASSERT_EQ(trafs.size(), 2u);

    // Page k = 1: sample 201 lies after the sizes of samples 1 to 200.
    const std::string html = FragmentPage(f, *trafs[0], 1, moofBox, mdat);
    auto rows = Rows(html);
    ASSERT_EQ(rows.size(), 200u);
    const uint64_t start = 16 + 4000 + 200 * 201 / 2;
    EXPECT_EQ(rows[0], (std::vector<std::string>{"201", "0", "201", "0", "0", std::to_string(start)}));
    EXPECT_EQ(Rows(FragmentPage(f, *trafs[0], 2, moofBox, mdat)).size(), 50u);
    EXPECT_TRUE(Rows(FragmentPage(f, *trafs[0], 3, moofBox, mdat)).empty());
    EXPECT_EQ(html.substr(html.size() - 26), "</table></body>\r\n</html>\r\n");

    // The select lists: 450 samples, and a traf of empty runs with only the prompt.
    const std::string list = SelectMarkup(f, *mdat);
    EXPECT_NE(list.find("<select name='#' style='width:120;' ID = LIST_PAGE nid = 0 box_pos= " +
                        std::to_string(trafs[0]->m_id) + " moof_box_pos= " + std::to_string(moofBox->m_id) +
                        " mdat_box_pos= " + std::to_string(mdat->m_id) + ">"),
              std::string::npos);
    EXPECT_NE(list.find("<option  value = \"/sub/0_400.html\">traf1(401~450)</option></select>"), std::string::npos);
    EXPECT_NE(list.find(" mdat_box_pos= " + std::to_string(mdat->m_id) + ">" + kSelectPromptOption + "</select>"),
              std::string::npos);
}

TEST(FragmentSamplesSubPage, DefaultsAndBaseOffsets) {
    // trex gives size 7, the tfhd duration 30 and flags; the second run has no data
    // offset and follows the first; the first run's sizes come from the trex.
    const std::string moov =
        Box("moov", Box("mvex", FullBox("trex", 0, 0, U32(1) + U32(1) + U32(0) + U32(7) + U32(0))));
    int32_t d = 100;
    const std::string traf =
        Box("traf", Tfhd(0x20028, 1, U32(30) + U32(0x10000)) +
                        FullBox("trun", 0, 0x5, U32(2) + U32(static_cast<uint32_t>(d)) + U32(0x2000000)) +
                        TrunSizes({3, 4}));
    Parsed f("defaults.mp4", moov + Box("moof", traf) + Box("mdat", std::string(40, 'x')));
    const CBox* moof = f.All(FourCC("moof")).at(0);
    const uint64_t base = static_cast<uint64_t>(moof->m_startOffset) + 100;
    const std::vector<std::vector<std::string>> expected = {
        {"1", "30", "7", std::to_string(0x2000000), "0", std::to_string(base)},
        {"2", "30", "7", std::to_string(0x10000), "0", std::to_string(base + 7)},
        {"3", "30", "3", std::to_string(0x10000), "0", std::to_string(base + 14)},
        {"4", "30", "4", std::to_string(0x10000), "0", std::to_string(base + 17)}};
    EXPECT_EQ(Rows(FragmentPage(f, *f.All(FourCC("traf")).at(0), 0, moof, f.All(FourCC("mdat")).at(0))), expected);

    // Without a data offset or base, the first run starts at the mdat payload.
    Parsed g("nooffset.mp4", Box("moof", Box("traf", Tfhd(0, 1) + TrunSizes({5, 6}))) + Box("mdat", "0123456789A"));
    const CBox* mdat = g.All(FourCC("mdat")).at(0);
    auto rows = Rows(FragmentPage(g, *g.All(FourCC("traf")).at(0), 0, g.All(FourCC("moof")).at(0), mdat));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][5], std::to_string(mdat->m_startOffset + 8));
    EXPECT_EQ(rows[1][5], std::to_string(mdat->m_startOffset + 13));

    // isml: a base data offset below the mdat's position counts from the fragment's start.
    auto fragment = [](uint32_t seq) {
        int32_t d = 0;
        std::string traf = Box("traf", Tfhd(0x1, 1, U64(0)) + TrunSizes({2, 2}, &d));
        return Box("moof", FullBox("mfhd", 0, 0, U32(seq)) + traf) + Box("mdat", "abcd");
    };
    const std::string ftyp = Box("ftyp", "isml" + U32(1) + "piff");
    Parsed s("smooth.ismv", ftyp + fragment(1) + fragment(2));
    const CBox* moof1 = s.All(FourCC("moof")).at(0);
    const CBox* moof2 = s.All(FourCC("moof")).at(1);
    const uint64_t first = moof1->BoxSize() + s.All(FourCC("mdat")).at(0)->BoxSize();
    EXPECT_EQ(CumulativeFragmentSize(s.P(), *moof1), 0u);
    rows = Rows(FragmentPage(s, *s.All(FourCC("traf")).at(1), 0, moof2, s.All(FourCC("mdat")).at(1)));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][5], std::to_string(first + 2));
}

TEST(EntriesSubPage, ColumnsAndBlocksByBoxType) {
    std::vector<std::vector<uint32_t>> stts;
    for (uint32_t i = 1; i <= 450; ++i) stts.push_back({i, 10 * i});
    Parsed f("entries.mp4",
             Box("moov",
                 Track(Table("stts", stts) + Stsz(9, {}, 3) + FullBox("ctts", 0, 0, U32(1) + U32(2) + U32(0xFFFFFFFE)) +
                       FullBox("co64", 0, 0, U32(1) + U64(0x100000010ull)) +
                       FullBox("sgpd", 0, 0, "avll" + U32(1) + U8(2) + U8(1) + U16(100) + U16(25)))));
    const CBox& sttsBox = *f.All(FourCC("stts")).at(0);
    const std::string html = EntriesPage(sttsBox, 2);
    EXPECT_EQ(html.rfind(SubPageHead(false) + kTableOpen + SubTitleRow(3, "ICON", "List") +
                             "<tr>\r\n<td align = \"left\" bgcolor = #f7f7f7  width = 33%>No.</td>\r\n"
                             "<td align = \"left\" bgcolor = #f7f7f7  width = 33%>Sample count</td>\r\n",
                         0),
              0u);
    auto rows = Rows(html);
    ASSERT_EQ(rows.size(), 50u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"401", "401", "4010"}));
    EXPECT_TRUE(Rows(EntriesPage(sttsBox, 3)).empty());

    EXPECT_EQ(Rows(EntriesPage(*f.All(FourCC("stsz")).at(0), 0)),
              (std::vector<std::vector<std::string>>{{"1", "9"}, {"2", "9"}, {"3", "9"}}));
    EXPECT_EQ(Rows(EntriesPage(*f.All(FourCC("ctts")).at(0), 0))[0], (std::vector<std::string>{"1", "2", "-2"}));
    EXPECT_EQ(Rows(EntriesPage(*f.All(FourCC("co64")).at(0), 0))[0], (std::vector<std::string>{"1", "4294967312"}));
    // A group entry of a video track: its fields, one line each.
    EXPECT_NE(EntriesPage(*f.All(FourCC("sgpd")).at(0), 0)
                  .find("<td align = \"left\" bgcolor = white>1</td>\r\n<td align = \"left\" bgcolor = white>0</td>\r\n"
                        "<td align = \"left\" bgcolor = white>\r\nLayer Number = 2</br>\r\nAccurate Statistics Flag = "
                        "1</br>\r\nAvg Bitrate = 100</br>\r\nAvg Framerate = 25</br>\r\n</td>\r\n</tr>"),
              std::string::npos);
    // A box without an entry list: no columns, no rows.
    const std::string none = EntriesPage(*f.All(FourCC("trak")).at(0), 0);
    EXPECT_NE(none.find(SubTitleRow(0, "ICON", "List") + "<tr>\r\n</tr>\r\n</body>"), std::string::npos);
}
