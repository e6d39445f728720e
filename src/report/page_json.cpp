#include "report/page_json.h"

#include <array>
#include <charconv>
#include <deque>
#include <memory>
#include <optional>

#include "boxes/containers/corvel.h"
#include "boxes/containers/media_data_box.h"
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
        case TableKind::FlvTags: return "FlvTags";
    }
    return "KeyValue";
}

void AppendNumber(std::string& out, uint64_t v) {
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, v).ptr);
}

// ", "at": [offset, length]" (and the bits of a packed field); nothing for an empty span.
void AppendSpan(std::string& out, const Span& span) {
    if (span.Empty()) return;
    out += ", \"at\": [";
    AppendNumber(out, span.Offset());
    out += ", ";
    AppendNumber(out, span.Length());
    out += ']';
    if (!span.Packed()) return;
    out += ", \"bits\": [";
    AppendNumber(out, span.bit);
    out += ", ";
    AppendNumber(out, span.bits);
    out += ']';
}

// Characters that go out as they are: printable ASCII but the quote and the backslash.
// A table: nearly every byte of the output passes this test.
constexpr auto kPlain = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x7F; ++c) plain[size_t(c)] = c != '"' && c != '\\';
    return plain;
}();
bool Plain(unsigned char c) { return kPlain[c]; }

