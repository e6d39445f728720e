#include "boxes/protection/protection_system_header_box.h"

#include <cstring>

#include "boxes/sampletable/table_reader.h"

namespace {
struct KnownSystem {
    uint8_t id[16];
    const char* name;
};
const KnownSystem kSystems[] = {
    {{0xED, 0xEF, 0x8B, 0xA9, 0x79, 0xD6, 0x4A, 0xCE, 0xA3, 0xC8, 0x27, 0xDC, 0xD5, 0x1D, 0x21, 0xED}, "Widevine"},
    {{0x9A, 0x04, 0xF0, 0x79, 0x98, 0x40, 0x42, 0x86, 0xAB, 0x92, 0xE6, 0x5B, 0xE0, 0x88, 0x5F, 0x95}, "PlayReady"},
    {{0x94, 0xCE, 0x86, 0xFB, 0x07, 0xFF, 0x4F, 0x43, 0xAD, 0xB8, 0x93, 0xD2, 0xFA, 0x96, 0x8C, 0xA2}, "FairPlay"},
    {{0x10, 0x77, 0xEF, 0xEC, 0xC0, 0xB2, 0x4D, 0x02, 0xAC, 0xE3, 0x3C, 0x1E, 0x52, 0xE2, 0xFB, 0x4B},
     "W3C Common PSSH (Clear Key)"},
    {{0x5E, 0x62, 0x9A, 0xF5, 0x38, 0xDA, 0x40, 0x63, 0x89, 0x77, 0x97, 0xFF, 0xBD, 0x99, 0x02, 0xD4}, "Marlin"},
    {{0x9A, 0x27, 0xDD, 0x82, 0xFD, 0xE2, 0x47, 0x25, 0x8C, 0xBC, 0x42, 0x34, 0xAA, 0x06, 0xEC, 0x09}, "Verimatrix"},
    {{0x80, 0xA6, 0xBE, 0x7E, 0x14, 0x48, 0x4C, 0x37, 0x9E, 0x70, 0xD5, 0xAE, 0xBE, 0x04, 0xC8, 0xD2}, "Irdeto"},
    {{0x3D, 0x5E, 0x6D, 0x35, 0x9B, 0x9A, 0x41, 0xE8, 0xB8, 0x43, 0xDD, 0x3C, 0x6E, 0x72, 0xC4, 0x2C}, "ChinaDRM"},
    {{0xAD, 0xB4, 0x1C, 0x24, 0x2D, 0xBF, 0x4A, 0x6D, 0x95, 0x8B, 0x44, 0x57, 0xC0, 0xD2, 0x7B, 0x95}, "Nagra"},
};

uint32_t Le(uint32_t bigEndian, int bytes) {
    return bytes == 2 ? ((bigEndian & 0xFF) << 8) | (bigEndian >> 8) : __builtin_bswap32(bigEndian);
}
}  // namespace

const char* DrmSystemName(const uint8_t* systemId) {
    for (const KnownSystem& s : kSystems)
        if (std::memcmp(s.id, systemId, 16) == 0) return s.name;
    return nullptr;
}

bool CProtectionSystemHeaderBox::IsPlayReady() const {
    return m_systemId.size() == 16 && std::memcmp(m_systemId.data(), kSystems[1].id, 16) == 0;
}

int CProtectionSystemHeaderBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0 || reader.ReadBytes(16, m_systemId) < 0) return -1;
    if (m_version > 0) {
        if (reader.ReadBits(32, m_kidCount) < 0) return -1;
        int status = ReadEach(reader, m_kidCount, 16, m_kids, [&](std::array<uint8_t, 16>& kid) {
            const uint64_t from = reader.FileBit();
            for (uint8_t& b : kid) {
                uint32_t v;
                if (reader.ReadBits(8, v) < 0) return -1;
                b = uint8_t(v);
            }
            reader.NoteSince(&kid, from);
            return 0;
        });
        if (status < 0) return status;
    }
    // A data size past the box's bytes fails it.
    if (reader.ReadBits(32, m_dataSize) < 0 || m_dataSize > reader.PresentBytes()) return -1;
    if (IsPlayReady()) {
        CBitStreamReader object = reader.SubReader(m_dataSize);
        ReadPlayReadyObject(object);
    }
    return reader.ReadBytes(m_dataSize, m_data);
}

// The object's header and its records, as far as they fit the data; a data that is no
// PlayReady object (its length is not the data size) is left as bytes only.
void CProtectionSystemHeaderBox::ReadPlayReadyObject(CBitStreamReader& reader) {
    uint32_t length;
    if (reader.PeekBits(32, length) < 0 || Le(length, 4) != m_dataSize) return;
    if (reader.ReadBits(32, m_playReadyLength) < 0 || reader.ReadBits(16, m_playReadyRecordCount) < 0) return;
    m_playReadyLength = Le(m_playReadyLength, 4);
    m_playReadyRecordCount = Le(m_playReadyRecordCount, 2);
    ReadEach(reader, m_playReadyRecordCount, 4, m_playReadyRecords, [&](PlayReadyRecord& r) {
        if (reader.ReadBits(16, r.type) < 0 || reader.ReadBits(16, r.length) < 0) return -1;
        r.type = Le(r.type, 2);
        r.length = Le(r.length, 2);
        return reader.ReadBytes(r.length, r.value);
    });
}
