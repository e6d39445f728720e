#include "boxes/presentation/track_aperture_dimensions_box.h"

int CTrackApertureDimensionsBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    return reader.ReadBits(32, m_width) < 0 || reader.ReadBits(32, m_height) < 0 ? -1 : 0;
}
