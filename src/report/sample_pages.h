#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "report/page_model.h"
#include "report/report_page.h"

class CCorvel;

// Sub pages of 200 rows, written at `path` (a file in the sub-page folder); k is
// the page number from 0. A page number beyond the list gives the header rows only.
constexpr uint64_t kRowsPerSubPage = 200;
// Sample counts come from the file: a list offers at most as many samples as the
// page's select lists have options for; samples past that are not listed.
constexpr uint64_t kMaxListedSamples = uint64_t(kMaxEntryPageOptions) * kRowsPerSubPage;

// The entries of a table box (stts, ctts, stsc, stsz, stz2, stco, co64, stss, stsh,
// stdp, padb, sdtp, sbgp, sgpd, subs).
void WriteEntriesSubPage(ReportPage& page, const CBox& box, const std::string& path, uint32_t k);
// True for the boxes whose pages offer entry sub pages (the types above, decoded).
bool HasEntriesSubPages(const CBox& box);
// The samples of a track: sizes, times, chunks and file offsets from its sample table.
void WriteTrackSamplesSubPage(ReportPage& page, const CBox& stbl, const std::string& path, uint32_t k);
// The samples of a track fragment, with their file offsets; `moof` and `mdat` are
// its movie fragment and the matching media data box (either may be null), `parser`
// gives the top-level boxes (null: none).
void WriteFragmentSamplesSubPage(ReportPage& page, const CBox& traf, const std::string& path, uint32_t k,
                                 const CBox* moof, const CBox* mdat, const CCorvel* parser);

// Appends every box of the subtree (the box itself first, then its children in
// order, depth first) whose type is `type`.
void FindBoxes(const CBox& box, uint32_t type, std::vector<const CBox*>& list);
// The summed sizes of the top-level moof and mdat boxes before `moof`; 0 when
// `moof` is not a top-level box.
uint64_t CumulativeFragmentSize(const CCorvel& parser, const CBox& moof);

// The sample counts the select lists offer (at most kMaxListedSamples): a track's
// from its size box (the last stsz, else the last stz2), a track fragment's summed
// over its truns' samples.
uint64_t TrackSampleCount(const CBox& stbl);
uint64_t FragmentSampleCount(const CBox& traf);

// The mdat page's select list: the samples of each track of the first moov when
// any has samples, else the track fragments of the moof that goes with `mdat`
// (the i-th moof for the i-th mdat, when there are as many of each). Adds one
// Markup table; false when there is no list.
bool AddMediaDataSelectLists(PageModel& page, const CBox& mdat, const RowContext& ctx);
// The moof that goes with an mdat and the mdat that goes with a moof, as above.
const CBox* FindMovieFragmentOf(const CCorvel& parser, const CBox& mdat);
const CBox* FindMediaDataOf(const CCorvel& parser, const CBox& moof);
