#include "boxes/metadata/user_data_text_box.h"

int CUserDataTextBox::ParseBox(CBitStreamReader& reader) {
    // The entries are counted first (peeks note no spans), so that none moves once read.
    size_t count = 0;
    for (CBitStreamReader probe(reader); probe.PresentBytes() >= 4; ++count) {
        uint32_t size = 0;
        if (probe.PeekBits(16, size) < 0 || probe.PresentBytes() < 4 + uint64_t(size)) break;
        probe.SkipBits((4 + uint64_t(size)) * 8);
    }
    m_entries.reserve(count + 1);
    while (reader.PresentBytes() >= 4) {
        Entry& e = m_entries.emplace_back();
        if (reader.ReadBits(16, e.size) < 0 || reader.ReadBits(16, e.language) < 0 ||
            reader.ReadBytes(e.size, e.text) < 0) {
            m_entries.pop_back();
            return -1;
        }
    }
    return 0;
}
