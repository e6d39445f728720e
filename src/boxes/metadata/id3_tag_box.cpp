#include "boxes/metadata/id3_tag_box.h"

#include "base/log.h"

int CID3TagBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0 || reader.ReadBits(1, m_pad) < 0) return -1;
    for (uint32_t& code : m_language)
        if (reader.ReadBits(5, code) < 0) return -1;
    if (reader.ReadBits(24, m_identifier) < 0 || reader.ReadBits(8, m_majorVersion) < 0 ||
        reader.ReadBits(8, m_revision) < 0 || reader.ReadBits(8, m_tagFlags) < 0 || reader.ReadBits(32, m_tagSize) < 0)
        return -1;
    if (m_identifier != 0x494433) {  // "ID3"
        CORVEL_LOG("[CID3TagBox::ParseBox] no ID3 tag");
        return -1;
    }
    // The tag is read in a reader of its own, so no frame reaches past it.
    CBitStreamReader tag = reader.SubReader(TagSize());
    reader.SkipBits(tag.RemainingBits);
    const bool v2 = m_majorVersion == 2;
    if (!v2 && (m_tagFlags & kExtendedHeaderFlag)) {
        // Version 3 counts the bytes after the size, version 4 the whole header.
        if (tag.ReadBits(32, m_extendedSize) < 0) return -1;
        const uint32_t size = m_majorVersion >= 4 ? Syncsafe(m_extendedSize) : m_extendedSize;
        const uint32_t rest = m_majorVersion >= 4 ? (size < 4 ? 0 : size - 4) : size;
        if (tag.ReadBytes(rest, m_extendedHeader) < 0) return -1;
    }
    const uint32_t headerBytes = v2 ? 6 : 10;
    // Frames of a header's bytes at least: sized by what the tag holds, never by a count.
    m_frames.reserve(tag.PresentBytes() / headerBytes);
    while (tag.PresentBytes() >= headerBytes) {
        uint32_t first = 0;
        if (tag.PeekBits(8, first) < 0 || first == 0) break;  // padding
        Frame& f = m_frames.emplace_back();
        if (tag.ReadBits(v2 ? 24 : 32, f.id) < 0 || tag.ReadBits(v2 ? 24 : 32, f.size) < 0 ||
            (!v2 && tag.ReadBits(16, f.flags) < 0) || tag.ReadBytes(FrameBodySize(f), f.body) < 0) {
            CORVEL_LOG("[CID3TagBox::ParseBox] frame %zu runs past the tag", m_frames.size());
            m_frames.pop_back();
            return -1;
        }
    }
    if (tag.ReadBytes(tag.PresentBytes(), m_padding) < 0) return -1;
    if (tag.RemainingBytes()) return -1;  // the tag claims more than the box holds
    return reader.ReadBytes(reader.PresentBytes(), m_trailing);
}
