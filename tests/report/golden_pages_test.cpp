// The markup of every page kind, byte for byte, against one golden file each. The
// pages are those of real corpus boxes; TESSALY_UPDATE_GOLDEN=1 writes the files anew
// (look at the diff before committing them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "boxes/containers/corvel.h"
#include "boxes/containers/media_data_box.h"
#include "report/page_html.h"
#include "report/page_test_util.h"
#include "report/sub_pages.h"
#include "samples/sample_context.h"

namespace {
const std::string kIcon = "Img/icon_right.png";
const std::string kPrefix = "SubFolder1/";

struct Opened {
    CCorvelLib lib;
    explicit Opened(const std::string& name) {
        lib.Init(CorpusPath(name));
        lib.Go();
    }
    const CCorvel& P() const { return *lib.Parser(); }
    // The n-th box of a type in tree order, with its parent.
    std::pair<const CBox*, const CBox*> Nth(const char (&type)[5], size_t n = 0) const {
        std::vector<std::pair<const CBox*, const CBox*>> found;
        std::vector<std::pair<const CBox*, const CBox*>> pending;
        for (size_t i = P().GetBoxCount(); i-- > 0;) pending.emplace_back(P().GetBox(i), nullptr);
        while (!pending.empty()) {
            auto [box, parent] = pending.back();
            pending.pop_back();
            if (box->m_type == FourCC(type)) found.emplace_back(box, parent);
            for (size_t i = box->GetChildCount(); i-- > 0;) pending.emplace_back(box->GetChild(i), box);
        }
        return found.at(n);
    }
    std::string Page(const char (&type)[5], size_t n = 0) const {
        auto [box, parent] = Nth(type, n);
        const SampleContext samples(P());
        return PageHtml(BuildBoxPage(*box, {parent, &P(), &samples, nullptr}), kIcon, kPrefix);
    }
};

// Writes a sub page and returns its text.
template <class Write>
std::string SubPage(Write write) {
    const std::string path = TempDir() + "/golden_subpage.html";
    ReportPage page("", kIcon, kPrefix);
    write(page, path);
    return ReadText(path);
}

void ExpectGolden(const std::string& name, const std::string& html) {
    const std::string path = std::string(GOLDEN_DIR) + "/" + name;
    if (const char* update = std::getenv("TESSALY_UPDATE_GOLDEN"); update && std::string(update) == "1")
        std::ofstream(path, std::ios::binary) << html;
    EXPECT_EQ(html, ReadText(path)) << "the markup differs from " << path;
}
}  // namespace

TEST(GoldenPages, EveryPageKind) {
    const Opened bframes("avc_aac_bframes.mp4");
    // Key/value rows and an entries select.
    ExpectGolden("keyvalue_page.html", bframes.Page("stts"));
    // The track lists of an mdat page.
    ExpectGolden("mdat_page.html", bframes.Page("mdat"));
    ExpectGolden("track_samples_subpage.html", SubPage([&](ReportPage& page, const std::string& path) {
                     const SampleContext samples(bframes.P());
                     WriteTrackSamplesSubPage(page, *bframes.Nth("stbl").first, path, 0, &samples);
                 }));

    const Opened fragmented("frag_default_base_moof.mp4");
    ExpectGolden("list_page.html", fragmented.Page("trun"));
    const Opened smooth("smooth.ismv");
    ExpectGolden("fragment_samples_subpage.html", SubPage([&](ReportPage& page, const std::string& path) {
                     auto [traf, moof] = smooth.Nth("traf");
                     const SampleContext samples(smooth.P());
                     WriteFragmentSamplesSubPage(page, *traf, path, 0, moof, smooth.P().MediaDataOf(*moof), &samples);
                 }));

    // An F4F mdat's FLV tag list, and the page of its AVC sequence header.
    const Opened f4f("f4f_handmade.f4f");
    ExpectGolden("mdat_flv_page.html", f4f.Page("mdat"));
    ExpectGolden("flv_tag_subpage.html", SubPage([&](ReportPage& page, const std::string& path) {
                     WriteFlvTagSubPage(page, dynamic_cast<const CMediaDataBox&>(*f4f.Nth("mdat").first), path, 1);
                 }));

    // Entries with a cell of several lines (temporal layer group entries).
    const Opened hevc("rare_tables_hevc.mp4");
    ExpectGolden("entries_subpage.html", SubPage([&](ReportPage& page, const std::string& path) {
                     WriteEntriesSubPage(page, *hevc.Nth("sgpd").first, path, 0);
                 }));
}
