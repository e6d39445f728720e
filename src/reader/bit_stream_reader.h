#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Reads a byte buffer as a stream of bits, most significant bit first, so every
// byte-aligned read is big-endian. Bytes at or past `availableBytes` read as zero:
// a box that claims more bytes than the file holds is seen zero-padded without
// allocating the padding.
class CBitStreamReader {
public:
    CBitStreamReader() = default;
    CBitStreamReader(const uint8_t* buffer, uint64_t lengthBits);
    CBitStreamReader(const uint8_t* buffer, uint64_t lengthBits, uint64_t availableBytes);
    virtual ~CBitStreamReader() = default;
    CBitStreamReader(const CBitStreamReader&) = default;
    CBitStreamReader& operator=(const CBitStreamReader&) = default;

    int ReadBits(uint32_t n, uint32_t& out);
    int PeekBits(uint32_t n, uint32_t& out) const;
    int Peek64(uint64_t& out) const;
    int Peek16Bytes(uint8_t out[16]) const;
    void SkipBits(uint64_t n);

    // Conveniences over ReadBits for the box classes.
    int Read64(uint64_t& out);                                // two 32-bit halves, high first
    int ReadBytes(uint64_t n, std::vector<uint8_t>& out);     // appends n bytes; -1 (and nothing) if short
    uint64_t RemainingBytes() const { return RemainingBits / 8; }
    const uint8_t* Buffer() const { return m_buffer; }
    const uint8_t* CurrentByte() const { return m_buffer ? m_buffer + BitPosition / 8 : nullptr; }
    // Of the remaining whole bytes, how many the buffer really holds from CurrentByte()
    // on (the rest read as zero): those may be read in place.
    uint64_t PresentBytes() const {
        const uint64_t first = BitPosition / 8;
        if (!m_buffer || first >= m_available) return 0;
        return m_available - first < RemainingBytes() ? m_available - first : RemainingBytes();
    }
    // A reader over the next `bytes` bytes (cut to what remains), starting at the current byte.
    CBitStreamReader SubReader(uint64_t bytes) const;

    uint64_t RemainingBits = 0;
    uint64_t BitPosition = 0;

private:
    uint64_t Gather(uint64_t firstByte, uint32_t count) const;  // up to 8 bytes, big-endian
    uint64_t PeekUnchecked(uint32_t n) const;                  // n <= 32, caller checks bounds

    const uint8_t* m_buffer = nullptr;
    uint64_t m_available = 0;  // bytes from m_buffer that are really present
};
