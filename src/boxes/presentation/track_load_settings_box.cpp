#include "boxes/presentation/track_load_settings_box.h"

int CTrackLoadSettingsBox::ParseBox(CBitStreamReader& reader) {
    for (uint32_t* f : {&m_preloadStartTime, &m_preloadDuration, &m_preloadFlags, &m_defaultHints})
        if (reader.ReadBits(32, *f) < 0) return -1;
    return 0;
}
