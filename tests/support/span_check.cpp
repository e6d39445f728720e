#include "support/span_check.h"

#include <algorithm>
#include <regex>

#include "base/span_map.h"
#include "report/box_page.h"
#include "report/format.h"
#include "samples/sample_context.h"
#include "support/box_builder.h"

namespace {
// The bits of a span as a number (spans of up to 64 bits).
uint64_t BitsAt(const std::string& file, const Span& span) {
    uint64_t v = 0;
    for (uint64_t b = span.bit; b < span.bit + span.bits; ++b)
        v = (v << 1) | ((static_cast<uint8_t>(file[b / 8]) >> (7 - b % 8)) & 1);
    return v;
}

// The bytes of a byte-aligned span read least significant first.
uint64_t LittleEndianAt(const std::string& file, const Span& span) {
    if (span.bit % 8 || span.bits % 8 || span.bits > 64) return ~uint64_t{0};
    uint64_t v = 0;
    for (uint64_t i = span.bits / 8; i-- > 0;) v = (v << 8) | static_cast<uint8_t>(file[span.bit / 8 + i]);
    return v;
}

// Checks one key/value row; an empty string when it holds, else what is wrong.
std::string CheckRow(const std::string& file, const Row& row, SpanTally& tally) {
    static const std::regex number(R"(^(-?\d+) \(0X([0-9A-F]+)\)$)");
    static const std::regex hexOnly(R"(^([\s\S]*)\(0X([0-9A-F]+)\)$)");
    static const std::regex plain(R"(^(\d+)$)");
    static const std::regex bareHex(R"(^0X([0-9A-F]+)$)");
    // A text entry's record values end with a line feed.
    std::string value = row.value.Plain();
    if (!value.empty() && value.back() == '\n') value.pop_back();
    std::smatch m;
    // A coded number's meaning after it ("0 (0X0000) copy", "18 (0X12) ARIB STD-B67 (HLG)")
    // is not in the bytes.
    static const std::regex meaning(R"(^(.*\(0X[0-9A-F]+\)) (?:[^()]|\((?!0X)[^()]*\))+$)");
    if (std::regex_match(value, m, meaning)) value = m[1];
    // A value computed from the fields has no span of its own.
    if (row.derived) return "";
    if (row.span.Empty()) {
        // A field the flags or the version leave out (or an empty string): nothing in the
        // file, value 0 or no text.
        if (value.empty() || (std::regex_match(value, m, number) && m[1] == "0")) return "";
        return "no span";
    }
    if (row.span.bit + row.span.bits > file.size() * 8) return "span past the end of the file";
    // A number alone ("%u"), or in hexadecimal alone: all of its bits.
    if (row.span.bits <= 64 && (std::regex_match(value, m, plain) || std::regex_match(value, m, bareHex))) {
        if (std::stoull(m[1], nullptr, value.rfind("0X", 0) == 0 ? 16 : 10) != BitsAt(file, row.span))
            return "number differs from the bytes";
        ++tally.numbers;
        return "";
    }
    if (row.span.bits <= 64 && std::regex_match(value, m, hexOnly)) {
        const uint64_t v = BitsAt(file, row.span);
        const std::string hexDigits = m[2];
        uint64_t hex = std::stoull(hexDigits, nullptr, 16);
        if (std::regex_match(value, m, number)) {
            const bool negative = m[1].str()[0] == '-';
            const uint64_t shown = negative ? uint64_t(std::stoll(m[1])) : std::stoull(m[1]);
            const int shift = 64 - int(row.span.bits);
            const uint64_t read = negative && shift > 0 ? uint64_t(int64_t(v << shift) >> shift) : v;
            // A little-endian field (a PlayReady object's) shows its value and hex that way.
            if (shown != read && !negative && shown == LittleEndianAt(file, row.span)) {
                if (hex != shown) return "hex part differs from the bytes";
                ++tally.numbers;
                return "";
            }
            if (shown != read) return "number differs from the bytes";
            // A negative number's hex is its two's complement in 32 bits (an int32_t) or in 64.
            if (negative && hexDigits.size() <= 8) hex = uint64_t(int64_t(int32_t(uint32_t(hex))));
            if (negative) hex &= ~uint64_t{0} >> shift;
        }
        // All the bits of the field, not the low 32 of a 64-bit one.
        if (hex != v) return "hex part differs from the bytes";
        ++tally.numbers;
        return "";
    }
    // Text: the bytes as they stand (up to the first zero byte), as byte text, or the text
    // of a Pascal string (a length byte, then as many bytes).
    const std::string bytes = file.substr(row.span.Offset(), row.span.Length());
    const std::string text = bytes.substr(0, bytes.find('\0'));
    const bool byteText = value.rfind("0x", 0) == 0 &&
                          value == FormatBytesText(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    const bool pascal = !bytes.empty() && static_cast<uint8_t>(bytes[0]) == bytes.size() - 1 &&
                        row.value.Plain() == std::string(bytes.c_str() + 1);
    // A UUID ("edef8ba9-79d6-..."), a name after it.
    static const std::regex uuid(R"(^([0-9a-f]{8})-([0-9a-f]{4})-([0-9a-f]{4})-([0-9a-f]{4})-([0-9a-f]{12})(?: .*)?$)");
    if (std::regex_match(value, m, uuid) && bytes.size() == 16) {
        std::string hex;
        for (char c : bytes) hex += Format("%02x", uint8_t(c));
        if (hex != m[1].str() + m[2].str() + m[3].str() + m[4].str() + m[5].str()) return "UUID differs from the bytes";
        ++tally.texts;
        return "";
    }
    if (!byteText && !pascal && value != text && row.value.Plain() != text) return "text differs from the bytes";
    ++tally.texts;
    return "";
}

void CheckBox(const std::string& file, const CBox* parent, const CBox& box, const PageContext& context,
              SpanTally& tally, std::vector<std::string>& errors) {
    PageContext here = context;
    here.parent = parent;
    here.window = {RowWindow::AllRows};  // the rows of paged tables too
    const PageModel page = BuildBoxPage(box, here);
    for (const ReportTable& table : page.tables) {
        for (const Row& row : table.rows) {
            const std::string error = CheckRow(file, row, tally);
            if (!error.empty() && errors.size() < 20)
                errors.push_back(box.TypeText() + ": " + row.label + " = " + row.value.Plain() + " @" +
                                 std::to_string(box.m_startOffset) + ": " + error);
        }
        // A list row without a span stands for a record the file does not hold (all 0).
        for (const ListRow& row : table.listRows) {
            const bool zeros = std::all_of(row.cells.begin(), row.cells.end(),
                                           [](const Text& c) { return c.Plain().rfind("0", 0) == 0; });
            if (row.span.Empty() && !zeros && errors.size() < 20)
                errors.push_back(box.TypeText() + ": a row of list " + table.title + " has no span");
        }
    }
    for (const auto& child : box.m_children)
        if (child) CheckBox(file, &box, *child, context, tally, errors);
}

// The first box from `box` down that leaves payload bytes unread, or null.
const CBox* Unread(const CBox& box) {
    if (box.UnreadBytes()) return &box;
    for (const auto& child : box.m_children)
        if (const CBox* u = child ? Unread(*child) : nullptr) return u;
    return nullptr;
}

}  // namespace

std::vector<std::string> SpanFaults(const CCorvel& parser, const std::string& file, SpanTally& tally) {
    const SampleContext samples(parser);
    std::vector<std::string> errors;
    for (size_t i = 0; i < parser.GetBoxCount(); ++i) {
        SpanMap spans;
        if (const std::unique_ptr<CBox> copy = parser.Reparse(*parser.GetBox(i), spans))
            CheckBox(file, nullptr, *copy, {nullptr, &parser, &samples, &spans}, tally, errors);
        else
            errors.push_back("top-level box " + std::to_string(i) + " cannot be parsed again");
    }
    return errors;
}

testing::AssertionResult ReadsInFull(const std::string& bytes) {
    CCorvelLib lib;
    if (lib.Init(WriteTempFile("reads_in_full.mp4", bytes)) != 0) return testing::AssertionFailure() << "not opened";
    if (lib.Go() != 0) return testing::AssertionFailure() << "the walk fails";
    const CCorvel& parser = *lib.Parser();
    for (size_t i = 0; i < parser.GetBoxCount(); ++i)
        if (const CBox* u = Unread(*parser.GetBox(i)))
            return testing::AssertionFailure() << u->TypeText() << " leaves " << u->UnreadBytes() << " bytes unread";
    SpanTally tally;
    const std::vector<std::string> faults = SpanFaults(parser, bytes, tally);
    if (!faults.empty()) return testing::AssertionFailure() << faults.front();
    return testing::AssertionSuccess();
}

void ExpectReadInFull(std::initializer_list<HandBuilt> files) {
    for (const HandBuilt& f : files) EXPECT_TRUE(ReadsInFull(f.bytes)) << f.what;
}
