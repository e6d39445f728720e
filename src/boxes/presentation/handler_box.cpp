#include "boxes/presentation/handler_box.h"

#include "base/log.h"

int CHandlerBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[CHandlerBox::ParseBox] Parsing Error");
        return -1;
    }
    if (reader.ReadBits(32, m_preDefined) < 0) return -1;
    if (reader.ReadBits(32, m_handlerType) < 0) return -1;
    CORVEL_LOG("[Handler Reference Box] handler_type :(%s)", FourCCText(m_handlerType).c_str());
    for (uint32_t& r : m_reserved)
        if (reader.ReadBits(32, r) < 0) return -1;
    // The name is every remaining byte, a terminating zero (if any) included.
    if (reader.ReadBytes(reader.PresentBytes(), m_name) < 0) return -1;
    CORVEL_LOG("[Handler Reference Box] name :(%s)", m_name.c_str());
    return 0;
}
