#pragma once
#include <cstdint>
#include <string>

#include "base/span_map.h"
#include "report/report_page.h"

class CBox;
class CMediaDataBox;
class SampleContext;

// Sub pages of 200 rows, written at `path` (a file in the sub-page folder); k is the
// page number from 0. A page number beyond the list gives the header rows only.
constexpr uint64_t kRowsPerSubPage = 200;

// The entries of a box whose report entry lists them (stts, ctts, stsc, stsz, stz2,
// stco, co64, stss, stsh, stdp, padb, sdtp, sbgp, sgpd, subs).
void WriteEntriesSubPage(ReportPage& page, const CBox& box, const std::string& path, uint32_t k);
// True for the boxes whose pages offer entry sub pages.
bool HasEntriesSubPages(const CBox& box);
// The sub pages a box has: of its entries, of the samples of a stbl or a traf, or one
// per FLV tag of an mdat; 0 for any other box.
uint64_t SubPageCount(const CBox& box, const SampleContext* context);
// Where entry `index` of a box's entry sub pages lies, by the spans of its parse.
Span EntrySpan(const CBox& box, uint64_t index, const SpanMap& spans);
// The samples of a track: sizes, times, chunks and file offsets from its sample table;
// `context` gives the file's facts (null: none). A sample that the file ends inside is marked.
void WriteTrackSamplesSubPage(ReportPage& page, const CBox& stbl, const std::string& path, uint32_t k,
                              const SampleContext* context);
// The samples of a track fragment, with their file offsets; `moof` and `mdat` are its
// movie fragment and the media data box that goes with it (either may be null),
// `context` gives the file's facts (null: none). A sample that the file ends inside is marked.
void WriteFragmentSamplesSubPage(ReportPage& page, const CBox& traf, const std::string& path, uint32_t k,
                                 const CBox* moof, const CBox* mdat, const SampleContext* context);
// The page of FLV tag k (from 0) of an mdat: the head and foot only when the box holds
// no tag k.
void WriteFlvTagSubPage(ReportPage& page, const CMediaDataBox& mdat, const std::string& path, uint32_t k);
