#include "boxes/presentation/free_space_box.h"

int CFreeSpaceBox::ParseBox(CBitStreamReader& reader) {
    m_spaceSize = reader.RemainingBytes();
    reader.SkipRest(&m_spaceSize);
    return 0;
}
