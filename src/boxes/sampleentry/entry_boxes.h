#pragma once
#include <cstdint>
#include <vector>
#include <string>

#include "boxes/box.h"

// The small boxes a visual sample entry may hold.

// clap: the clean aperture, as fractions.
class CCleanAperturebox : public CBox {
public:
    explicit CCleanAperturebox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_cleanApertureWidthN = 0;
    uint32_t m_cleanApertureWidthD = 0;
    uint32_t m_cleanApertureHeightN = 0;
    uint32_t m_cleanApertureHeightD = 0;
    uint32_t m_horizOffN = 0;
    uint32_t m_horizOffD = 0;
    uint32_t m_vertOffN = 0;
    uint32_t m_vertOffD = 0;
};

// pasp: the pixel aspect ratio.
class CPixelAspectRatioBox : public CBox {
public:
    explicit CPixelAspectRatioBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_hSpacing = 0;
    uint32_t m_vSpacing = 0;
};

// btrt: the stream's buffer size and bit rates.
class CBitRateBox : public CBox {
public:
    explicit CBitRateBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_bufferSizeDB = 0;
    uint32_t m_maxBitrate = 0;
    uint32_t m_avgBitrate = 0;
};

// m4ds: MPEG-4 extension descriptors, read through (nothing is kept).
class CMPEG4ExtensionDescriptorsBox : public CBox {
public:
    // One descriptor: its tag, its expandable size (one to four bytes) and its bytes.
    struct Descriptor {
        uint32_t tag = 0;
        uint32_t sizeBytes[4] = {};
        uint32_t size = 0;
        std::string bytes;
    };
    explicit CMPEG4ExtensionDescriptorsBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    std::vector<Descriptor> m_descriptors;
};
