#include "report/page_json.h"

#include <cinttypes>
#include <memory>

#include "boxes/containers/corvel.h"
#include "report/format.h"
#include "report/box_page.h"
#include "samples/sample_context.h"

namespace {
// Length of the valid UTF-8 sequence at s[i], or 0 when it is not one
// (overlong forms, surrogates and values above U+10FFFF are not).
size_t Utf8Length(std::string_view s, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = byte(i);
    size_t n;
    uint32_t cp;
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) n = 2, cp = c & 0x1F;
    else if (c >= 0xE0 && c <= 0xEF) n = 3, cp = c & 0x0F;
    else if (c >= 0xF0 && c <= 0xF4) n = 4, cp = c & 0x07;
    else return 0;
    if (i + n > s.size()) return 0;
    for (size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000) || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

const char* KindName(TableKind kind) {
    switch (kind) {
        case TableKind::KeyValue: return "KeyValue";
        case TableKind::EntryPages: return "EntryPages";
        case TableKind::List: return "List";
        case TableKind::SampleLists: return "SampleLists";
    }
    return "KeyValue";
}

// ", "at": [offset, length]" (and the bits of a packed field); nothing for an empty span.
std::string SpanJson(const Span& span) {
    if (span.Empty()) return "";
    std::string out = Format(", \"at\": [%" PRIu64 ", %" PRIu64 "]", span.Offset(), span.Length());
    if (span.Packed()) out += Format(", \"bits\": [%" PRIu64 ", %" PRIu64 "]", span.bit, span.bits);
    return out;
}
}  // namespace

std::string JsonString(std::string_view raw) {
    std::string out = "\"";
    out.reserve(raw.size() + 2);
    for (size_t i = 0; i < raw.size();) {
        const unsigned char c = static_cast<unsigned char>(raw[i]);
        if (c >= 0x80) {
            if (size_t n = Utf8Length(raw, i)) {
                out.append(raw.substr(i, n));
                i += n;
            } else {
                out += "\xEF\xBF\xBD";  // U+FFFD for each byte that starts no valid sequence
                ++i;
            }
            continue;
        }
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20 || c == 0x7F) out += Format("\\u%04x", c);
                else out += static_cast<char>(c);
        }
        ++i;
    }
    return out + "\"";
}

std::string TableJson(const ReportTable& table) {
    std::string out = "{\"title\": " + JsonString(table.title) + ", \"kind\": \"" + KindName(table.kind) + "\"";
    switch (table.kind) {
        case TableKind::KeyValue:
            out += ", \"rows\": [";
            for (size_t i = 0; i < table.rows.size(); ++i) {
                const Row& row = table.rows[i];
                out += (i ? ", {\"label\": " : "{\"label\": ") + JsonString(row.label) +
                       ", \"value\": " + JsonString(row.value.Plain()) + SpanJson(row.span);
                out += row.derived ? ", \"derived\": true}" : "}";
            }
            out += "]";
            break;
        case TableKind::EntryPages: out += Format(", \"entries\": %u", table.entryCount) + SpanJson(table.entriesSpan); break;
        case TableKind::List:
            out += ", \"headers\": [";
            for (size_t i = 0; i < table.headers.size(); ++i) out += (i ? ", " : "") + JsonString(table.headers[i]);
            out += "], \"rows\": [";
            for (size_t r = 0; r < table.listRows.size(); ++r) {
                out += r ? ", {\"cells\": [" : "{\"cells\": [";
                const std::vector<Text>& cells = table.listRows[r].cells;
                for (size_t c = 0; c < cells.size(); ++c) out += (c ? ", " : "") + JsonString(cells[c].Plain());
                out += ']';
                out += SpanJson(table.listRows[r].span);
                out += '}';
            }
            out += "]";
            break;
        case TableKind::SampleLists:
            out += ", \"selects\": [";
            for (size_t i = 0; i < table.selects.size(); ++i) {
                const SampleSelect& s = table.selects[i];
                out += Format("%s{\"box\": %u", i ? ", " : "", s.box);
                if (s.moof) out += Format(", \"moof\": %u, \"mdat\": %u", s.moof, s.mdat);
                out += Format(", \"samples\": %" PRIu64 "}", s.samples);
            }
            out += "]";
            break;
    }
    return out + "}";
}

void WriteBoxJson(std::ostream& out, const CBox& box, const PageContext& context) {
    const PageModel page = BuildBoxPage(box, context);
    out << "{\"type\": " << JsonString(FourCCText(box.m_type)) << ", \"offset\": " << box.m_startOffset
        << ", \"size\": " << box.BoxSize();
    if (box.m_unreadBytes) out << ", \"unread\": " << box.m_unreadBytes;
    if (box.IsTruncated())
        out << ", \"truncated\": {\"present\": " << box.m_presentSize << ", \"declared\": " << box.m_declaredSize << "}";
    out << ", \"title\": " << JsonString(page.title) << ", \"tables\": [";
    for (size_t i = 0; i < page.tables.size(); ++i) out << (i ? ", " : "") << TableJson(page.tables[i]);
    out << "], \"children\": [";
    PageContext childContext = context;
    childContext.parent = &box;
    bool first = true;
    for (const auto& child : box.m_children) {
        if (!child) continue;
        if (!first) out << ", ";
        first = false;
        WriteBoxJson(out, *child, childContext);
    }
    out << "]}";
}

void WriteTreeJson(std::ostream& out, const std::string& fileName, int status, const CCorvel& parser) {
    const SampleContext samples(parser);
    out << "{\"file\": " << JsonString(fileName) << ", \"status\": " << (status < 0 ? -1 : 0) << ", \"boxes\": [";
    bool first = true;
    for (size_t i = 0; i < parser.GetBoxCount(); ++i) {
        const CBox* box = parser.GetBox(i);
        if (!box) continue;
        if (!first) out << ",\n";
        first = false;
        // The box read again, noting where its fields lie: one top-level box's spans at a time.
        SpanMap spans;
        const std::unique_ptr<CBox> copy = parser.Reparse(*box, spans);
        WriteBoxJson(out, copy ? *copy : *box, {nullptr, &parser, &samples, copy ? &spans : nullptr});
    }
    out << "]}\n";
}
