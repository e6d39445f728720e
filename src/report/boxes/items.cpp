// The pages of the boxes of image files: the items' properties and their associations,
// the primary item, item references, item data and entity groups, and the list of the
// items on the item information page.
#include <cinttypes>

#include "boxes/containers/containers.h"
#include "boxes/containers/corvel.h"
#include "boxes/items/auxiliary_type_box.h"
#include "boxes/items/entity_to_group_box.h"
#include "boxes/items/image_mirror_box.h"
#include "boxes/items/image_rotation_box.h"
#include "boxes/items/image_spatial_extents_box.h"
#include "boxes/items/item_data_box.h"
#include "boxes/items/item_property_association_box.h"
#include "boxes/items/item_reference_type_box.h"
#include "boxes/items/layer_selector_box.h"
#include "boxes/items/layered_image_indexing_box.h"
#include "boxes/items/operating_point_selector_box.h"
#include "boxes/items/pixel_information_box.h"
#include "boxes/items/primary_item_box.h"
#include "boxes/items/relative_location_box.h"
#include "boxes/metadata/item_info_boxes.h"
#include "boxes/metadata/item_location_box.h"
#include "report/box_entry.h"
#include "report/item_list.h"

namespace {
// "1 (0X01) 90 degrees": a coded field with its meaning beside it.
void Coded(PageBuilder& page, std::string label, const uint32_t& field, const std::string& meaning) {
    page.Row(std::move(label), U32Text2(field) + " " + meaning, {field});
}

void IspeRows(PageBuilder& page, const CImageSpatialExtentsBox& b) {
    page.Table();
    page.U32("Image width", b.m_imageWidth);
    page.U32("Image height", b.m_imageHeight);
}

void PixiRows(PageBuilder& page, const CPixelInformationBox& b) {
    page.Table();
    page.U32x2("Num channels", b.m_numChannels);
    page.List("Channel", {"Bits per channel"});
    for (const uint32_t& bits : b.m_bitsPerChannel) page.ListEntry({Decimal(uint64_t{bits})}, {bits});
}

void AuxCRows(PageBuilder& page, const CAuxiliaryTypeBox& b) {
    page.Table();
    page.Row("Aux type", StringValue(b.m_auxType), {b.m_auxType});
    page.Row("Aux subtype", FormatBytesText(b.m_auxSubtype.data(), b.m_auxSubtype.size()), {b.m_auxSubtype});
}

void IrotRows(PageBuilder& page, const CImageRotationBox& b) {
    page.Table();
    page.U32x2("Reserved", b.m_reserved);
    Coded(page, "Angle", b.m_angle, Format("%u degrees anticlockwise", b.m_angle * 90));
}

void ImirRows(PageBuilder& page, const CImageMirrorBox& b) {
    page.Table();
    page.U32x2("Reserved", b.m_reserved);
    Coded(page, "Axis", b.m_axis, b.m_axis ? "horizontal (top and bottom swapped)" : "vertical (left and right swapped)");
}

void RlocRows(PageBuilder& page, const CRelativeLocationBox& b) {
    page.Table();
    page.U32("Horizontal offset", b.m_horizontalOffset);
    page.U32("Vertical offset", b.m_verticalOffset);
}

void LselRows(PageBuilder& page, const CLayerSelectorBox& b) {
    page.Table();
    page.U32x4("Layer id", b.m_layerId);
}

void A1opRows(PageBuilder& page, const COperatingPointSelectorBox& b) {
    page.Table();
    page.U32x2("Op index", b.m_opIndex);
}

void A1lxRows(PageBuilder& page, const CLayeredImageIndexingBox& b) {
    page.Table();
    page.U32x2("Reserved", b.m_reserved);
    Coded(page, "Large size", b.m_largeSize, b.m_largeSize ? "32-bit sizes" : "16-bit sizes");
    for (size_t i = 0; i < 3; ++i) page.U32(Format("Layer size (%zu)", i), b.m_layerSize[i]);
}

// One row per association: the item, the property's index and the type of the ipco
// child it names (the iprp's ipco, a sibling of this box).
void IpmaRows(PageBuilder& page, const CItemPropertyAssociationBox& b) {
    page.Table();
    page.U32("Entry count", b.m_entryCount);
    const CBox* ipco = page.Context().parent ? page.Context().parent->RetrieveChildBox(FourCC("ipco"), true) : nullptr;
    page.List("Association", {"Item id", "Association count", "Essential", "Property index", "Property"});
    for (const CItemPropertyAssociationBox::Entry& e : b.m_entries) {
        if (e.associations.empty())
            page.ListEntry({Decimal(uint64_t{e.itemID}), Decimal(uint64_t{e.associationCount}), "", "", ""},
                           {e.itemID, e.associationCount});
        for (const CItemPropertyAssociationBox::Association& a : e.associations)
            page.ListEntry({Decimal(uint64_t{e.itemID}), Decimal(uint64_t{e.associationCount}),
                            Decimal(uint64_t{a.essential}), Decimal(uint64_t{a.index}), Text::FromFile(PropertyName(ipco, a.index))},
                           {e.itemID, e.associationCount, a});
    }
}

void PitmRows(PageBuilder& page, const CPrimaryItemBox& b) {
    page.Table();
    page.U32("Item id", b.m_itemID);
}

void IdatRows(PageBuilder& page, const CItemDataBox& b) {
    page.Table();
    page.Derived("Data size", U64Text(b.m_dataSize), {b.m_dataSize});
}

// An item's total size with the "..." button that dumps its bytes, as a sample's has: its
// extents when they follow each other, else its first.
Text SizeWithDump(const ItemSummary& item) {
    const std::string size = Decimal(item.totalSize);
    if (item.extentList.empty() || !item.extentList.front().inside) return Text(size);
    uint64_t length = 0;
    for (const ItemExtent& x : item.extentList)
        if (x.inside && x.offset == item.extentList.front().offset + length) length += x.length;
    return Text::Markup(size + Format("&nbsp;&nbsp;<BUTTON STYLE=\"WIDTH:20\" onClick = \"fncOnClick(%" PRIu64
                                      ", %" PRIu64 ")\">...</BUTTON>",
                                      length, item.extentList.front().offset),
                        size);
}

// The items in a table after the entries' own: what each is, its properties and bytes.
void IinfRows(PageBuilder& page, const CItemInfoBox& b) {
    page.Table();
    page.U32("Entry count", b.m_entryCount);
    const PageContext& context = page.Context();
    if (!context.parent) return;
    const uint64_t fileSize = context.parser ? uint64_t(context.parser->FileSize()) : 0;
    const std::vector<ItemSummary> items = SummarizeItems(*context.parent, fileSize);
    if (items.empty()) return;
    page.List("Items", {"Item id", "Item type", "Item name", "Content type", "Primary", "Properties", "Extents",
                        "Total size"});
    for (const ItemSummary& item : items)
        page.ListEntry({Decimal(uint64_t{item.entry->m_itemID}), ItemTypeText(*item.entry),
                        StringValue(item.entry->m_itemName), StringValue(item.entry->m_contentType),
                        item.primary ? "yes" : "", Text::FromFile(item.properties), item.extents, SizeWithDump(item)},
                       {item.entry->m_itemID});
}
}  // namespace

