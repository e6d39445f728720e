#include "boxes/presentation/free_space_box.h"

#include <algorithm>

int CFreeSpaceBox::ParseBox(CBitStreamReader& reader) {
    m_spaceSize = reader.RemainingBytes();
    if (m_spaceSize == 0) return 0;
    if (reader.ReadBytes(std::min(m_spaceSize, kKeptBytes), m_bytes) < 0) return -1;
    reader.SkipBits(reader.RemainingBits);
    return 0;
}
