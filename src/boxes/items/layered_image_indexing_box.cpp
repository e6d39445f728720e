#include "boxes/items/layered_image_indexing_box.h"

int CLayeredImageIndexingBox::ParseBox(CBitStreamReader& reader) {
    if (reader.ReadBits(7, m_reserved) < 0 || reader.ReadBits(1, m_largeSize) < 0) return -1;
    for (uint32_t& size : m_layerSize)
        if (reader.ReadBits(m_largeSize ? 32 : 16, size) < 0) return -1;
    return 0;
}
