#pragma once
#include <cstdint>

#include "boxes/box.h"

// stsd: the track's sample entries, kept as its children. The class of each entry
// follows the track's handler type (from hdlr, given by the stbl), then its type.
class CSampleDescriptionBox : public CFullBox {
public:
    CSampleDescriptionBox(const CBox& header, uint32_t handlerType) : CFullBox(header), m_handlerType(handlerType) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetHandlerType() const { return m_handlerType; }

    uint32_t m_entryCount = 0;
    uint32_t m_handlerType = 0;
};
