#pragma once
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/span_map.h"

// Reads a byte buffer as a stream of bits, most significant bit first, so every
// byte-aligned read is big-endian. A reader covers a length that may exceed the
// bytes it holds (a box that claims more bytes than the file has, or a payload that
// is only skipped): reads stop at the bytes held, nothing is read from the rest, and
// skips may pass over it.
//
// A reader given a SpanMap notes where each read lies in the file, keyed by the
// address of what it filled (the reads into a box's members while its page is made).
class CBitStreamReader {
public:
    CBitStreamReader() = default;
    CBitStreamReader(const uint8_t* buffer, uint64_t lengthBits);
    // `availableBytes` of the buffer are held (at most the length).
    CBitStreamReader(const uint8_t* buffer, uint64_t lengthBits, uint64_t availableBytes);
    virtual ~CBitStreamReader() = default;
    CBitStreamReader(const CBitStreamReader&) = default;
    CBitStreamReader& operator=(const CBitStreamReader&) = default;

    // Each read fails (-1, nothing consumed) when the bits it asks for are not held.
    int ReadBits(uint32_t n, uint32_t& out) {
        if (n > 32 || !Holds(n)) return -1;
        out = static_cast<uint32_t>(PeekUnchecked(n));
        BitPosition += n;
        RemainingBits -= n;
        Note(&out, n);
        return 0;
    }
    int ReadBits(uint32_t n, uint64_t& out);  // n up to 64
    int PeekBits(uint32_t n, uint32_t& out) const;
    int Peek64(uint64_t& out) const;
    int Peek16Bytes(uint8_t out[16]) const;
    void SkipBits(uint64_t n);
    // Skips the rest, noting its span as `field`'s (a payload that is only counted).
    void SkipRest(const void* field) {
        const uint64_t bits = RemainingBits - RemainingBits % 8;
        SkipBits(RemainingBits);
        Note(field, bits);
    }

    // Conveniences over ReadBits for the box classes.
    int Read64(uint64_t& out) { return ReadBits(64, out); }   // two 32-bit halves, high first
    int ReadBytes(uint64_t n, std::vector<uint8_t>& out);     // appends n bytes; -1 (and nothing) if short
    int ReadBytes(uint64_t n, std::string& out);
    // Appends the bytes up to and including the first zero byte, or up to the end of the
    // bytes held when none comes: 0 when a zero byte ended the string, else -1 (what was
    // read stays).
    int ReadString(std::string& out);
    uint64_t RemainingBytes() const { return RemainingBits / 8; }
    const uint8_t* CurrentByte() const { return m_buffer ? m_buffer + BitPosition / 8 : nullptr; }
    // Of the remaining whole bytes, how many the reader holds from CurrentByte() on:
    // what a payload read "to its end" reads.
    uint64_t PresentBytes() const {
        const uint64_t first = BitPosition / 8;
        if (!m_buffer || first >= m_available) return 0;
        return m_available - first < RemainingBytes() ? m_available - first : RemainingBytes();
    }
    // A reader over the next `bytes` bytes (cut to what remains), starting at the current byte.
    CBitStreamReader SubReader(uint64_t bytes) const;

    // Where the buffer's first byte lies in the file, and where reads note their spans
    // (null: nowhere). Sub readers inherit both.
    void SetOrigin(uint64_t fileOffset, SpanMap* spans) {
        m_origin = fileOffset;
        m_spans = spans;
    }
    SpanMap* Spans() const { return m_spans; }
    // Notes the bits read since `fromBit` (a FileBit() taken before) as `field`'s span:
    // a record whose fields are kept elsewhere, or bytes passed over as one run.
    void NoteSince(const void* field, uint64_t fromBit) const {
        if (FileBit() > fromBit) Note(field, FileBit() - fromBit);
    }
    // The file position of the next bit to read, in bits.
    uint64_t FileBit() const { return m_origin * 8 + BitPosition; }

    uint64_t RemainingBits = 0;
    uint64_t BitPosition = 0;

private:
    bool Holds(uint64_t n) const { return m_buffer && n <= RemainingBits && BitPosition + n <= m_available * 8; }
    // n <= 32, the caller checks the bounds. Most reads (box fields, far from the end of
    // the bytes held) take one load of eight bytes.
    uint64_t PeekUnchecked(uint32_t n) const {
        const uint64_t first = BitPosition / 8;
        if (std::endian::native != std::endian::little || n == 0 || m_available - first < 8) return PeekNear(n);
        uint64_t v;
        std::memcpy(&v, m_buffer + first, 8);
        return (__builtin_bswap64(v) << (BitPosition % 8)) >> (64 - n);
    }
    uint64_t PeekNear(uint32_t n) const;  // a byte at a time
    void TakeBytes(uint64_t n, uint8_t* out);  // caller checks bounds
    void Note(const void* field, uint64_t bits) const {
        if (m_spans) m_spans->Record(field, {FileBit() - bits, bits});
    }

    const uint8_t* m_buffer = nullptr;
    uint64_t m_available = 0;  // bytes from m_buffer that are held
    uint64_t m_origin = 0;     // file offset of m_buffer[0]
    SpanMap* m_spans = nullptr;
};
