#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// dfLa: the metadata blocks of a FLAC stream (STREAMINFO first), each after its header.
class CFlacConfigBox : public CFullBox {
public:
    struct Block {
        uint32_t last = 0;    // 1: the last metadata block
        uint32_t type = 0;    // 7
        uint32_t length = 0;  // 24, the bytes after the header
        uint32_t body = 0;    // where its bytes lie (a STREAMINFO's fields are kept below)
    };
    struct StreamInfo {
        uint32_t minBlockSize = 0;  // 16, in samples
        uint32_t maxBlockSize = 0;  // 16
        uint32_t minFrameSize = 0;  // 24, in bytes
        uint32_t maxFrameSize = 0;  // 24
        uint32_t sampleRate = 0;    // 20
        uint32_t channelsMinus1 = 0;       // 3
        uint32_t bitsPerSampleMinus1 = 0;  // 5
        uint64_t totalSamples = 0;         // 36
        std::vector<uint8_t> md5;          // 16 bytes
    };
    explicit CFlacConfigBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    std::vector<Block> m_blocks;
    bool m_hasStreamInfo = false;
    StreamInfo m_streamInfo;
};
