#pragma once
#include <string>

#include "boxes/box.h"

// hdlr: the handler type tells the track's media kind to the boxes below it.
class CHandlerBox : public CFullBox {
public:
    explicit CHandlerBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetHandlerType() const { return m_handlerType; }
    std::string GetName() const { return m_name; }

    uint32_t m_preDefined = 0;
    uint32_t m_handlerType = 0;
    uint32_t m_reserved[3] = {};
    std::string m_name;  // every remaining payload byte, a terminating zero included
};
