#pragma once
#include <string>

#include "boxes/box.h"

// name (QuickTime, in a udta): the track's or the movie's name, the whole payload.
class CNameBox : public CBox {
public:
    explicit CNameBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override { return reader.ReadBytes(reader.PresentBytes(), m_name); }

    std::string m_name;
};
