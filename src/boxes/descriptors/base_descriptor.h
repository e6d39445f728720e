#pragma once
#include <cstdint>
#include <initializer_list>

#include "reader/bit_stream_reader.h"

// The MPEG-4 descriptor tags this program reads.
enum DescriptorTag : uint32_t {
    kObjectDescrTag = 0x01,
    kInitialObjectDescrTag = 0x02,
    kESDescrTag = 0x03,
    kDecoderConfigDescrTag = 0x04,
    kDecSpecificInfoTag = 0x05,
    kSLConfigDescrTag = 0x06,
    kIPMPDescrPointerTag = 0x0A,
    kIPMPDescrTag = 0x0B,
    kES_ID_IncTag = 0x0E,
    kES_ID_RefTag = 0x0F,
    kMP4_IOD_Tag = 0x10,
    kMP4_OD_Tag = 0x11,
    kExtensionProfileLevelDescrTag = 0x13,
    kOCIDescrTagFirst = 0x40,
    kOCIDescrTagLast = 0x5F,
    kIPMPToolListDescrTag = 0x60,
    kExtDescrTagFirst = 0x6A,
    kExtDescrTagLast = 0xFE,
};

// The base of every descriptor: an 8-bit tag and an expandable size. A descriptor is
// read in two steps: its header (CBaseDescriptor::Parse), then its body (the class's
// own Parse) from a reader over exactly its size bytes.
class CBaseDescriptor {
public:
    CBaseDescriptor() = default;
    CBaseDescriptor(const CBaseDescriptor&) = delete;
    CBaseDescriptor& operator=(const CBaseDescriptor&) = delete;
    virtual ~CBaseDescriptor() = default;
    // The base reads the header: the tag, then the size, 7 bits in each of at most 4
    // bytes. A fifth size byte fails the header.
    virtual int Parse(CBitStreamReader& reader);

    uint32_t m_tag = 0;
    uint32_t m_size = 0;
    uint32_t m_sizeBytes = 0;  // how many bytes the size took
};

// Reads the header of the next descriptor into `d`.
inline int ReadDescriptorHeader(CBitStreamReader& reader, CBaseDescriptor& d) { return d.CBaseDescriptor::Parse(reader); }

// Reads the body of `d`, whose header has just been read, from a reader over its size
// bytes, and moves `reader` past them. A size that reaches past the bytes of the
// reader (its parent) fails the descriptor before anything of its body is read.
int ParseDescriptorBody(CBitStreamReader& reader, CBaseDescriptor& d);

// The next tag without consuming it; false when no byte remains.
bool PeekDescriptorTag(const CBitStreamReader& reader, uint32_t& tag);

// A field read straight into its member, with its log line ("%ld" of the value; null:
// not logged).
struct LoggedField {
    uint32_t& value;
    uint32_t bits;
    const char* log = nullptr;
};
// Reads the fields in order; -1 at the first that the bytes do not hold.
int ReadLoggedFields(CBitStreamReader& reader, std::initializer_list<LoggedField> fields);

// Reads `n` bits (up to 32) that no member keeps.
int ReadDropped(CBitStreamReader& reader, uint32_t n, uint32_t& out);
inline int ReadDropped(CBitStreamReader& reader, uint32_t n) {
    uint32_t unused = 0;
    return ReadDropped(reader, n, unused);
}
