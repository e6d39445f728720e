#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// A cell or row value of a page. Text that comes from the file must never become
// markup in the HTML page, while the fixed texts of the pages stay byte for byte
// as written; so a Text keeps both forms: `plain` (for JSON) and `html`.
class Text {
public:
    Text() = default;
    // Fixed text of the program (formats, labels, fixed markup): used as it is.
    Text(std::string fixed) : m_plain(std::move(fixed)) {}
    Text(const char* fixed) : Text(std::string(fixed)) {}
    // Text from the file: HTML-escaped in pages.
    static Text FromFile(std::string_view raw);
    // Fixed markup with a plain form of its own (what the markup says, for JSON).
    static Text Markup(std::string html, std::string plain);

    Text& operator+=(const Text& other);
    friend Text operator+(Text a, const Text& b) { return a += b; }

    const std::string& Plain() const { return m_plain; }
    const std::string& Html() const { return m_distinct ? m_html : m_plain; }

private:
    std::string m_plain;
    std::string m_html;       // only when the markup differs from the plain text
    bool m_distinct = false;
};

// & < > " ' as character references.
std::string HtmlEscape(std::string_view raw);

// A code point as UTF-8, appended to `out`.
void AppendUtf8(std::string& out, uint32_t c);
// UTF-16 text as UTF-8: big-endian unless `littleEndian` or a byte order mark (dropped)
// says otherwise; an unpaired surrogate becomes U+FFFD. A zero unit ends the text when
// `toZero`, else stays a zero byte.
std::string Utf8FromUtf16(std::string_view bytes, bool littleEndian = false, bool toZero = false);
