#include "boxes/presentation/media_header_boxes.h"

#include "base/log.h"

namespace {
// Version and flags; a failure logs the class's message (when it has one).
int ReadVersionAndFlags(CFullBox& box, CBitStreamReader& reader, const char* failure) {
    if (box.CFullBox::ParseBox(reader) == 0) return 0;
    if (failure) CORVEL_LOG("%s", failure);
    return -1;
}
}  // namespace

int CVideoMediaHeaderBox::ParseBox(CBitStreamReader& reader) {
    if (ReadVersionAndFlags(*this, reader, "[CVideoMediaHeaderBox::ParseBox] Fail to parse") < 0) return -1;
    if (reader.ReadBits(16, m_graphicsmode) < 0) return -1;
    for (uint32_t& c : m_opcolor)
        if (reader.ReadBits(16, c) < 0) return -1;
    return 0;
}

int CSoundMediaHeaderBox::ParseBox(CBitStreamReader& reader) {
    if (ReadVersionAndFlags(*this, reader, "[CSoundMediaHeaderBox::ParseBox] Fail to parse") < 0) return -1;
    if (reader.ReadBits(16, m_balance) < 0 || reader.ReadBits(16, m_reserved) < 0) return -1;
    if (m_reserved != 0)
        CORVEL_LOG("[CSoundMediaHeaderBox::ParseBox] reserved should be 0 (%ld)", static_cast<long>(m_reserved));
    return 0;
}

int CHintMediaHeaderBox::ParseBox(CBitStreamReader& reader) {
    if (ReadVersionAndFlags(*this, reader, nullptr) < 0) return -1;
    if (reader.ReadBits(16, m_maxPDUsize) < 0 || reader.ReadBits(16, m_avgPDUsize) < 0 ||
        reader.ReadBits(32, m_maxbitrate) < 0 || reader.ReadBits(32, m_avgbitrate) < 0 ||
        reader.ReadBits(32, m_reserved) < 0)
        return -1;
    return 0;
}

int CMPEG4MediaHeaderBox::ParseBox(CBitStreamReader& reader) {
    return ReadVersionAndFlags(*this, reader, "[CMPEG4MediaHeaderBox::ParseBox] Fail to parse");
}

int CNullMediaHeaderBox::ParseBox(CBitStreamReader& reader) {
    return ReadVersionAndFlags(*this, reader, "[CNullMediaHeaderBox::ParseBox] Fail to parse");
}
