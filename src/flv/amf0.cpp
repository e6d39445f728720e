#include "flv/amf0.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

namespace {
// ECMA arrays within ECMA arrays: deeper than any real metadata, shallow enough for the stack.
constexpr int kMaxDepth = 32;

int ReadEcmaArray(CBitStreamReader& reader, CAmf0Value& value, bool& ended, int depth) {
    if (reader.ReadBits(32, value.count) < 0) return -1;
    CORVEL_LOG("[CScriptDataTag::ParseTagBody] ecma_array_length: %u", value.count);
    // An entry takes at least a key length and a marker: a count beyond what the bytes
    // left can hold fails once they are used up.
    const uint64_t fit = RecordsThatFit(reader, value.count, 3);
    for (uint64_t i = 0; i < value.count && !ended; ++i) {
        if (i >= fit) return -1;
        CAmf0EcmaEntry& e = *value.entries.emplace_back(std::make_unique<CAmf0EcmaEntry>());
        if (reader.ReadBits(16, e.keyLength) < 0 || reader.ReadBytes(e.keyLength, e.key) < 0 ||
            ReadAmf0Value(reader, e.value, ended, depth + 1) < 0)
            return -1;
    }
    return ended ? 0 : reader.ReadBits(24, value.endMarker);
}
}  // namespace

CAmf0Value::CAmf0Value() = default;
CAmf0Value::~CAmf0Value() = default;

int ReadAmf0Value(CBitStreamReader& reader, CAmf0Value& value, bool& ended, int depth) {
    if (reader.RemainingBits == 0) return 0;
    if (depth > kMaxDepth || reader.ReadBits(8, value.type) < 0) return -1;
    switch (value.type) {
        case kAmf0Number:
            if (reader.ReadBits(64, value.bits) < 0) return -1;
            CORVEL_LOG("[CScriptDataTag::ParseTagBody] data(NUMBER): %f", value.Number());
            return 0;
        case kAmf0Boolean:
            if (reader.ReadBits(8, value.boolean) < 0) return -1;
            CORVEL_LOG("[CScriptDataTag::ParseTagBody] data(BOOLEAN): 0x%x", value.boolean);
            return 0;
        case kAmf0String:
        case kAmf0LongString:
            if (reader.ReadBits(value.type == kAmf0String ? 16 : 32, value.length) < 0) return -1;
            return reader.ReadBytes(value.length, value.text);
        case kAmf0Date:
            if (reader.ReadBits(64, value.bits) < 0 || reader.ReadBits(16, value.timeZone) < 0) return -1;
            CORVEL_LOG("[CScriptDataTag::ParseTagBody] date_time: %f, local_date_time_offset: %d", value.Number(),
                       value.TimeZone());
            return 0;
        case kAmf0EcmaArray: return ReadEcmaArray(reader, value, ended, depth);
        case kAmf0ObjectEnd:
            if (reader.ReadBits(24, value.endMarker) < 0) return -1;
            CORVEL_LOG("[CScriptDataTag::ParseTagBody] object_end_maker: 0x%x 0x%x 0x%x", value.endMarker >> 16,
                       (value.endMarker >> 8) & 0xFF, value.endMarker & 0xFF);
            return 0;
        case 3:
        case 4:
        case 5:
        case 6:
        case 7:
        case 10:  // object, movie clip, null, undefined, reference, strict array
            CORVEL_LOG("[CScriptDataTag::ParseTagBody] type %d is not implmented..", static_cast<int>(value.type));
            reader.SkipBits(reader.RemainingBits);
            ended = true;
            return 0;
        default:  // 13 and above: nothing more is read
            return 0;
    }
}
