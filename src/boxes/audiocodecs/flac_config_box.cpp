#include "boxes/audiocodecs/flac_config_box.h"

#include <utility>

#include "base/log.h"

namespace {
constexpr uint32_t kStreamInfo = 0;
constexpr uint32_t kStreamInfoBytes = 34;

int ReadStreamInfo(CBitStreamReader& reader, CFlacConfigBox::StreamInfo& s) {
    const std::pair<uint32_t*, uint32_t> fields[] = {{&s.minBlockSize, 16}, {&s.maxBlockSize, 16},
                                                     {&s.minFrameSize, 24}, {&s.maxFrameSize, 24},
                                                     {&s.sampleRate, 20},   {&s.channelsMinus1, 3},
                                                     {&s.bitsPerSampleMinus1, 5}};
    for (const auto& [field, bits] : fields)
        if (reader.ReadBits(bits, *field) < 0) return -1;
    if (reader.ReadBits(36, s.totalSamples) < 0) return -1;
    return reader.ReadBytes(16, s.md5);
}
// How many whole blocks the bytes of `reader` hold, up to the last one.
size_t CountBlocks(CBitStreamReader reader) {
    reader.SetOrigin(0, nullptr);  // a look ahead: no spans
    size_t n = 0;
    uint32_t last = 0, type = 0, length = 0;
    while (!last && reader.ReadBits(1, last) == 0 && reader.ReadBits(7, type) == 0 && reader.ReadBits(24, length) == 0 &&
           length <= reader.PresentBytes()) {
        reader.SkipBits(uint64_t{length} * 8);
        ++n;
    }
    return n;
}
}  // namespace

int CFlacConfigBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    // The rows find the blocks' spans by their addresses: the room is made once, for the
    // blocks the bytes hold.
    m_blocks.reserve(CountBlocks(reader));
    while (reader.RemainingBits > 0 && (m_blocks.empty() || !m_blocks.back().last)) {
        if (m_blocks.size() == m_blocks.capacity()) return -1;  // a header or a body cut short
        Block& b = m_blocks.emplace_back();
        if (reader.ReadBits(1, b.last) < 0 || reader.ReadBits(7, b.type) < 0 || reader.ReadBits(24, b.length) < 0)
            return -1;
        if (b.length > reader.RemainingBytes()) {
            CORVEL_LOG("[CFlacConfigBox::ParseBox] block %zu: %u bytes past the box", m_blocks.size() - 1, b.length);
            return -1;
        }
        CBitStreamReader body = reader.SubReader(b.length);
        reader.SkipBits(uint64_t{b.length} * 8);
        if (b.type == kStreamInfo && !m_hasStreamInfo && b.length == kStreamInfoBytes) {
            if (ReadStreamInfo(body, m_streamInfo) < 0) return -1;
            m_hasStreamInfo = true;
        } else {
            body.SkipRest(&b.body);
        }
    }
    return 0;
}
