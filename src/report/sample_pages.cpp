#include "report/sample_pages.h"

// Placeholders until the sample list pages land.
void WriteEntriesSubPage(ReportPage&, const CBox&, const std::string&, uint32_t) {}
void WriteTrackSamplesSubPage(ReportPage&, const CBox&, const std::string&, uint32_t) {}
void WriteFragmentSamplesSubPage(ReportPage&, const CBox&, const std::string&, uint32_t, const CBox*,
                                 const CBox*, const CCorvel*) {}
