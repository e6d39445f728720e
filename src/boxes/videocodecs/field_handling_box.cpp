#include "boxes/videocodecs/field_handling_box.h"

int CFieldHandlingBox::ParseBox(CBitStreamReader& reader) {
    if (reader.ReadBits(8, m_fieldCount) < 0 || reader.ReadBits(8, m_fieldOrdering) < 0) return -1;
    return 0;
}
