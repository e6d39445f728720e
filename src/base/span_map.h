#pragma once
#include <cstddef>
#include <utility>
#include <vector>

#include "base/span.h"

// Where the fields of a parse were read from, keyed by the address of what each read
// filled (a member of a box or of one of its records). A reader given a SpanMap notes
// every read in it; a page then finds a field's span by the field's address.
class SpanMap {
public:
    void Record(const void* field, Span span) {
        m_spans.emplace_back(field, span);
        m_sorted = false;
    }
    // The smallest span holding every read into [address, address + size); empty when none.
    Span Lookup(const void* address, size_t size) const;
    size_t Size() const { return m_spans.size(); }

private:
    mutable std::vector<std::pair<const void*, Span>> m_spans;
    mutable bool m_sorted = true;
};
