#pragma once
#include <string>

#include "boxes/box.h"

// The XMP metadata box: a top-level uuid box whose payload is XMP text.
class CXMPMetadataBox : public CBox {
public:
    explicit CXMPMetadataBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    std::string m_xmp;  // every payload byte, zero bytes included
};
