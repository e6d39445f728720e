#include "boxes/audiocodecs/ac3_config_box.h"

#include <utility>

int CAC3ConfigBox::ParseBox(CBitStreamReader& reader) {
    const std::pair<uint32_t*, uint32_t> fields[] = {{&m_fscod, 2}, {&m_bsid, 5},        {&m_bsmod, 3},   {&m_acmod, 3},
                                                     {&m_lfeon, 1}, {&m_bitRateCode, 5}, {&m_reserved, 5}};
    for (const auto& [field, bits] : fields)
        if (reader.ReadBits(bits, *field) < 0) return -1;
    return 0;
}

uint32_t CAC3ConfigBox::Channels() const {
    static const uint32_t kByMode[] = {2, 1, 2, 3, 3, 4, 4, 5};  // 1+1, 1/0, 2/0, 3/0, 2/1, 3/1, 2/2, 3/2
    return kByMode[m_acmod & 7] + (m_lfeon & 1);
}
