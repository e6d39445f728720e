#pragma once
#include <cstdint>
#include <string>

#include "boxes/box.h"
#include "boxes/child_loop.h"

// What a protected (or restricted) sample entry holds about its protection: the entry's
// original format, the scheme, and the scheme's own boxes.

class CProtectionSchemeInfoBox : public CBox {  // sinf (and rinf, laid out alike)
public:
    explicit CProtectionSchemeInfoBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
    // The original format's code from its frma; 0 without one.
    uint32_t OriginalFormat() const;
};

class COriginalFormatBox : public CBox {  // frma
public:
    explicit COriginalFormatBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_dataFormat = 0;
};

class CSchemeTypeBox : public CFullBox {  // schm
public:
    explicit CSchemeTypeBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_schemeType = 0;
    uint32_t m_schemeVersion = 0;
    std::string m_schemeUri;  // with flag 1: the rest of the box, its terminating zero included
};

class CSchemeInformationBox : public CBox {  // schi
public:
    explicit CSchemeInformationBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

// The original format of a protected sample entry (encv, enca, ...); the entry's own
// code for any other.
uint32_t OriginalFormatOf(const CBox& entry);

// A child of moov or moof that may be DRM system data (pssh, or PIFF's uuid box of the
// same fields); any other stays unknown (free space aside).
ChildMade ProtectionSystemChild(const CBox& header);
