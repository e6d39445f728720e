#include "boxes/items/layer_selector_box.h"

int CLayerSelectorBox::ParseBox(CBitStreamReader& reader) { return reader.ReadBits(16, m_layerId); }
