#include "boxes/audiocodecs/eac3_config_box.h"

#include <utility>

int CEAC3ConfigBox::ParseBox(CBitStreamReader& reader) {
    if (reader.ReadBits(13, m_dataRate) < 0 || reader.ReadBits(3, m_numIndSub) < 0) return -1;
    // At most eight: their spans are noted by address, so the room is made once.
    m_substreams.reserve(m_numIndSub + 1);
    for (uint32_t i = 0; i <= m_numIndSub; ++i) {
        Substream& s = m_substreams.emplace_back();
        const std::pair<uint32_t*, uint32_t> fields[] = {{&s.fscod, 2}, {&s.bsid, 5},      {&s.reserved1, 1},
                                                         {&s.asvc, 1},  {&s.bsmod, 3},     {&s.acmod, 3},
                                                         {&s.lfeon, 1}, {&s.reserved2, 3}, {&s.numDepSub, 4}};
        for (const auto& [field, bits] : fields)
            if (reader.ReadBits(bits, *field) < 0) return -1;
        if (reader.ReadBits(s.numDepSub ? 9 : 1, s.chanLoc) < 0) return -1;
    }
    return 0;
}
