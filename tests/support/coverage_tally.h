#pragma once
// How much of a file its pages explain: every box's page is made with its spans, as
// tessaly and corvel json make it, and its bytes are counted as explained by decoded
// rows (its rows, list rows, entry tables), by its children, or listed as undecoded.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "boxes/containers/corvel.h"

struct CoverageTally {
    uint64_t bytes = 0;      // the boxes' own bytes (not their children's), media data aside
    uint64_t explained = 0;  // of those, the bytes decoded rows explain
    std::map<std::string, uint64_t> undecoded;  // by box type: the bytes listed as undecoded
    // Boxes whose rows and "Undecoded bytes" rows together leave a byte unexplained.
    std::vector<std::string> hidden;

    double Share() const { return bytes ? 100.0 * double(explained) / double(bytes) : 100.0; }
    // "type bytes, type bytes ..." of the undecoded bytes, most first.
    std::string UndecodedText() const;
};

// The tally of every box of a walk (each top-level box parsed again with its spans).
CoverageTally TallyCoverage(const CCorvel& parser);
