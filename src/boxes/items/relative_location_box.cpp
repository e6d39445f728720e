#include "boxes/items/relative_location_box.h"

int CRelativeLocationBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    return reader.ReadBits(32, m_horizontalOffset) < 0 || reader.ReadBits(32, m_verticalOffset) < 0 ? -1 : 0;
}
