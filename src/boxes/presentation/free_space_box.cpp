#include "boxes/presentation/free_space_box.h"

int CFreeSpaceBox::ParseBox(CBitStreamReader& reader) {
    m_spaceSize = reader.RemainingBytes();
    reader.SkipBits(reader.RemainingBits);
    return 0;
}
