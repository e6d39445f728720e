#include "boxes/videocodecs/coding_constraints_box.h"

int CCodingConstraintsBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (reader.ReadBits(1, m_allRefPicsIntra) < 0 || reader.ReadBits(1, m_intraPredUsed) < 0 ||
        reader.ReadBits(4, m_maxRefPerPic) < 0 || reader.ReadBits(26, m_reserved) < 0)
        return -1;
    return 0;
}