void ItemReferenceRows(PageBuilder& page, const CBox& box) {
    const auto* b = dynamic_cast<const CItemReferenceTypeBox*>(&box);
    if (!b) return;
    page.Table();
    page.U32("From item id", b->m_fromItemID);
    page.U32x4("Reference count", b->m_referenceCount);
    page.List("Reference", {"To item id"});
    for (const uint32_t& id : b->m_toItemIDs) page.ListEntry({Decimal(uint64_t{id})}, {id});
}

void EntityGroupRows(PageBuilder& page, const CBox& box) {
    const auto* b = dynamic_cast<const CEntityToGroupBox*>(&box);
    if (!b) return;
    page.Table();
    page.U32("Group id", b->m_groupId);
    page.U32("Num entities in group", b->m_numEntitiesInGroup);
    page.List("Entity", {"Entity id"});
    for (const uint32_t& id : b->m_entityIds) page.ListEntry({Decimal(uint64_t{id})}, {id});
}

namespace {
constexpr BoxEntry kEntries[] = {
    {FourCC("iprp"), "Item Properties Box"},
    {FourCC("ipco"), "Item Property Container Box"},
    {FourCC("ipma"), "Item Property Association Box", nullptr, RowsOf<CItemPropertyAssociationBox, IpmaRows>},
    {FourCC("ispe"), "Image Spatial Extents Box", nullptr, RowsOf<CImageSpatialExtentsBox, IspeRows>},
    {FourCC("pixi"), "Pixel Information Box", nullptr, RowsOf<CPixelInformationBox, PixiRows>},
    {FourCC("auxC"), "Auxiliary Type Box", nullptr, RowsOf<CAuxiliaryTypeBox, AuxCRows>},
    {FourCC("irot"), "Image Rotation Box", nullptr, RowsOf<CImageRotationBox, IrotRows>},
    {FourCC("imir"), "Image Mirror Box", nullptr, RowsOf<CImageMirrorBox, ImirRows>},
    {FourCC("rloc"), "Relative Location Box", nullptr, RowsOf<CRelativeLocationBox, RlocRows>},
    {FourCC("lsel"), "Layer Selector Box", nullptr, RowsOf<CLayerSelectorBox, LselRows>},
    {FourCC("a1op"), "Operating Point Selector Box", nullptr, RowsOf<COperatingPointSelectorBox, A1opRows>},
    {FourCC("a1lx"), "Layered Image Indexing Box", nullptr, RowsOf<CLayeredImageIndexingBox, A1lxRows>},
    {FourCC("pitm"), "Primary Item Box", nullptr, RowsOf<CPrimaryItemBox, PitmRows>},
    {FourCC("iref"), "Item Reference Box"},
    {FourCC("idat"), "Item Data Box", nullptr, RowsOf<CItemDataBox, IdatRows>},
    {FourCC("iinf"), "Item Information Box", nullptr, RowsOf<CItemInfoBox, IinfRows>},
    {FourCC("grpl"), "Groups List Box"},
    {FourCC("altr"), "Alternatives Entity Group Box", nullptr, EntityGroupRows},
    {FourCC("ster"), "Stereo Pair Entity Group Box", nullptr, EntityGroupRows},
};
}  // namespace

std::span<const BoxEntry> ItemEntries() { return kEntries; }
