#include "boxes/items/image_mirror_box.h"

int CImageMirrorBox::ParseBox(CBitStreamReader& reader) {
    return reader.ReadBits(7, m_reserved) < 0 || reader.ReadBits(1, m_axis) < 0 ? -1 : 0;
}
