#include "boxes/items/image_spatial_extents_box.h"

int CImageSpatialExtentsBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    return reader.ReadBits(32, m_imageWidth) < 0 || reader.ReadBits(32, m_imageHeight) < 0 ? -1 : 0;
}
