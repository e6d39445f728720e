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
