#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "report/text.h"

class CBox;
class CItemInfoEntry;

// Where one extent of an item lies: in the file (construction method 0) or in the
// meta's idat (1), as an offset in the file either way.
struct ItemExtent {
    uint64_t offset = 0;
    uint64_t length = 0;
    bool inIdat = false;
    bool inside = false;  // the extent lies within the file or the idat's bytes
};

// One item of a meta box, gathered from its siblings: iinf, iloc, ipma (in iprp), pitm, idat.
struct ItemSummary {
    const CItemInfoEntry* entry = nullptr;
    bool primary = false;
    std::string properties;  // the types of its properties by index, "*" after an essential one
    std::vector<uint32_t> propertyIndexes;
    std::vector<ItemExtent> extentList;
    std::string extents;  // "offset+length" each, with where they lie
    uint64_t totalSize = 0;
};

// The items of `meta` in iinf order; `fileSize` bounds the extents in the file.
std::vector<ItemSummary> SummarizeItems(const CBox& meta, uint64_t fileSize);

// The type of an ipco child by its index from 1; "none" for 0, "missing" past the children.
std::string PropertyName(const CBox* ipco, uint32_t index);

// An item's type: the four-CC of versions 2 and 3, else "" (the content type says it).
Text ItemTypeText(const CItemInfoEntry& entry);
