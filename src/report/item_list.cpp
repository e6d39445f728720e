#include "report/item_list.h"

#include <cinttypes>
#include <unordered_map>

#include "boxes/items/item_data_box.h"
#include "boxes/items/item_property_association_box.h"
#include "boxes/items/primary_item_box.h"
#include "boxes/metadata/item_info_boxes.h"
#include "boxes/metadata/item_location_box.h"
#include "report/format.h"

namespace {
template <class T>
const T* ChildOf(const CBox* box, uint32_t type) {
    return box ? dynamic_cast<const T*>(box->RetrieveChildBox(type, true)) : nullptr;
}

// The first record of each item ID: a file may hold many items, so no search per item.
template <class Record>
std::unordered_map<uint32_t, const Record*> ByItemID(const std::vector<Record>* records) {
    std::unordered_map<uint32_t, const Record*> out;
    if (records)
        for (const Record& r : *records) out.emplace(r.itemID, &r);
    return out;
}

template <class Record>
const Record* Find(const std::unordered_map<uint32_t, const Record*>& records, uint32_t itemID) {
    auto it = records.find(itemID);
    return it == records.end() ? nullptr : it->second;
}

// The extents of an item as file ranges. A length of 0 runs to the end of what holds
// the item; construction method 2 (bytes of other items) is left out.
void PlaceExtents(ItemSummary& s, const CItemLocationBox::Item& loc, const CItemDataBox* idat, uint64_t fileSize) {
    const bool inIdat = loc.constructionMethod == 1;
    if (loc.constructionMethod > 1 || (inIdat && !idat)) return;
    const uint64_t start = inIdat ? idat->m_dataOffset : 0;
    const uint64_t end = inIdat ? idat->m_dataOffset + idat->m_dataSize : fileSize;
    for (const CItemLocationBox::Extent& e : loc.extents) {
        ItemExtent x;
        x.inIdat = inIdat;
        // Sums of file values may wrap: a wrapped one is past the end all the same.
        const uint64_t relative = loc.baseOffset + e.offset;
        x.offset = start + relative;
        const bool startsInside = relative >= loc.baseOffset && x.offset >= start && x.offset <= end;
        x.length = e.length == 0 && startsInside ? end - x.offset : e.length;
        x.inside = startsInside && x.length <= end - x.offset;
        s.totalSize += x.length;
        if (!s.extents.empty()) s.extents += ", ";
        s.extents += Format("%" PRIu64 "+%" PRIu64, x.offset, x.length);
        if (inIdat) s.extents += " (idat)";
        if (!x.inside) s.extents += inIdat ? " past the idat" : " past the end of the file";
        s.extentList.push_back(x);
    }
}
}  // namespace

std::string PropertyName(const CBox* ipco, uint32_t index) {
    if (index == 0) return "none";
    const CBox* property = ipco ? ipco->GetChild(index - 1) : nullptr;
    return property ? FourCCText(property->m_type) : "missing";
}

Text ItemTypeText(const CItemInfoEntry& entry) {
    return entry.m_version >= 2 ? FourCCValue(entry.m_itemType) : Text("");
}

std::vector<ItemSummary> SummarizeItems(const CBox& meta, uint64_t fileSize) {
    std::vector<ItemSummary> items;
    const CBox* iinf = meta.RetrieveChildBox(FourCC("iinf"), true);
    if (!iinf) return items;
    const auto* iloc = ChildOf<CItemLocationBox>(&meta, FourCC("iloc"));
    const auto* pitm = ChildOf<CPrimaryItemBox>(&meta, FourCC("pitm"));
    const auto* idat = ChildOf<CItemDataBox>(&meta, FourCC("idat"));
    const CBox* iprp = meta.RetrieveChildBox(FourCC("iprp"), true);
    const CBox* ipco = iprp ? iprp->RetrieveChildBox(FourCC("ipco"), true) : nullptr;
    const auto* ipma = ChildOf<CItemPropertyAssociationBox>(iprp, FourCC("ipma"));
    const auto locations = ByItemID(iloc ? &iloc->m_items : nullptr);
    const auto associations = ByItemID(ipma ? &ipma->m_entries : nullptr);
    for (const auto& child : iinf->m_children) {
        const auto* entry = dynamic_cast<const CItemInfoEntry*>(child.get());
        if (!entry) continue;
        ItemSummary& s = items.emplace_back();
        s.entry = entry;
        s.primary = pitm && pitm->m_itemID == entry->m_itemID;
        if (const auto* assoc = Find(associations, entry->m_itemID))
            for (const CItemPropertyAssociationBox::Association& a : assoc->associations) {
                s.propertyIndexes.push_back(a.index);
                if (!s.properties.empty()) s.properties += ", ";
                s.properties += PropertyName(ipco, a.index) + (a.essential ? "*" : "");
            }
        if (const auto* loc = Find(locations, entry->m_itemID)) PlaceExtents(s, *loc, idat, fileSize);
    }
    return items;
}
