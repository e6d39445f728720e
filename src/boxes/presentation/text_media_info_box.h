#pragma once
#include <cstdint>

#include "boxes/box.h"

// text (QuickTime, in the gmhd of a text or chapter track): the matrix the text is
// drawn with. Not the text sample entry of the same code, which lies in an stsd.
class CTextMediaInfoBox : public CBox {
public:
    explicit CTextMediaInfoBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_matrix[9] = {};  // a, b, u, c, d, v, x, y, w
};
