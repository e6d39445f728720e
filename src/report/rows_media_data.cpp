// The mdat page: the select lists of the sample sub pages (the samples of each
// track, or of each track fragment of the movie fragment that goes with this mdat).
#include <cinttypes>

#include "boxes/containers/corvel.h"
#include "boxes/containers/media_data_box.h"
#include "report/box_rows.h"
#include "report/format.h"
#include "report/markup.h"
#include "report/sample_pages.h"

namespace {
// The flv list's spacer (it closes both lists).
const char* const kListSpacer =
    "<table cellspacing = 0 cellpadding = 0 border = \"0\" width = \"100%\" height = 5 align = \"center\"><tr><td></td>"
    "</tr></table>";

// The options of one select: a block of 200 samples each, the last one (written
// with two blanks) ending at the sample count. `budget` is what is left of the
// options one page may carry.
void AddOptions(std::string& html, std::string& plain, const std::string& prefix, const char* name, uint32_t s,
                uint64_t n, uint64_t& budget) {
    const uint64_t full = kRowsPerSubPage * (n / kRowsPerSubPage);
    for (uint64_t first = 0; first < n && budget > 0; first += kRowsPerSubPage, --budget) {
        const bool last = first >= full;
        const uint64_t end = last ? n : first + kRowsPerSubPage;
        const std::string label = Format("%s%u(%" PRIu64 "~%" PRIu64 ")", name, s + 1, first + 1, end);
        html += Format(last ? "<option  value = \"%s%u_%" PRIu64 ".html\">%s</option>"
                            : "<option value = \"%s%u_%" PRIu64 ".html\">%s</option>",
                       prefix.c_str(), s, first, label.c_str());
        plain += (first ? " " : "") + label;
    }
}

struct SelectList {
    std::string html;
    std::string plain;
    uint64_t budget = kMaxEntryPageOptions;  // the options all selects of the list may still have
};

SelectList OpenList(const RowContext& ctx, const char* name) {
    SelectList l;
    l.html = kTableOpen + SubTitleRow(6, ctx.iconPath, name) +
             "<tr>\r\n<td align = \"left\" bgcolor = white colspan = \"6\">\r\n";
    return l;
}

ReportTable CloseList(SelectList& l) {
    l.html += "</td></tr></table>";
    l.html += kListSpacer;
    l.html += kFrame;
    ReportTable table("", TableKind::Markup);
    table.markup = Text::Markup(std::move(l.html), std::move(l.plain));
    return table;
}

// One select per stbl of the first moov.
ReportTable TrackList(const std::vector<const CBox*>& stbls, const RowContext& ctx) {
    SelectList l = OpenList(ctx, "stbl");
    const std::string prefix = AttrText(ctx.subPagePrefix);
    for (uint32_t s = 0; s < stbls.size(); ++s) {
        l.html +=
            Format("<select name='#' style='width:120;' ID = SUB_PAGE nid = %u box_pos= %u  >", s, stbls[s]->m_id);
        l.html += kSelectPromptOption;
        AddOptions(l.html, l.plain, prefix, "stbl", s, TrackSampleCount(*stbls[s]), l.budget);
        l.html += "</select>";
        l.plain += "\n";
    }
    return CloseList(l);
}

// One select per traf of the movie fragment.
ReportTable FragmentList(const CBox& moof, const CBox& mdat, const RowContext& ctx) {
    SelectList l = OpenList(ctx, "traf");
    const std::string prefix = AttrText(ctx.subPagePrefix);
    uint32_t s = 0;
    for (const auto& child : moof.m_children) {
        if (!child || child->m_type != FourCC("traf")) continue;
        l.html += Format(
            "<select name='#' style='width:120;' ID = LIST_PAGE nid = %u box_pos= %u moof_box_pos= %u mdat_box_pos= "
            "%u>",
            s, child->m_id, moof.m_id, mdat.m_id);
        l.html += kSelectPromptOption;
        AddOptions(l.html, l.plain, prefix, "traf", s, FragmentSampleCount(*child), l.budget);
        l.html += "</select>";
        l.plain += "\n";
        ++s;
    }
    return CloseList(l);
}

// The box at the same position among the top-level `to` boxes as `box` among the
// top-level `from` boxes; null unless both counts agree.
const CBox* Counterpart(const CCorvel& parser, const CBox& box, uint32_t from, uint32_t to) {
    std::vector<const CBox*> froms, tos;
    for (size_t i = 0; i < parser.GetBoxCount(); ++i) {
        const CBox* b = parser.GetBox(i);
        if (b && b->m_type == from) froms.push_back(b);
        if (b && b->m_type == to) tos.push_back(b);
    }
    if (froms.size() != tos.size()) return nullptr;
    for (size_t i = 0; i < froms.size(); ++i)
        if (froms[i] == &box) return tos[i];
    return nullptr;
}
}  // namespace

const CBox* FindMovieFragmentOf(const CCorvel& parser, const CBox& mdat) {
    return Counterpart(parser, mdat, FourCC("mdat"), FourCC("moof"));
}

const CBox* FindMediaDataOf(const CCorvel& parser, const CBox& moof) {
    return Counterpart(parser, moof, FourCC("moof"), FourCC("mdat"));
}

bool AddMediaDataSelectLists(PageModel& page, const CBox& mdat, const RowContext& ctx) {
    // An mdat of FLV tags gets the tag list of the FLV pages instead.
    if (auto* m = dynamic_cast<const CMediaDataBox*>(&mdat); m && m->GetTagCount() > 0) return false;
    if (!ctx.parser) return false;
    const CCorvel& parser = *ctx.parser;

    const CBox* moov = nullptr;
    for (size_t i = 0; i < parser.GetBoxCount() && !moov; ++i)
        if (const CBox* box = parser.GetBox(i); box && box->m_type == FourCC("moov")) moov = box;
    if (moov) {
        // A track list when any track of the first moov has samples.
        std::vector<const CBox*> stbls;
        bool samples = false;
        for (const auto& child : moov->m_children) {
            if (!child) continue;
            FindBoxes(*child, FourCC("stbl"), stbls);
        }
        for (const CBox* stbl : stbls) samples = samples || TrackSampleCount(*stbl) > 0;
        if (samples) {
            page.tables.push_back(TrackList(stbls, ctx));
            return true;
        }
    }
    if (const CBox* moof = FindMovieFragmentOf(parser, mdat)) {
        page.tables.push_back(FragmentList(*moof, mdat, ctx));
        return true;
    }
    return false;
}

bool AddMediaDataRows(PageModel& page, const CBox& box, const RowContext& ctx) {
    if (box.m_type != FourCC("mdat")) return false;
    AddMediaDataSelectLists(page, box, ctx);
    return true;
}
