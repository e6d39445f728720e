#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "boxes/box.h"

// The 128-byte header of an ICC profile and its tag table.
struct IccProfileHeader {
    struct Tag {
        uint32_t signature = 0;
        uint32_t offset = 0;
        uint32_t size = 0;
    };
    // -1 when the bytes end inside the header; tags are read as far as the bytes go.
    int Parse(CBitStreamReader& reader);

    uint32_t m_profileSize = 0;
    uint32_t m_cmmType = 0;
    uint32_t m_version = 0;  // major, minor and bug fix in the first 2 bytes
    uint32_t m_deviceClass = 0;
    uint32_t m_colourSpace = 0;
    uint32_t m_connectionSpace = 0;
    uint32_t m_dateTime[6] = {};  // 16 bits each: year, month, day, hours, minutes, seconds
    uint32_t m_signature = 0;  // 'acsp'
    uint32_t m_platform = 0;
    uint32_t m_flags = 0;
    uint32_t m_manufacturer = 0;
    uint32_t m_model = 0;
    uint64_t m_attributes = 0;
    uint32_t m_renderingIntent = 0;
    uint32_t m_illuminant[3] = {};  // XYZ, s15.16
    uint32_t m_creator = 0;
    std::vector<uint8_t> m_profileId;  // 16 bytes (an MD5)
    std::vector<uint8_t> m_reserved;   // 28 bytes
    uint32_t m_tagCount = 0;
    std::vector<Tag> m_tags;  // those the bytes hold
    uint32_t m_tagData = 0;   // stands for the bytes after the tag table
};

// colr: how the picture's colours are coded: nclx (ISO), nclc (QuickTime) or an ICC
// profile (rICC, prof). Another colour type's payload is left unread.
class CColourInformationBox : public CBox {
public:
    explicit CColourInformationBox(const CBox& header) : CBox(header) {}
    // -1 when the bytes end inside the fields or the ICC profile's header.
    int ParseBox(CBitStreamReader& reader) override;
    bool IsNcl() const { return m_colourType == FourCC("nclx") || m_colourType == FourCC("nclc"); }

    uint32_t m_colourType = 0;
    uint32_t m_colourPrimaries = 0;          // 16
    uint32_t m_transferCharacteristics = 0;  // 16
    uint32_t m_matrixCoefficients = 0;       // 16
    uint32_t m_fullRangeFlag = 0;  // 1, nclx
    uint32_t m_reserved = 0;       // 7, nclx
    std::unique_ptr<IccProfileHeader> m_icc;
};
