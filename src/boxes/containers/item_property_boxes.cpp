// iprp, ipco and grpl: the containers of item properties and of entity groups.
#include "base/log.h"
#include "boxes/child_loop.h"
#include "boxes/containers/containers.h"
#include "boxes/descriptors/hevc_configuration.h"
#include "boxes/items/auxiliary_type_box.h"
#include "boxes/items/entity_to_group_box.h"
#include "boxes/items/image_mirror_box.h"
#include "boxes/items/image_rotation_box.h"
#include "boxes/items/image_spatial_extents_box.h"
#include "boxes/items/item_property_association_box.h"
#include "boxes/items/layer_selector_box.h"
#include "boxes/items/layered_image_indexing_box.h"
#include "boxes/items/operating_point_selector_box.h"
#include "boxes/items/pixel_information_box.h"
#include "boxes/items/relative_location_box.h"
#include "boxes/sampleentry/entry_boxes.h"
#include "boxes/videocodecs/av1_configuration_box.h"
#include "boxes/videocodecs/colour_information_box.h"

int CItemPropertiesBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{"[CItemPropertiesBox::ParseBox] box size is larger than 8bytes - %d",
                                      "[CItemPropertiesBox::ParseBox] Box parsing error",
                                      "[CItemPropertiesBox::ParseBox] Unknown Box Type - %s", nullptr, nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("ipco"):
                return Known<CItemPropertyContainerBox>(h);
            case FourCC("ipma"):
                return Known<CItemPropertyAssociationBox>(h);
            default:
                return FreeSpaceOrUnknown(h);
        }
    });
}

int CItemPropertyContainerBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{"[CItemPropertyContainerBox::ParseBox] box size is larger than 8bytes - %d",
                                      "[CItemPropertyContainerBox::ParseBox] Box parsing error",
                                      "[CItemPropertyContainerBox::ParseBox] Unknown Box Type - %s", nullptr, nullptr};
    // A property the table does not know stays a child all the same: ipma counts it.
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("ispe"): return Known<CImageSpatialExtentsBox>(h);
            case FourCC("pixi"): return Known<CPixelInformationBox>(h);
            case FourCC("auxC"): return Known<CAuxiliaryTypeBox>(h);
            case FourCC("irot"): return Known<CImageRotationBox>(h);
            case FourCC("imir"): return Known<CImageMirrorBox>(h);
            case FourCC("clap"): return Known<CCleanAperturebox>(h);
            case FourCC("pasp"): return Known<CPixelAspectRatioBox>(h);
            case FourCC("rloc"): return Known<CRelativeLocationBox>(h);
            case FourCC("lsel"): return Known<CLayerSelectorBox>(h);
            case FourCC("a1op"): return Known<COperatingPointSelectorBox>(h);
            case FourCC("a1lx"): return Known<CLayeredImageIndexingBox>(h);
            case FourCC("av1C"): return Known<CAV1ConfigurationBox>(h);
            case FourCC("hvcC"): return Known<CHEVCConfigurationBox>(h);
            case FourCC("colr"): return Known<CColourInformationBox>(h);
            default: return FreeSpaceOrUnknown(h);
        }
    });
}

int CGroupsListBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{"[CGroupsListBox::ParseBox] box size is larger than 8bytes - %d",
                                      "[CGroupsListBox::ParseBox] Box parsing error",
                                      "[CGroupsListBox::ParseBox] Unknown Box Type - %s", nullptr, nullptr};
    // Every child is an entity group, its type the kind of group.
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade { return Known<CEntityToGroupBox>(h); });
}
