#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "boxes/box.h"

// pssh: one DRM system's data for the keys of the file or fragment. PIFF's protection
// system header uuid box holds the version 0 fields.
class CProtectionSystemHeaderBox : public CFullBox {
public:
    // A record of a PlayReady object (little-endian fields); type 1 holds the
    // UTF-16LE XML header.
    struct PlayReadyRecord {
        uint32_t type = 0;    // 16 bits
        uint32_t length = 0;  // 16 bits
        std::vector<uint8_t> value;
    };
    explicit CProtectionSystemHeaderBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
    bool IsPlayReady() const;

    std::vector<uint8_t> m_systemId;  // 16 bytes
    uint32_t m_kidCount = 0;          // version 1
    std::vector<std::array<uint8_t, 16>> m_kids;
    uint32_t m_dataSize = 0;
    std::vector<uint8_t> m_data;
    // The data as a PlayReady object, when it is one whose length is the data size.
    uint32_t m_playReadyLength = 0;       // 32 bits, little-endian
    uint32_t m_playReadyRecordCount = 0;  // 16 bits, little-endian
    std::vector<PlayReadyRecord> m_playReadyRecords;

private:
    void ReadPlayReadyObject(CBitStreamReader& reader);
};

// The DRM system of a system ID (16 bytes): "Widevine", ...; null for another.
const char* DrmSystemName(const uint8_t* systemId);
