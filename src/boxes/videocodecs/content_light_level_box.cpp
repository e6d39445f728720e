#include "boxes/videocodecs/content_light_level_box.h"

int CContentLightLevelBox::ParseBox(CBitStreamReader& reader) {
    if (reader.ReadBits(16, m_maxContentLightLevel) < 0 || reader.ReadBits(16, m_maxPicAverageLightLevel) < 0) return -1;
    return 0;
}
