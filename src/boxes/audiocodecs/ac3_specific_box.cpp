#include "boxes/audiocodecs/ac3_specific_box.h"

#include <utility>

int CAC3SpecificBox::ParseBox(CBitStreamReader& reader) {
    const std::pair<uint32_t*, uint32_t> fields[] = {{&m_fscod, 2}, {&m_bsid, 5},        {&m_bsmod, 3},   {&m_acmod, 3},
                                                     {&m_lfeon, 1}, {&m_bitRateCode, 5}, {&m_reserved, 5}};
    for (const auto& [field, bits] : fields)
        if (reader.ReadBits(bits, *field) < 0) return -1;
    return 0;
}