void AppendString(std::string& out, std::string_view raw) {
    out += '"';
    for (size_t i = 0; i < raw.size();) {
        size_t run = i;
        while (run < raw.size() && Plain(static_cast<unsigned char>(raw[run]))) ++run;
        out.append(raw, i, run - i);
        if ((i = run) == raw.size()) break;
        const unsigned char c = static_cast<unsigned char>(raw[i]);
        if (c >= 0x80) {
            if (size_t n = Utf8Length(raw, i)) {
                out.append(raw, i, n);
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
            default: {
                static const char kHex[] = "0123456789abcdef";
                const char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
                out.append(escape, sizeof escape);
            }
        }
        ++i;
    }
    out += '"';
}

// `items` JSON values joined by ", ": each written by append(i).
template <class Append>
void AppendJoined(std::string& out, size_t items, Append append) {
    for (size_t i = 0; i < items; ++i) {
        if (i) out += ", ";
        append(i);
    }
}

void AppendTable(std::string& out, const ReportTable& table) {
    out += "{\"title\": ";
    AppendString(out, table.title);
    out += ", \"kind\": \"";
    out += KindName(table.kind);
    out += '"';
    switch (table.kind) {
        case TableKind::KeyValue:
            out += ", \"rows\": [";
            AppendJoined(out, table.rows.size(), [&](size_t i) {
                const Row& row = table.rows[i];
                out += "{\"label\": ";
                AppendString(out, row.label);
                out += ", \"value\": ";
                AppendString(out, row.value.Plain());
                AppendSpan(out, row.span);
                out += row.derived ? ", \"derived\": true}" : "}";
            });
            out += ']';
            break;
        case TableKind::EntryPages:
            out += ", \"entries\": ";
            AppendNumber(out, table.entryCount);
            AppendSpan(out, table.entriesSpan);
            break;
        case TableKind::FlvTags:
            out += ", \"tags\": ";
            AppendNumber(out, table.entryCount);
            break;
        case TableKind::List:
            out += ", \"headers\": [";
            AppendJoined(out, table.headers.size(), [&](size_t i) { AppendString(out, table.headers[i]); });
            out += "], \"rows\": [";
            AppendJoined(out, table.listRows.size(), [&](size_t r) {
                const std::vector<Text>& cells = table.listRows[r].cells;
                out += "{\"cells\": [";
                AppendJoined(out, cells.size(), [&](size_t c) { AppendString(out, cells[c].Plain()); });
                out += ']';
                AppendSpan(out, table.listRows[r].span);
                out += '}';
            });
            out += ']';
            break;
        case TableKind::SampleLists:
            out += ", \"selects\": [";
            AppendJoined(out, table.selects.size(), [&](size_t i) {
                const SampleSelect& s = table.selects[i];
                out += "{\"box\": ";
                AppendNumber(out, s.box);
                if (s.moof) {
                    out += ", \"moof\": ";
                    AppendNumber(out, s.moof);
                    out += ", \"mdat\": ";
                    AppendNumber(out, s.mdat);
                }
                out += ", \"samples\": ";
                AppendNumber(out, s.samples);
                out += '}';
            });
            out += ']';
            break;
    }
    out += '}';
}

// The text of a tree goes out through one buffer, handed on whenever it grows large.
class JsonWriter {
public:
    explicit JsonWriter(std::ostream& os) : m_os(os) { m_out.reserve(2 * kFlushBytes); }
    ~JsonWriter() { Flush(); }
    std::string& Text() { return m_out; }
    void Flush() {
        m_os.write(m_out.data(), static_cast<std::streamsize>(m_out.size()));
        m_out.clear();
    }
    void FlushIfLarge() {
        if (m_out.size() >= kFlushBytes) Flush();
    }

private:
    static constexpr size_t kFlushBytes = 64 << 10;
    std::ostream& m_os;
    std::string m_out;
};

void AppendBox(JsonWriter& writer, const CBox& box, const PageContext& context) {
    // The document has no sub pages: a table holds all its rows, paged on a page or not.
    PageContext allRows = context;
    allRows.window = {RowWindow::AllRows};
    const PageModel page = BuildBoxPage(box, allRows);
    std::string& out = writer.Text();
    out += "{\"type\": ";
    AppendString(out, FourCCUtf8(box.m_type));
    out += ", \"offset\": ";
    AppendNumber(out, box.m_startOffset);
    out += ", \"size\": ";
    AppendNumber(out, box.BoxSize());
    if (box.UnreadBytes()) {
        out += ", \"unread\": ";
        AppendNumber(out, box.UnreadBytes());
    }
    if (!page.undecoded.empty()) {
        out += ", \"undecoded\": [";
        AppendJoined(out, page.undecoded.size(), [&](size_t i) {
            out += '[';
            AppendNumber(out, page.undecoded[i].offset);
            out += ", ";
            AppendNumber(out, page.undecoded[i].length);
            out += ']';
        });
        out += ']';
    }
    if (box.IsTruncated()) {
        out += ", \"truncated\": {\"present\": ";
        AppendNumber(out, box.PresentSize());
        out += ", \"declared\": ";
        AppendNumber(out, box.DeclaredSize());
        out += '}';
    }
    if (const int64_t tag = IncompleteTagOffset(box); tag >= 0) {
        out += ", \"incomplete_tag\": ";
        AppendNumber(out, uint64_t(tag));
    }
    out += ", \"title\": ";
    AppendString(out, page.title);
    out += ", \"tables\": [";
    AppendJoined(out, page.tables.size(), [&](size_t i) { AppendTable(out, page.tables[i]); });
    out += "], \"children\": [";
    PageContext childContext = context;
    childContext.parent = &box;
    bool first = true;
    for (const auto& child : box.m_children) {
        if (!child) continue;
        if (!first) writer.Text() += ", ";
        first = false;
        writer.FlushIfLarge();
        AppendBox(writer, *child, childContext);
    }
    writer.Text() += "]}";
}
}  // namespace

std::string JsonString(std::string_view raw) {
    std::string out;
    out.reserve(raw.size() + 2);
    AppendString(out, raw);
    return out;
}

std::string TableJson(const ReportTable& table) {
    std::string out;
    AppendTable(out, table);
    return out;
}

void WriteBoxJson(std::ostream& out, const CBox& box, const PageContext& context) {
    JsonWriter writer(out);
    AppendBox(writer, box, context);
}

namespace {
void WriteTreeStart(JsonWriter& writer, const std::string& fileName, int status) {
    writer.Text() += "{\"file\": ";
    AppendString(writer.Text(), fileName);
    writer.Text() += status < 0 ? ", \"status\": -1, \"boxes\": [" : ", \"status\": 0, \"boxes\": [";
}

// One top-level box of the tree, after a separator unless it is the first.
void WriteTopLevel(JsonWriter& writer, bool& first, const CBox& box, PageContext context) {
    if (!first) writer.Text() += ",\n";
    first = false;
    context.topLevel = &box;
    AppendBox(writer, box, context);
    writer.FlushIfLarge();
}
}  // namespace

