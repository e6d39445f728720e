#pragma once
#include <cstdint>
#include <string>

// Everything a user can see of a file: every box page as HTML and JSON with the first
// and the last sub page of each of its lists and paged tables, the whole tree as JSON (`corvel json`),
// and the sample records (and FLV tag records). The fuzz target and the tests of hostile inputs run it; it
// must neither crash nor take long on any input. The fuzz target stops at `maxBoxes`
// pages (and leaves out the tree of a file with more boxes), `maxPageBytes` of pages and
// `maxSamples` samples: thousands of boxes of one kind are the same code run thousands
// of times (a thousand empty mdat boxes each list every track's sample pages).
struct RenderTotals {
    int status = -2;          // of the parse run; -2 when the file could not be opened
    uint64_t boxes = 0;
    uint64_t pageBytes = 0;   // HTML and JSON of the box pages
    uint64_t largestPage = 0; // HTML of the largest box page
    uint64_t mostTableRows = 0;  // the most rows of one table on a box page or a table's sub page
    uint64_t jsonBytes = 0;   // of the whole tree
    uint64_t samples = 0;     // sample and FLV tag records
    uint64_t findings = 0;    // of corvel check
    // The streamed walks saw the same boxes and status (corvel tree) and wrote the same
    // JSON (corvel json) as the walk that keeps the tree.
    bool streamedAgrees = false;
};
RenderTotals RenderEverything(const std::string& path, uint64_t maxBoxes = UINT64_MAX,
                              uint64_t maxSamples = UINT64_MAX, uint64_t maxPageBytes = UINT64_MAX);
