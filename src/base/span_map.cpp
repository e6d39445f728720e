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
    const std::less<const void*> less;
    Span span;
    auto it = std::lower_bound(m_spans.begin(), m_spans.end(), std::make_pair(address, Span{}), before);
    for (; it != m_spans.end() && less(it->first, first + size); ++it) span = span.Union(it->second);
    // An element of a table: its record.
    for (const Table& t : m_tables) {
        if (less(first, t.first) || !less(first, t.first + t.count * t.elementSize)) continue;
        const size_t i = static_cast<size_t>(first - t.first) / t.elementSize;
        span = span.Union({t.firstBit + i * t.strideBits, t.strideBits});
    }
    return span;
}
