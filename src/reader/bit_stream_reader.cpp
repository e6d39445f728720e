#include "reader/bit_stream_reader.h"

#include <algorithm>
#include <cstring>

CBitStreamReader::CBitStreamReader(const uint8_t* buffer, uint64_t lengthBits)
    : CBitStreamReader(buffer, lengthBits, (lengthBits + 7) / 8) {}

CBitStreamReader::CBitStreamReader(const uint8_t* buffer, uint64_t lengthBits, uint64_t availableBytes)
    : RemainingBits(lengthBits), m_buffer(buffer), m_available(std::min(availableBytes, (lengthBits + 7) / 8)) {}

uint64_t CBitStreamReader::PeekNear(uint32_t n) const {
    if (n == 0) return 0;
    const uint8_t* p = m_buffer + BitPosition / 8;
    const uint32_t skip = static_cast<uint32_t>(BitPosition % 8);
    const uint32_t count = (skip + n + 7) / 8;  // at most 5 bytes for n <= 32
    uint64_t v = 0;
    for (uint32_t i = 0; i < count; ++i) v = (v << 8) | p[i];
    const uint32_t tail = count * 8 - skip - n;
    return (v >> tail) & ((uint64_t{1} << n) - 1);
}

int CBitStreamReader::ReadBits(uint32_t n, uint64_t& out) {
    if (n > 64 || !Holds(n)) return -1;
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
    if (n > 32 || !Holds(n)) return -1;
    out = static_cast<uint32_t>(PeekUnchecked(n));
    return 0;
}

int CBitStreamReader::Peek64(uint64_t& out) const {
    if (!Holds(64)) return -1;
    CBitStreamReader tmp(*this);
    tmp.m_spans = nullptr;
    return tmp.ReadBits(64, out);
}

int CBitStreamReader::Peek16Bytes(uint8_t out[16]) const {
    if (!Holds(128)) return -1;
    CBitStreamReader tmp(*this);
    tmp.TakeBytes(16, out);
    return 0;
}

void CBitStreamReader::SkipBits(uint64_t n) {
    if (n > RemainingBits) n = RemainingBits;
    BitPosition += n;
    RemainingBits -= n;
}

void CBitStreamReader::TakeBytes(uint64_t n, uint8_t* out) {
    if (BitPosition % 8 == 0) {
        if (n) std::memcpy(out, m_buffer + BitPosition / 8, n);
    } else {
        CBitStreamReader tmp(*this);
        for (uint64_t i = 0; i < n; ++i, tmp.BitPosition += 8) out[i] = static_cast<uint8_t>(tmp.PeekUnchecked(8));
    }
    BitPosition += n * 8;
    RemainingBits -= n * 8;
}

int CBitStreamReader::ReadBytes(uint64_t n, std::vector<uint8_t>& out) {
    if (n > RemainingBits / 8 || !Holds(n * 8)) return -1;
    if (n == 0) return 0;  // out may be empty: no copy to its null data()
    const size_t old = out.size();
    out.resize(old + n);
    TakeBytes(n, out.data() + old);
    Note(&out, n * 8);
    return 0;
}

int CBitStreamReader::ReadBytes(uint64_t n, std::string& out) {
    if (n > RemainingBits / 8 || !Holds(n * 8)) return -1;
    if (n == 0) return 0;
    const size_t old = out.size();
    out.resize(old + n);
    TakeBytes(n, reinterpret_cast<uint8_t*>(out.data() + old));
    Note(&out, n * 8);
    return 0;
}

int CBitStreamReader::ReadString(std::string& out) {
    uint64_t n = 0;
    bool ended = false;
    if (BitPosition % 8 == 0) {
        const uint8_t* p = CurrentByte();
        const uint64_t present = PresentBytes();
        const void* zero = present ? std::memchr(p, 0, present) : nullptr;
        ended = zero != nullptr;
        n = ended ? uint64_t(static_cast<const uint8_t*>(zero) - p) + 1 : present;
    } else {
        // Off a byte boundary (never in practice): find the zero a byte at a time.
        CBitStreamReader scan(*this);
        scan.m_spans = nullptr;
        for (uint32_t b = 1; !ended && scan.ReadBits(8, b) == 0; ++n) ended = b == 0;
    }
    if (ReadBytes(n, out) < 0) return -1;
    return ended ? 0 : -1;
}

CBitStreamReader CBitStreamReader::SubReader(uint64_t bytes) const {
    const uint64_t first = BitPosition / 8;
    bytes = std::min(bytes, RemainingBits / 8);
    if (!m_buffer) return CBitStreamReader(nullptr, bytes * 8, 0);  // reads nothing: no spans
    // Past the bytes held the child holds none; point it at a dummy byte rather than
    // past the end of the buffer.
    static const uint8_t kNoBytes = 0;
    CBitStreamReader sub = first >= m_available ? CBitStreamReader(&kNoBytes, bytes * 8, 0)
                                                : CBitStreamReader(m_buffer + first, bytes * 8, m_available - first);
    sub.SetOrigin(m_origin + first, m_spans);
    return sub;
}
