#pragma once
#include <cstdint>
#include <string>

#include "boxes/box.h"

// A 3GPP text tag (titl, auth, dscp, perf, gnre, albm; cprt directly in a moov): a
// language and a text.
class CTagBox : public CFullBox {
public:
    explicit CTagBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_pad = 0;             // 1 bit
    uint32_t m_language[3] = {};    // 5-bit codes of an ISO 639-2 code, each letter - 0x60
    std::string m_tagString;        // every remaining payload byte
};

// cprt inside a udta: the copyright notice, laid out as a tag.
class CCopyrightBox : public CFullBox {
public:
    explicit CCopyrightBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_pad = 0;
    uint32_t m_language[3] = {};
    std::string m_notice;  // every remaining payload byte
};
