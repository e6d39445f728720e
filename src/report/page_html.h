#pragma once
#include "report/page_model.h"
#include "report/report_page.h"

// The most options the selects of one page offer (20 million entries): a count from a
// hostile file must not turn into a page of gigabytes.
inline constexpr uint32_t kMaxEntryPageOptions = 100000;

// The HTML renderer: writes a page model as the page file of a ReportPage, naming the
// title icon and the sub-page folder the ReportPage gives.

// The markup of one table, with the rows it holds (of a paged table, those of one sub
// page); `box` names the box of EntryPages and FlvTags selects.
std::string TableHtml(const ReportTable& table, const std::string& iconPath, const std::string& subPagePrefix,
                      const CBox* box);
// The markup of a whole page: head, every table, foot. EntryPages tables and the
// selects of paged tables name the page's box by its identity.
std::string PageHtml(const PageModel& model, const std::string& iconPath, const std::string& subPagePrefix);
// The file name of the sub page of a paged table (its position among the page's
// tables) that starts at row `firstRow` (from 0).
std::string RowPageName(size_t table, uint64_t firstRow);
// Empties and recreates the sub-page folder, then writes the page file.
void RenderPage(ReportPage& page, const PageModel& model);
