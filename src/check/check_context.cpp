#include "check/check_context.h"

#include <algorithm>

const char* SeverityText(Severity severity) {
    switch (severity) {
        case Severity::Error: return "error";
        case Severity::Warning: return "warning";
        case Severity::Info: return "info";
    }
    return "error";
}

CheckContext::CheckContext(const CCorvel& parser, uint64_t sampleBudget, const CCorvel* init)
    : m_parser(parser), m_samples(parser, init), m_sampleBudget(sampleBudget) {
    // Each top-level box is read again (its bytes are still held) so that a finding can
    // name the bytes of its field; a box that cannot be read again is checked as it is.
    for (size_t i = 0; i < parser.GetBoxCount(); ++i) {
        const CBox* top = parser.GetBox(i);
        if (!top) continue;
        auto spans = std::make_unique<SpanMap>();
        std::unique_ptr<CBox> copy = top->m_type == FourCC("mdat") ? nullptr : parser.Reparse(*top, *spans);
        if (copy) {
            m_tops.push_back(copy.get());
            m_spans[copy.get()] = std::move(spans);
            m_copies.push_back(std::move(copy));
        } else {
            m_tops.push_back(top);
        }
        NoteParents(*m_tops.back());
    }
}

void CheckContext::NoteParents(const CBox& root) {
    std::vector<const CBox*> pending{&root};
    while (!pending.empty()) {
        const CBox* box = pending.back();
        pending.pop_back();
        for (const auto& child : box->m_children)
            if (child) {
                m_parents[child.get()] = box;
                pending.push_back(child.get());
            }
    }
}

size_t CheckContext::FirstTopFrom(uint64_t offset) const {
    // The top-level boxes follow each other in the file: their offsets increase.
    auto it = std::lower_bound(m_tops.begin(), m_tops.end(), offset,
                               [](const CBox* box, uint64_t at) { return uint64_t(box->m_startOffset) < at; });
    return size_t(it - m_tops.begin());
}

const CBox* CheckContext::TopAt(uint64_t offset) const {
    const size_t i = FirstTopFrom(offset);
    return i < m_tops.size() && uint64_t(m_tops[i]->m_startOffset) == offset ? m_tops[i] : nullptr;
}

const CBox* CheckContext::ParentOf(const CBox& box) const {
    auto it = m_parents.find(&box);
    return it == m_parents.end() ? nullptr : it->second;
}

std::string CheckContext::PathOf(const CBox& box) const {
    std::vector<const CBox*> chain;
    for (const CBox* b = &box; b; b = ParentOf(*b)) chain.push_back(b);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const CBox* b = *it;
        const CBox* parent = ParentOf(*b);
        size_t same = 0, index = 0;
        auto count = [&](const CBox* sibling) {
            if (sibling->m_type != b->m_type) return;
            if (sibling == b) index = same;
            ++same;
        };
        if (parent) {
            for (const auto& sibling : parent->m_children)
                if (sibling) count(sibling.get());
        } else {
            for (const CBox* sibling : m_tops) count(sibling);
        }
        if (!path.empty()) path += '/';
        path += PathCode(b->m_type);
        if (same > 1) path.append(1, '[').append(std::to_string(index)).append(1, ']');
    }
    return path;
}

const SpanMap* CheckContext::SpansOf(const CBox& box) const {
    const CBox* top = &box;
    while (const CBox* parent = ParentOf(*top)) top = parent;
    auto it = m_spans.find(top);
    return it == m_spans.end() ? nullptr : it->second.get();
}

Span CheckContext::SpanOf(const CBox& box, const void* field, size_t size) const {
    const SpanMap* spans = field ? SpansOf(box) : nullptr;
    const Span span = spans ? spans->Lookup(field, size) : Span{};
    if (!span.Empty()) return span;
    return Span::Bytes(uint64_t(box.m_startOffset), box.PresentSize());
}

void CheckContext::Add(Severity severity, const char* rule, const CBox& box, Span at, std::string message) {
    if (at.Empty()) at = SpanOf(box, nullptr, 0);
    m_findings.push_back({severity, rule, PathOf(box), at.Offset(), at.Length(), std::move(message)});
}

std::vector<const CBox*> BoxesOf(const CBox& root, uint32_t type) {
    std::vector<const CBox*> list;
    FindBoxes(root, type, list);
    return list;
}

std::string PathCode(uint32_t type) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const uint8_t byte = uint8_t(type >> shift);
        char utf8[4];
        if (byte < 0x20 || byte == 0x7F) text += '.';
        else text.append(utf8, MacRomanUtf8(byte, utf8));
    }
    return text;
}

std::string Quoted(uint32_t type) { return std::string(1, '\'').append(PathCode(type)).append(1, '\''); }

size_t CountChildren(const CBox& box, uint32_t type) {
    size_t n = 0;
    for (const auto& child : box.m_children) n += child && child->m_type == type;
    return n;
}

uint64_t BoxEnd(const CBox& box) {
    const uint64_t size = box.DeclaredSize();
    return uint64_t(box.m_startOffset) + size;
}
