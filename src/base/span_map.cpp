#include "base/span_map.h"

#include <algorithm>
#include <functional>

Span SpanMap::Lookup(const void* address, size_t size) const {
    const auto before = [](const std::pair<const void*, Span>& a, const std::pair<const void*, Span>& b) {
        return std::less<const void*>()(a.first, b.first);
    };
    if (!m_sorted) {
        std::stable_sort(m_spans.begin(), m_spans.end(), before);
        m_sorted = true;
    }
    const char* first = static_cast<const char*>(address);
    Span span;
    auto it = std::lower_bound(m_spans.begin(), m_spans.end(), std::make_pair(address, Span{}), before);
    for (; it != m_spans.end() && std::less<const void*>()(it->first, first + size); ++it) span = span.Union(it->second);
    return span;
}
