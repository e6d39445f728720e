#pragma once
#include <cstdint>

#include "boxes/box.h"

// The media information headers below minf: one per media kind.

// vmhd
class CVideoMediaHeaderBox : public CFullBox {
public:
    explicit CVideoMediaHeaderBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_graphicsmode = 0;  // 16
    uint32_t m_opcolor[3] = {};   // 16 each
};

// smhd
class CSoundMediaHeaderBox : public CFullBox {
public:
    explicit CSoundMediaHeaderBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_balance = 0;   // 16, signed 8.8
    uint32_t m_reserved = 0;  // 16
};

// hmhd
class CHintMediaHeaderBox : public CFullBox {
public:
    explicit CHintMediaHeaderBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_maxPDUsize = 0;  // 16
    uint32_t m_avgPDUsize = 0;  // 16
    uint32_t m_maxbitrate = 0;
    uint32_t m_avgbitrate = 0;
    uint32_t m_reserved = 0;
};

// nmhd: version and flags only.
class CMPEG4MediaHeaderBox : public CFullBox {
public:
    explicit CMPEG4MediaHeaderBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

// crhd, iphd, m7hd, mjhd, ochd, odhd, sdhd: version and flags only.
class CNullMediaHeaderBox : public CFullBox {
public:
    explicit CNullMediaHeaderBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};
