#include "report/text.h"

Text Text::FromFile(std::string_view raw) {
    return Markup(HtmlEscape(raw), std::string(raw));
}

Text Text::Markup(std::string html, std::string plain) {
    Text t(std::move(plain));
    t.m_distinct = html != t.m_plain;
    if (t.m_distinct) t.m_html = std::move(html);
    return t;
}

Text& Text::operator+=(const Text& other) {
    if (m_distinct || other.m_distinct) {
        if (!m_distinct) m_html = m_plain;
        m_html += other.Html();
        m_distinct = true;
    }
    m_plain += other.m_plain;
    return *this;
}

std::string HtmlEscape(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (char c : raw) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

void AppendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | c >> 6);
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | c >> 12);
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | c >> 18);
        out += char(0x80 | (c >> 12 & 0x3F));
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

std::string Utf8FromUtf16(std::string_view bytes, bool littleEndian, bool toZero) {
    const bool little = littleEndian || (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE);
    auto unit = [&](size_t i) -> uint32_t {
        const uint32_t a = uint8_t(bytes[i]), b = uint8_t(bytes[i + 1]);
        return little ? a | b << 8 : a << 8 | b;
    };
    std::string out;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        uint32_t c = unit(i);
        if (c == 0 && toZero) break;
        if (c == 0xFEFF) continue;
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}
