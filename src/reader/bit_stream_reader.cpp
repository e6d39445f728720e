#include "reader/bit_stream_reader.h"

#include <cstring>

CBitStreamReader::CBitStreamReader(const uint8_t* buffer, uint64_t lengthBits)
    : CBitStreamReader(buffer, lengthBits, (lengthBits + 7) / 8) {}

CBitStreamReader::CBitStreamReader(const uint8_t* buffer, uint64_t lengthBits, uint64_t availableBytes)
    : RemainingBits(lengthBits), m_buffer(buffer), m_available(availableBytes) {}

uint64_t CBitStreamReader::Gather(uint64_t firstByte, uint32_t count) const {
    uint64_t v = 0;
    if (firstByte + count <= m_available) {
        const uint8_t* p = m_buffer + firstByte;
        for (uint32_t i = 0; i < count; ++i) v = (v << 8) | p[i];
        return v;
    }
    for (uint32_t i = 0; i < count; ++i) {
        uint64_t idx = firstByte + i;
        v = (v << 8) | (idx < m_available ? m_buffer[idx] : 0u);
    }
    return v;
}

uint64_t CBitStreamReader::PeekUnchecked(uint32_t n) const {
    if (n == 0) return 0;
    uint64_t first = BitPosition / 8;
    uint32_t skip = static_cast<uint32_t>(BitPosition % 8);
    uint32_t count = (skip + n + 7) / 8;  // at most 5 bytes for n <= 32
    uint64_t v = Gather(first, count);
    uint32_t tail = count * 8 - skip - n;
    return (v >> tail) & ((uint64_t{1} << n) - 1);
}

int CBitStreamReader::ReadBits(uint32_t n, uint32_t& out) {
    if (n > RemainingBits || !m_buffer || n > 32) return -1;
    out = static_cast<uint32_t>(PeekUnchecked(n));
    BitPosition += n;
    RemainingBits -= n;
    Note(&out, n);
    return 0;
}

int CBitStreamReader::ReadBits(uint32_t n, uint64_t& out) {
    if (n > RemainingBits || !m_buffer || n > 64) return -1;
    const uint32_t high = n > 32 ? n - 32 : 0;
    uint64_t v = PeekUnchecked(high);
    BitPosition += high;
    v = (v << (n - high)) | PeekUnchecked(n - high);
    BitPosition += n - high;
    RemainingBits -= n;
    out = v;
    Note(&out, n);
    return 0;
}

int CBitStreamReader::PeekBits(uint32_t n, uint32_t& out) const {
    if (n > RemainingBits || !m_buffer || n > 32) return -1;
    out = static_cast<uint32_t>(PeekUnchecked(n));
    return 0;
}

int CBitStreamReader::Peek64(uint64_t& out) const {
    if (RemainingBits < 64 || !m_buffer) return -1;
    uint64_t hi = PeekUnchecked(32);
    CBitStreamReader tmp(*this);
    tmp.BitPosition += 32;
    out = (hi << 32) | tmp.PeekUnchecked(32);
    return 0;
}

int CBitStreamReader::Peek16Bytes(uint8_t out[16]) const {
    if (RemainingBits < 128 || !m_buffer) return -1;
    CBitStreamReader tmp(*this);
    for (int i = 0; i < 16; ++i) {
        out[i] = static_cast<uint8_t>(tmp.PeekUnchecked(8));
        tmp.BitPosition += 8;
    }
    return 0;
}

void CBitStreamReader::SkipBits(uint64_t n) {
    if (n > RemainingBits) n = RemainingBits;
    BitPosition += n;
    RemainingBits -= n;
}

void CBitStreamReader::TakeBytes(uint64_t n, uint8_t* out) {
    if (BitPosition % 8 == 0) {
        uint64_t first = BitPosition / 8;
        uint64_t present = first < m_available ? std::min<uint64_t>(n, m_available - first) : 0;
        if (present) std::memcpy(out, m_buffer + first, present);
        std::memset(out + present, 0, n - present);
        BitPosition += n * 8;
        RemainingBits -= n * 8;
        return;
    }
    for (uint64_t i = 0; i < n; ++i) {
        out[i] = static_cast<uint8_t>(PeekUnchecked(8));
        BitPosition += 8;
        RemainingBits -= 8;
    }
}

int CBitStreamReader::ReadBytes(uint64_t n, std::vector<uint8_t>& out) {
    if (!m_buffer || n > RemainingBits / 8) return -1;
    if (n == 0) return 0;  // out may be empty: no memset on its null data()
    const size_t old = out.size();
    out.resize(old + n);
    TakeBytes(n, out.data() + old);
    Note(&out, n * 8);
    return 0;
}

int CBitStreamReader::ReadBytes(uint64_t n, std::string& out) {
    if (!m_buffer || n > RemainingBits / 8) return -1;
    if (n == 0) return 0;
    const size_t old = out.size();
    out.resize(old + n);
    TakeBytes(n, reinterpret_cast<uint8_t*>(out.data() + old));
    Note(&out, n * 8);
    return 0;
}

CBitStreamReader CBitStreamReader::SubReader(uint64_t bytes) const {
    uint64_t first = BitPosition / 8;
    uint64_t left = RemainingBits / 8;
    if (bytes > left) bytes = left;
    if (!m_buffer) return CBitStreamReader(nullptr, bytes * 8, 0);  // reads nothing: no spans
    // Past the bytes present the child reads zeros; point it at a dummy byte
    // rather than past the end of the buffer.
    static const uint8_t kNoBytes = 0;
    CBitStreamReader sub = first >= m_available ? CBitStreamReader(&kNoBytes, bytes * 8, 0)
                                                : CBitStreamReader(m_buffer + first, bytes * 8, m_available - first);
    sub.SetOrigin(m_origin + first, m_spans);
    return sub;
}
