#pragma once
#include <string>
#include <vector>

#include "check/finding.h"
#include "report/page_model.h"

class CCorvel;

// The root page lists at most this many findings (a hostile file can break a rule once
// per entry); `corvel check` lists them all.
inline constexpr size_t kMaxFindingRows = 1000;

// The check's findings as a list table: severity, rule, box, message; each row's span is
// the finding's bytes. Row k + 2 of the table (after its title and headers) is finding k.
ReportTable FindingsTable(const std::vector<Finding>& findings);
// Its markup, as the box pages draw their tables; a page with findings opens on them.
std::string FindingsHtml(const std::vector<Finding>& findings, const std::string& iconPath);

// The identity of each finding's box in the parse run of `parser`, found by its box path
// (0 where no box has it: the file changed since).
std::vector<uint32_t> FindingBoxes(const CCorvel& parser, const std::vector<Finding>& findings);
