#pragma once
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/span_map.h"
#include "boxes/containers/corvel.h"
#include "check/finding.h"
#include "samples/sample_context.h"

// What the rules share: the top-level boxes read again with the spans of their fields,
// where each box sits in the tree, and the findings so far.
class CheckContext {
public:
    // `init`: a media segment's init segment, whose moov serves its fragments.
    CheckContext(const CCorvel& parser, uint64_t sampleBudget, const CCorvel* init = nullptr);

    const CCorvel& Parser() const { return m_parser; }
    const SampleContext& Samples() const { return m_samples; }
    uint64_t FileSize() const { return uint64_t(m_parser.FileSize()); }
    // The top-level boxes in file order (each read again where it could be).
    const std::vector<const CBox*>& Tops() const { return m_tops; }
    // Where the fields of a box of Tops() (or below one) were read; null for a box that
    // was not read again.
    const SpanMap* SpansOf(const CBox& box) const;
    // The top-level box that starts at `offset`; null when none does.
    const CBox* TopAt(uint64_t offset) const;
    // The index of the first top-level box that starts at or after `offset`.
    size_t FirstTopFrom(uint64_t offset) const;
    // Null at the top level.
    const CBox* ParentOf(const CBox& box) const;
    // As corvel names boxes: codes joined by '/', [n] where a parent has more than one of a type.
    std::string PathOf(const CBox& box) const;
    // The bytes of a field of `box` (a member, or a record of a table); the box when not noted.
    Span SpanOf(const CBox& box, const void* field, size_t size) const;

    void Add(Severity severity, const char* rule, const CBox& box, Span at, std::string message);
    void Add(Severity severity, const char* rule, const CBox& box, std::string message) {
        Add(severity, rule, box, Span{}, std::move(message));
    }
    template <class T>
    void AddField(Severity severity, const char* rule, const CBox& box, const T& field, std::string message) {
        Add(severity, rule, box, SpanOf(box, &field, sizeof field), std::move(message));
    }
    std::vector<Finding> TakeFindings() { return std::move(m_findings); }
    // Counts from the file bound no walk: the sample walks of all rules together visit
    // at most the budget's samples; false once it is spent.
    bool TakeSample() { return m_sampleBudget ? (--m_sampleBudget, true) : false; }

private:
    void NoteParents(const CBox& box);

    const CCorvel& m_parser;
    SampleContext m_samples;
    std::vector<std::unique_ptr<CBox>> m_copies;
    std::vector<const CBox*> m_tops;
    // One map for each top-level box, as a page has: a lookup costs what one box holds.
    std::unordered_map<const CBox*, std::unique_ptr<SpanMap>> m_spans;
    std::unordered_map<const CBox*, const CBox*> m_parents;
    std::vector<Finding> m_findings;
    uint64_t m_sampleBudget;
};

// Every box of the subtree of type `type` (the box itself first, depth first).
std::vector<const CBox*> BoxesOf(const CBox& root, uint32_t type);
// The first child of `box` of type `type` as a T; null when none or of another class.
template <class T>
const T* ChildOf(const CBox& box, uint32_t type) {
    return dynamic_cast<const T*>(box.RetrieveChildBox(type, true));
}
size_t CountChildren(const CBox& box, uint32_t type);
// A code as corvel prints it in a tree or a box path: Mac Roman in UTF-8, a control byte as '.'.
std::string PathCode(uint32_t type);
// The same in single quotes: 'stco'.
std::string Quoted(uint32_t type);
// The box's declared end (a size 0: to the end of what holds it).
uint64_t BoxEnd(const CBox& box);
