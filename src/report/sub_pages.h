#pragma once
#include <cstdint>
#include <string>

#include <optional>
#include <vector>

#include "base/span_map.h"
#include "report/page_model.h"
#include "report/report_page.h"

class CBox;
class CMediaDataBox;
class SampleContext;

// Sub pages of 200 rows (kRowsPerSubPage), written at `path` (a file in the sub-page
// folder); k is the page number from 0. A page number beyond the list gives the header
// rows only.

// The entries of a box whose report entry lists them (stts, ctts, stsc, stsz, stz2,
// stco, co64, stss, stsh, stdp, padb, sdtp, sbgp, sgpd, subs).
void WriteEntriesSubPage(ReportPage& page, const CBox& box, const std::string& path, uint32_t k);
// True for the boxes whose pages offer entry sub pages.
bool HasEntriesSubPages(const CBox& box);
// The sub pages a box has: of its entries, of the samples of a stbl or a traf, or one
// per FLV tag of an mdat; 0 for any other box.
uint64_t SubPageCount(const CBox& box, const SampleContext* context);
// Where entry `index` of a box's entry sub pages lies, by the spans of its parse.
Span EntrySpan(const CBox& box, uint64_t index, const SpanMap& spans);
// The samples of a track: sizes, times, chunks and file offsets from its sample table;
// `context` gives the file's facts (null: none). A sample that the file ends inside is marked.
void WriteTrackSamplesSubPage(ReportPage& page, const CBox& stbl, const std::string& path, uint32_t k,
                              const SampleContext* context);
// The samples of a track fragment, with their file offsets; `moof` and `mdat` are its
// movie fragment and the media data box that goes with it (either may be null),
// `context` gives the file's facts (null: none). A sample that the file ends inside is marked.
void WriteFragmentSamplesSubPage(ReportPage& page, const CBox& traf, const std::string& path, uint32_t k,
                                 const CBox* moof, const CBox* mdat, const SampleContext* context);
// The page of FLV tag k (from 0) of an mdat: the head and foot only when the box holds
// no tag k.
void WriteFlvTagSubPage(ReportPage& page, const CMediaDataBox& mdat, const std::string& path, uint32_t k);

// The paged tables of a box page (tables of more rows than a sub page holds), by their
// positions among its tables.
std::vector<size_t> PagedTables(const PageModel& model);
// The sub pages of a box page's paged tables: those of the first table, then those of
// the next, and so on. TablePageAt gives the table and its page number of sub page k.
struct TablePage {
    size_t table;
    uint64_t page;
};
uint64_t TablePageCount(const PageModel& model);
std::optional<TablePage> TablePageAt(const PageModel& model, uint64_t k);
// The sub page of a paged table: `rows` is the box page built with the window of that
// page (RowWindow::SubPage), `table` the table's position.
void WriteTableRowsSubPage(ReportPage& page, const PageModel& rows, size_t table, const std::string& path);
