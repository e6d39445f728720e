#include "boxes/items/image_rotation_box.h"

int CImageRotationBox::ParseBox(CBitStreamReader& reader) {
    return reader.ReadBits(6, m_reserved) < 0 || reader.ReadBits(2, m_angle) < 0 ? -1 : 0;
}
