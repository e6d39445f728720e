#include "boxes/descriptors/base_descriptor.h"

#include "base/log.h"
#include "base/span_map.h"

int CBaseDescriptor::Parse(CBitStreamReader& reader) {
    if (reader.ReadBits(8, m_tag) < 0) return -1;
    CORVEL_LOG("[CBaseDescriptor::Parse] Tag(8) - 0x%x", m_tag);
    // Each size byte holds a flag (another byte follows) and 7 bits of the size; a
    // descriptor's size takes at most 4 of them.
    const uint64_t firstBit = reader.FileBit();
    uint32_t size = 0, bytes = 0, next = 1;
    while (next) {
        if (bytes == 4) {
            CORVEL_LOG("[CBaseDescriptor::Parse] more than 4 size bytes");
            return -1;
        }
        uint32_t byte = 0;
        if (ReadDropped(reader, 8, byte) < 0) return -1;
        next = byte >> 7;
        size = (size << 7) | (byte & 0x7F);
        ++bytes;
    }
    m_size = size;
    m_sizeBytes = bytes;
    if (SpanMap* spans = reader.Spans()) spans->Record(&m_size, {firstBit, reader.FileBit() - firstBit});
    CORVEL_LOG("[CBaseDescriptor::Parse] Tag Size(8) - %ld", static_cast<long>(m_size));
    return 0;
}

int ParseDescriptorBody(CBitStreamReader& reader, CBaseDescriptor& d) {
    if (d.m_size > reader.RemainingBytes()) {
        CORVEL_LOG("[CBaseDescriptor::Parse] tag 0x%x: size %u is past the %llu bytes that remain", d.m_tag, d.m_size,
                   static_cast<unsigned long long>(reader.RemainingBytes()));
        return -1;
    }
    CBitStreamReader body = reader.SubReader(d.m_size);
    const int status = d.Parse(body);
    reader.SkipBits(uint64_t{d.m_size} * 8);
    return status;
}

bool PeekDescriptorTag(const CBitStreamReader& reader, uint32_t& tag) { return reader.PeekBits(8, tag) == 0; }

int ReadDropped(CBitStreamReader& reader, uint32_t n, uint32_t& out) {
    if (reader.PeekBits(n, out) < 0) return -1;
    reader.SkipBits(n);
    return 0;
}

int ReadLoggedFields(CBitStreamReader& reader, std::initializer_list<LoggedField> fields) {
    for (const LoggedField& f : fields) {
        if (reader.ReadBits(f.bits, f.value) < 0) return -1;
        if (f.log) CORVEL_LOG(f.log, static_cast<long>(f.value));
    }
    return 0;
}
