#include "support/render_all.h"

#include <algorithm>
#include <ostream>
#include <streambuf>
#include <vector>

#include "boxes/containers/corvel.h"
#include "check/checker.h"
#include "report/box_page.h"
#include "report/page_html.h"
#include "report/page_json.h"
#include "report/sub_pages.h"
#include "boxes/containers/media_data_box.h"
#include "samples/sample_decryption.h"
#include "samples/sample_lookup.h"
#include "samples/file_samples.h"
#include "samples/flv_tags.h"
#include "samples/fragment_samples.h"
#include "samples/sample_context.h"
#include "samples/track_samples.h"

namespace {
// Counts and hashes (FNV-1a) the bytes written to it and keeps none.
class CountingBuffer : public std::streambuf {
public:
    uint64_t count = 0;
    uint64_t hash = 14695981039346656037ull;

protected:
    int overflow(int c) override {
        const char byte = static_cast<char>(c);
        xsputn(&byte, 1);
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        count += uint64_t(n);
        for (std::streamsize i = 0; i < n; ++i) hash = (hash ^ static_cast<unsigned char>(s[i])) * 1099511628211ull;
        return n;
    }
};

// Writes sub page 0 and the last one of a list of `n` rows.
template <class Write>
void FirstAndLast(uint64_t n, Write write) {
    write(0u);
    if (n > kRowsPerSubPage) write(static_cast<uint32_t>((n - 1) / kRowsPerSubPage));
}
}  // namespace

RenderTotals RenderEverything(const std::string& path, uint64_t maxBoxes, uint64_t maxSamples, uint64_t maxPageBytes) {
    RenderTotals totals;
    CCorvelLib lib;
    if (lib.Init(path) < 0) return totals;
    totals.status = lib.Go();
    const CCorvel& parser = *lib.Parser();
    const SampleContext context(parser);
    const std::string sink = "/dev/null";
    ReportPage page("", "icon.png", "sub/");

    std::vector<std::pair<const CBox*, const CBox*>> pending;  // box, parent
    for (size_t i = parser.GetBoxCount(); i-- > 0;) pending.emplace_back(parser.GetBox(i), nullptr);
    while (!pending.empty()) {
        const CBox* box = pending.back().first;
        const CBox* parent = pending.back().second;
        pending.pop_back();
        for (size_t i = box->GetChildCount(); i-- > 0;) pending.emplace_back(box->GetChild(i), box);
        if (totals.boxes++ >= maxBoxes || totals.pageBytes >= maxPageBytes) continue;
        const PageContext pageContext{parent, &parser, &context, nullptr};
        const PageModel model = BuildBoxPage(*box, pageContext);
        const uint64_t html = PageHtml(model, "icon.png", "sub/").size();
        for (const ReportTable& table : model.tables)
            totals.mostTableRows = std::max<uint64_t>(totals.mostTableRows, table.rows.size() + table.listRows.size());
        // The first and last sub page of each paged table, with the rows they hold.
        for (const size_t t : PagedTables(model))
            FirstAndLast(model.tables[t].rowCount, [&](uint32_t k) {
                PageContext window = pageContext;
                window.window = {RowWindow::SubPage, t, k};
                const PageModel rows = BuildBoxPage(*box, window);
                WriteTableRowsSubPage(page, rows, t, sink);
                const uint64_t shown = rows.tables[t].rows.size() + rows.tables[t].listRows.size();
                totals.mostTableRows = std::max(totals.mostTableRows, shown);
            });
        totals.pageBytes += html;
        totals.largestPage = std::max(totals.largestPage, html);
        for (const ReportTable& table : model.tables) totals.pageBytes += TableJson(table).size();
        for (const ReportTable& table : model.tables)
            if (table.kind == TableKind::EntryPages)
                FirstAndLast(table.entryCount, [&](uint32_t k) { WriteEntriesSubPage(page, *box, sink, k); });
        if (box->m_type == FourCC("stbl"))
            FirstAndLast(TrackSampleCount(*box, context.FileSize()),
                         [&](uint32_t k) { WriteTrackSamplesSubPage(page, *box, sink, k, &context); });
        if (auto* mdat = dynamic_cast<const CMediaDataBox*>(box); mdat && mdat->GetTagCount() > 0) {
            WriteFlvTagSubPage(page, *mdat, sink, 0);
            WriteFlvTagSubPage(page, *mdat, sink, static_cast<uint32_t>(mdat->GetTagCount() - 1));
            VisitFlvTags(*mdat, [&](const FlvTagRecord&) { return ++totals.samples < maxSamples; });
        }
        if (box->m_type == FourCC("traf") && parent)
            FirstAndLast(FragmentSampleCount(*box, &context), [&](uint32_t k) {
                WriteFragmentSamplesSubPage(page, *box, sink, k, parent, parser.MediaDataOf(*parent), &context);
            });
    }
    bool jsonAgrees = true;
    if (totals.boxes <= maxBoxes) {
        CountingBuffer kept, streamed;
        std::ostream keptJson(&kept), streamedJson(&streamed);
        WriteTreeJson(keptJson, path, totals.status, parser);
        totals.jsonBytes = kept.count;
        // `corvel json` walks the file twice and keeps no tree: the same text.
        CCorvelLib again;
        jsonAgrees = WriteStreamedTreeJson(streamedJson, path, again) == totals.status && streamed.count == kept.count &&
                     streamed.hash == kept.hash;
    }
    // Protected samples are decrypted with one key for every KID, a few bytes each at most.
    KeyRing keys;
    std::string error;
    keys.Add("00112233445566778899aabbccddeeff", error);
    VisitSamples(context, nullptr, [&](const SampleOrigin& o, const SampleRecord& r) {
        if (o.encryption && totals.samples < 64) {
            SampleRecord head = r;
            head.size = std::min<uint64_t>(r.size, 4096);
            std::vector<uint8_t> bytes = ReadSampleBytes(parser, head);
            DecryptSample(o.encryption->Of(r.index), keys, bytes);
        }
        return ++totals.samples < maxSamples;
    });
    totals.findings = CheckFile(parser, maxSamples).size();

    // `corvel tree` walks the file again, letting each top-level box go once printed: it
    // must see the same boxes and the same status.
    CCorvelLib streamed;
    uint64_t streamedBoxes = 0;
    const int streamedStatus = streamed.Init(path) < 0 ? -2 : streamed.Go([&](TopLevelBox& top) {
        std::vector<const CBox*> stack{top.box.get()};
        while (!stack.empty()) {
            const CBox* box = stack.back();
            stack.pop_back();
            ++streamedBoxes;
            for (const auto& child : box->m_children)
                if (child) stack.push_back(child.get());
        }
    });
    totals.streamedAgrees = jsonAgrees && streamedStatus == totals.status && streamedBoxes == totals.boxes &&
                            streamed.Parser()->GetBoxCount() == 0;
    return totals;
}
