#include "report/text.h"

Text Text::FromFile(std::string_view raw) {
    Text t;
    t.m_plain.assign(raw);
    t.m_html = HtmlEscape(raw);
    return t;
}

Text Text::Markup(std::string html, std::string plain) {
    Text t;
    t.m_plain = std::move(plain);
    t.m_html = std::move(html);
    return t;
}

Text& Text::operator+=(const Text& other) {
    m_plain += other.m_plain;
    m_html += other.m_html;
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
