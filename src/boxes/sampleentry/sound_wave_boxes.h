#pragma once
#include <cstdint>

#include "boxes/box.h"

// wave: a QuickTime sound description's decompression parameters: frma, the codec's
// own atom, its configuration (an esds for mp4a), enda, a terminator.
class CSoundWaveBox : public CBox {
public:
    explicit CSoundWaveBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

// The codec's atom inside a wave, coded as the entry (mp4a): a reserved word.
class CWaveFormatBox : public CBox {
public:
    explicit CWaveFormatBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override { return reader.ReadBits(32, m_reserved); }

    uint32_t m_reserved = 0;
};

// enda: the byte order of the samples (PCM inside a wave).
class CEndianBox : public CBox {
public:
    explicit CEndianBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override { return reader.ReadBits(16, m_littleEndian); }

    uint32_t m_littleEndian = 0;  // 16
};
