#include "boxes/items/operating_point_selector_box.h"

int COperatingPointSelectorBox::ParseBox(CBitStreamReader& reader) { return reader.ReadBits(8, m_opIndex); }
