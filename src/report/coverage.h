#pragma once
#include <cstdint>
#include <vector>

#include "report/page_model.h"

class CBox;

// Which bytes of a box its page explains: the header (the tree shows it), every row,
// list row and entry table that knows where it lies, and the child boxes. What is left
// is "undecoded": bytes no row accounts for.

// Media data is not undecoded: its payload belongs to the samples, tags and items that
// point into it.
bool HoldsMediaData(const CBox& box);

// The bytes of the box the file holds: from its first byte to its declared end or the
// end of the file, whichever comes first.
ByteRange PresentRange(const CBox& box);

// The ranges of the box's present bytes that the page's tables (all of them, or all but
// the "Undecoded bytes" table) and its children explain, sorted and merged.
std::vector<ByteRange> ExplainedRanges(const PageModel& page, const CBox& box);

// `ranges` sorted, cut to `whole`, touching and overlapping ones merged.
std::vector<ByteRange> MergeRanges(std::vector<ByteRange> ranges, ByteRange whole);

// The ranges of `whole` that `explained` (sorted and merged) leaves out.
std::vector<ByteRange> Gaps(ByteRange whole, const std::vector<ByteRange>& explained);

// The bytes of `ranges` that lie inside `whole`.
uint64_t BytesWithin(ByteRange whole, const std::vector<ByteRange>& ranges);
