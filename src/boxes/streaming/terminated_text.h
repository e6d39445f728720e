#pragma once
#include <cstdint>
#include <cstring>
#include <string>

#include "reader/bit_stream_reader.h"

// Reads a zero-terminated byte string into `out`: the bytes up to a zero byte (read,
// not kept), or up to the end of the bytes held when no zero comes. The text and its
// zero are one read, so the text's span covers its terminator (an empty text has one).
inline int ReadZeroTerminated(CBitStreamReader& reader, std::string& out) {
    uint64_t length = 0;
    bool terminated = false;
    if (reader.BitPosition % 8 == 0) {
        const uint8_t* first = reader.CurrentByte();
        const uint64_t held = reader.PresentBytes();
        const void* zero = held ? std::memchr(first, 0, held) : nullptr;
        terminated = zero != nullptr;
        length = zero ? uint64_t(static_cast<const uint8_t*>(zero) - first) + 1 : held;
    } else {
        CBitStreamReader probe(reader);  // peeks note no spans
        for (uint32_t byte = 1; !terminated && probe.PeekBits(8, byte) == 0; ++length) {
            probe.SkipBits(8);
            terminated = byte == 0;
        }
    }
    if (reader.ReadBytes(length, out) < 0) return -1;
    if (terminated) out.pop_back();
    return 0;
}
