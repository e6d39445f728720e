#pragma once
#include <cstdint>
#include <string>

#include "report/report_page.h"

// Sub pages of 200 rows, written at `path` (a file in the sub-page folder); k is
// the page number from 0.
void WriteEntriesSubPage(ReportPage& page, const CBox& box, const std::string& path, uint32_t k);
void WriteTrackSamplesSubPage(ReportPage& page, const CBox& stbl, const std::string& path, uint32_t k);
void WriteFragmentSamplesSubPage(ReportPage& page, const CBox& traf, const std::string& path, uint32_t k,
                                 const CBox* moof, const CBox* mdat, const CCorvel* parser);
