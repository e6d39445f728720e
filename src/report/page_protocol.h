#pragma once

// The names the generated pages and the desktop program share: the ids of the
// elements a page raises events on, the attributes that name boxes, and the commands
// the HTML view sends the main window.

// The select of a track's samples, of a track fragment's samples, of a box's entries,
// of an mdat's FLV tags and of the rows of a paged table; the hidden element the "..."
// buttons click.
inline constexpr const char* kTrackSamplesId = "SUB_PAGE";
inline constexpr const char* kFragmentSamplesId = "LIST_PAGE";
inline constexpr const char* kEntriesId = "STDL_PAGE";
inline constexpr const char* kFlvTagsId = "FLV_PAGE";
inline constexpr const char* kRowPagesId = "ROWS_PAGE";
inline constexpr const char* kHexInputId = "HEX_INPUT";

// A select's position among the page's elements of its id, and the boxes it names
// (box identities as decimal numbers).
inline constexpr const char* kNidAttr = "nid";
inline constexpr const char* kBoxAttr = "box_pos";
inline constexpr const char* kMoofAttr = "moof_box_pos";
inline constexpr const char* kMdatAttr = "mdat_box_pos";

enum PageCommand : int {
    kCmdHexDump = 3001,          // dump: byte count and file offset as decimal text
    kCmdTrackSamples = 3002,     // the samples of a sample table
    kCmdFragmentSamples = 3003,  // the samples of a track fragment
    kCmdEntries = 3004,          // the entries of a box
    kCmdFlvTag = 3005,           // one FLV tag
    kCmdTableRows = 3006,        // the rows of a paged table of the page (nid: its place among them)
};
