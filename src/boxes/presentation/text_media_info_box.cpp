#include "boxes/presentation/text_media_info_box.h"

int CTextMediaInfoBox::ParseBox(CBitStreamReader& reader) {
    for (uint32_t& m : m_matrix)
        if (reader.ReadBits(32, m) < 0) return -1;
    return 0;
}
