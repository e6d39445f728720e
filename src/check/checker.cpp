#include "check/checker.h"

#include <algorithm>

#include "check/check_context.h"
#include "check/rules.h"

std::vector<Finding> CheckFile(const CCorvel& parser, uint64_t sampleBudget,
                               const std::function<void(CheckContext&)>& more, const CCorvel* init) {
    CheckContext check(parser, sampleBudget, init);
    CheckStructure(check);
    CheckSampleTables(check);
    CheckTracks(check);
    CheckFragments(check);
    CheckCodecs(check);
    CheckBootstrap(check);
    if (more) more(check);
    std::vector<Finding> findings = check.TakeFindings();
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.offset < b.offset; });
    return findings;
}
