// HTTP Dynamic Streaming: the bootstrap's fragment runs against the fragments the file holds.
#include <string>

#include "boxes/fragments/movie_fragment_header_box.h"
#include "boxes/streaming/bootstrap_info_box.h"
#include "boxes/streaming/run_table_boxes.h"
#include "check/check_context.h"
#include "check/rules.h"

namespace {
std::string Num(uint64_t v) { return std::to_string(v); }

// A player asks for fragment n only when a run of the table holds it and it starts
// before the bootstrap's current media time (where the bootstrap tells one).
bool InRun(const CFragmentRunTableBox& afrt, const CBootStrapInfoBox& abst, uint64_t n) {
    const auto& entries = afrt.m_entries;
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto& e = entries[i];
        // A run of duration 0 marks a discontinuity: it holds no fragment.
        if (e.fragmentDuration == 0 || n < e.firstFragment) continue;
        if (i + 1 < entries.size() && n >= entries[i + 1].firstFragment) continue;
        if (abst.m_CurrentMediaTime && abst.m_TimeScale && afrt.m_TimeScale) {
            const unsigned __int128 start =
                e.firstFragmentTimestamp + (unsigned __int128)(n - e.firstFragment) * e.fragmentDuration;
            if (start * abst.m_TimeScale >= (unsigned __int128)abst.m_CurrentMediaTime * afrt.m_TimeScale) continue;
        }
        return true;
    }
    return false;
}
}  // namespace

void CheckBootstrap(CheckContext& check) {
    std::vector<const CBootStrapInfoBox*> bootstraps;
    for (const CBox* top : check.Tops())
        if (const auto* abst = dynamic_cast<const CBootStrapInfoBox*>(top)) bootstraps.push_back(abst);
    if (bootstraps.empty()) return;
    for (const CBox* top : check.Tops()) {
        const auto* mfhd = top->m_type == FourCC("moof") ? ChildOf<CMovieFragmentHeaderBox>(*top, FourCC("mfhd")) : nullptr;
        if (!mfhd) continue;
        bool tables = false, held = false;
        for (const CBootStrapInfoBox* abst : bootstraps)
            for (const auto& child : abst->m_children)
                if (const auto* afrt = dynamic_cast<const CFragmentRunTableBox*>(child.get())) {
                    tables = true;
                    held = held || InRun(*afrt, *abst, mfhd->m_sequenceNumber);
                }
        if (tables && !held)
            check.AddField(Severity::Error, "abst-fragment-not-in-run", *mfhd, mfhd->m_sequenceNumber,
                           "fragment " + Num(mfhd->m_sequenceNumber) +
                               " (its sequence number) is in no fragment run of the 'abst' before its current media "
                               "time: a player never asks for it");
    }
}
