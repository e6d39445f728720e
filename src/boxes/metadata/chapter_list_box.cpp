#include "boxes/metadata/chapter_list_box.h"

#include <algorithm>

int CChapterListBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (m_version >= 1 && reader.ReadBits(32, m_reserved) < 0) return -1;
    if (reader.ReadBits(8, m_chapterCount) < 0) return -1;
    // A chapter takes 9 bytes at least.
    m_chapters.reserve(std::min<uint64_t>(m_chapterCount, reader.PresentBytes() / 9));
    for (uint32_t i = 0; i < m_chapterCount; ++i) {
        if (m_chapters.size() == m_chapters.capacity()) return -1;  // counted past the payload
        Chapter& c = m_chapters.emplace_back();
        if (reader.Read64(c.startTime) < 0 || reader.ReadBits(8, c.titleLength) < 0 ||
            reader.ReadBytes(c.titleLength, c.title) < 0) {
            m_chapters.pop_back();
            return -1;
        }
    }
    return 0;
}
