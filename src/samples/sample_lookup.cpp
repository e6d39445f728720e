#include "samples/sample_lookup.h"

#include <algorithm>

#include "boxes/containers/corvel.h"
#include "boxes/sampleentry/timecode_sample_entry.h"
#include "samples/sample_context.h"
#include "samples/sample_decryption.h"

namespace {
std::optional<FoundSample> FindFirst(const SampleContext& context,
                                     const std::function<bool(const SampleOrigin&, const SampleRecord&)>& match) {
    std::optional<FoundSample> found;
    VisitSamples(context, nullptr, [&](const SampleOrigin& o, const SampleRecord& r) {
        if (!match(o, r)) return true;
        found = FoundSample{o.trackId, r, std::nullopt};
        if (o.encryption) found->encryption = o.encryption->Of(r.index);
        return false;
    });
    return found;
}
}  // namespace

std::optional<FoundSample> FindSample(const SampleContext& context, uint32_t trackId, uint64_t number) {
    return FindFirst(context, [&](const SampleOrigin& o, const SampleRecord&) {
        return o.trackId == trackId && o.number == number;
    });
}

std::optional<FoundSample> FindSampleAt(const SampleContext& context, uint64_t offset, uint64_t size) {
    return FindFirst(context, [&](const SampleOrigin&, const SampleRecord& r) {
        return r.offset == offset && r.size == size;
    });
}

std::vector<uint8_t> ReadSampleBytes(const CCorvel& parser, const SampleRecord& record) {
    const uint64_t fileSize = uint64_t(std::max<int64_t>(parser.FileSize(), 0));
    const uint64_t present = record.offset >= fileSize ? 0 : std::min(record.size, fileSize - record.offset);
    std::vector<uint8_t> bytes(present);
    bytes.resize(parser.ReadBytes(record.offset, bytes.data(), present));
    return bytes;
}

std::string ReadDecrypted(const CCorvel& parser, const SampleRecord& record, const SampleEncryption& encryption,
                          const KeyRing& keys, std::vector<uint8_t>& bytes) {
    bytes = ReadSampleBytes(parser, record);
    if (bytes.size() < record.size) return "the file ends inside it";
    return DecryptSample(encryption, keys, bytes);
}

const CTimecodeSampleEntry* TimecodeEntryOf(const CBox& box) {
    std::vector<const CBox*> entries;
    FindBoxes(box, FourCC("tmcd"), entries);
    for (const CBox* e : entries)
        if (const auto* timecode = dynamic_cast<const CTimecodeSampleEntry*>(e)) return timecode;
    return nullptr;
}

std::string SampleTimecode(const CCorvel& parser, const CTimecodeSampleEntry& entry, const SampleRecord& record) {
    // The sample holds the frame number (32 bits) the timecode counts from.
    uint8_t b[4];
    if (record.size < 4 || parser.ReadBytes(record.offset, b, 4) != 4) return "";
    return entry.Timecode(uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3]);
}
