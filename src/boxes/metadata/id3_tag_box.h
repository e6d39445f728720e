#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "boxes/box.h"

// ID32 (in a meta whose handler is ID32): a language, then an ID3v2 tag: its 10-byte
// header, an extended header when its flags say so, the frames, then padding.
class CID3TagBox : public CFullBox {
public:
    struct Frame {
        uint32_t id = 0;     // four characters (three in version 2)
        uint32_t size = 0;   // as written: syncsafe in version 4
        uint32_t flags = 0;  // 16 (none in version 2)
        std::string body;
    };
    static constexpr uint32_t kExtendedHeaderFlag = 0x40;

    explicit CID3TagBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    // A 28-bit number written seven bits a byte, the top bit of each clear.
    static uint32_t Syncsafe(uint32_t raw) {
        return (raw & 0x7F) | (raw >> 1 & 0x3F80) | (raw >> 2 & 0x1FC000) | (raw >> 3 & 0xFE00000);
    }
    uint32_t TagSize() const { return Syncsafe(m_tagSize); }
    uint32_t FrameBodySize(const Frame& f) const { return m_majorVersion >= 4 ? Syncsafe(f.size) : f.size; }

    uint32_t m_pad = 0;           // 1 bit
    uint32_t m_language[3] = {};  // 5-bit codes, each letter - 0x60
    uint32_t m_identifier = 0;    // 24: "ID3"
    uint32_t m_majorVersion = 0;  // 8
    uint32_t m_revision = 0;      // 8
    uint32_t m_tagFlags = 0;      // 8: 0x80 unsynchronisation, 0x40 extended header, 0x20 experimental, 0x10 footer
    uint32_t m_tagSize = 0;       // 32, syncsafe: the bytes after the header
    uint32_t m_extendedSize = 0;  // as written
    std::string m_extendedHeader; // the rest of the extended header
    std::vector<Frame> m_frames;
    std::string m_padding;        // the tag's bytes after its frames
    std::string m_trailing;       // the box's bytes after the tag (a footer)
};