void WriteTreeJson(std::ostream& out, const std::string& fileName, int status, const CCorvel& parser,
                   const CCorvel* init) {
    const SampleContext samples(parser, init);
    JsonWriter writer(out);
    WriteTreeStart(writer, fileName, status);
    bool first = true;
    for (size_t i = 0; i < parser.GetBoxCount(); ++i) {
        const CBox* box = parser.GetBox(i);
        if (!box) continue;
        // The box read again, noting where its fields lie: one top-level box's spans at a time.
        SpanMap spans;
        const std::unique_ptr<CBox> copy = parser.Reparse(*box, spans);
        WriteTopLevel(writer, first, copy ? *copy : *box, {nullptr, &parser, &samples, copy ? &spans : nullptr});
    }
    writer.Text() += "]}\n";
}

namespace {
// What the first walk finds for the second.
class TreeJsonFacts {
public:
    explicit TreeJsonFacts(const CCorvel* init) : m_init(init) {}
    // Each top-level box of the first walk, in file order.
    void Note(const CBox& top, uint64_t fileSize) {
        if (!m_samples) m_samples.emplace(fileSize, m_init);
        m_samples->Note(top);
        if (top.m_type == FourCC("moof")) ++m_moofs;
        if (top.m_type != FourCC("mdat")) return;
        m_mdatBeforeMoof = m_mdatBeforeMoof || m_mdats >= m_moofs;
        ++m_mdats;
    }
    // False when an mdat comes before the moof that goes with it: its page then needs a
    // box the second walk has not read yet, and only a kept tree serves.
    bool Streamable() const { return !Paired() || !m_mdatBeforeMoof; }
    // The i-th moof goes with the i-th mdat: as many of each.
    bool Paired() const { return m_moofs == m_mdats; }
    const SampleContext* Samples() const { return m_samples ? &*m_samples : nullptr; }

private:
    const CCorvel* m_init;
    std::optional<SampleContext> m_samples;
    uint64_t m_moofs = 0, m_mdats = 0;
    bool m_mdatBeforeMoof = false;
};

// Writes the top-level boxes of the second walk; a moof is kept until the mdat that
// goes with it is written.
class TreeJsonStream {
public:
    TreeJsonStream(std::ostream& out, const std::string& fileName, int status, const TreeJsonFacts& facts)
        : m_writer(out), m_facts(facts) {
        WriteTreeStart(m_writer, fileName, status);
    }
    ~TreeJsonStream() { m_writer.Text() += "]}\n"; }

    void Add(TopLevelBox& top, const CCorvel& parser, const SpanMap& spans) {
        const CBox& box = *top.box;
        // Each moof comes before its mdat (or nothing pairs them): the oldest kept one is its.
        const bool paired = m_facts.Paired() && box.m_type == FourCC("mdat");
        const CBox* fragment = paired && !m_moofs.empty() ? m_moofs.front().box.get() : nullptr;
        WriteTopLevel(m_writer, m_first, box, {nullptr, &parser, m_facts.Samples(), &spans, fragment});
        if (paired && !m_moofs.empty()) m_moofs.pop_front();
        if (m_facts.Paired() && box.m_type == FourCC("moof")) m_moofs.push_back(std::move(top));
    }

private:
    JsonWriter m_writer;
    const TreeJsonFacts& m_facts;
    std::deque<TopLevelBox> m_moofs;
    bool m_first = true;
};
}  // namespace

int WriteStreamedTreeJson(std::ostream& out, const std::string& path, CCorvelLib& lib, const CCorvel* init) {
    const auto walk = [&](const CCorvel::TopLevelVisitor& visit, SpanMap* spans) {
        lib.Uninit();
        return lib.Init(path) < 0 ? -2 : lib.Go(visit, spans);
    };
    TreeJsonFacts facts(init);
    const int status = walk([&](TopLevelBox& top) { facts.Note(*top.box, uint64_t(lib.FileSize())); }, nullptr);
    if (status == -2) return -2;
    if (!facts.Streamable()) {
        if (walk({}, nullptr) == -2) return -2;
        WriteTreeJson(out, path, status, *lib.Parser(), init);
        return status;
    }
    TreeJsonStream json(out, path, status, facts);
    SpanMap spans;
    const int again = walk([&](TopLevelBox& top) {
        json.Add(top, *lib.Parser(), spans);
        spans.Clear();
    }, &spans);
    return again == -2 ? -2 : status;  // -2: the file went away between the walks
}
