#include "boxes/videocodecs/content_light_box.h"

int CContentLightBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (reader.ReadBits(16, m_maxCLL) < 0 || reader.ReadBits(16, m_maxFALL) < 0) return -1;
    return 0;
}
