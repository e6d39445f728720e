#pragma once
#include "report/page_model.h"

// Each box group adds its boxes' own tables to a page, after the common header
// table. A function returns true when it knew the box (by type and class); a box
// whose class does not match its type (a header-only placeholder) is left alone.
bool AddPresentationRows(PageModel& page, const CBox& box, const RowContext& ctx);
bool AddSampleTableRows(PageModel& page, const CBox& box, const RowContext& ctx);
bool AddFragmentRows(PageModel& page, const CBox& box, const RowContext& ctx);
bool AddMediaDataRows(PageModel& page, const CBox& box, const RowContext& ctx);

// Tries every group in turn.
inline void AddOwnRows(PageModel& page, const CBox& box, const RowContext& ctx) {
    AddPresentationRows(page, box, ctx) || AddSampleTableRows(page, box, ctx) ||
        AddFragmentRows(page, box, ctx) || AddMediaDataRows(page, box, ctx);
}
