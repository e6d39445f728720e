// read_floor FILE: reads FILE as the tree walk does (each top-level box header, then the
// bytes of every box but media data and free space) and parses nothing. The least a box
// tree of the file can cost on this machine: process start and the reads alone.
#include <cstdio>
#include <memory>

#include "base/fourcc.h"
#include "reader/read_bit_stream_file.h"

int main(int argc, char** argv) {
    CReadBitStreamFile file;
    if (argc != 2 || file.Open(argv[1]) < 0) return 2;
    uint64_t boxes = 0;
    while (file.Position() < file.FileSize()) {
        uint8_t head[CReadBitStreamFile::kHeaderBytes];
        if (file.PeekHeader(head) < 8) break;
        const uint32_t code = (uint32_t(head[4]) << 24) | (uint32_t(head[5]) << 16) | (uint32_t(head[6]) << 8) | head[7];
        const bool payload = code != FourCC("mdat") && code != FourCC("free") && code != FourCC("skip");
        std::unique_ptr<CBinaryData> bytes;
        if (file.ExtractBox(bytes, payload ? CReadBitStreamFile::kMaxBoxBytes : 16) == 0) break;
        ++boxes;
    }
    std::printf("%llu\n", static_cast<unsigned long long>(boxes));
    return 0;
}
