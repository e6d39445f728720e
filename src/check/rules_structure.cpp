// Structure: the boxes a file must have, have once, and have in their place.
#include <array>
#include <initializer_list>
#include <string>

#include "check/check_context.h"
#include "check/rules.h"

namespace {
constexpr uint32_t kTop = 0;  // "parent" of a top-level box

// Where a box belongs, and whether its parent may hold only one of it.
struct Placement {
    uint32_t type;
    std::array<uint32_t, 2> parents;  // 0 past the first: none more
    bool once;
};
constexpr Placement kPlacements[] = {
    {FourCC("ftyp"), {kTop}, true},
    {FourCC("moov"), {kTop}, true},
    {FourCC("moof"), {kTop}, false},
    {FourCC("mfra"), {kTop}, false},
    {FourCC("sidx"), {kTop}, false},
    {FourCC("mvhd"), {FourCC("moov")}, true},
    {FourCC("trak"), {FourCC("moov")}, false},
    {FourCC("mvex"), {FourCC("moov")}, true},
    {FourCC("tkhd"), {FourCC("trak")}, true},
    {FourCC("tref"), {FourCC("trak")}, true},
    {FourCC("edts"), {FourCC("trak")}, true},
    {FourCC("mdia"), {FourCC("trak")}, true},
    {FourCC("elst"), {FourCC("edts")}, true},
    {FourCC("mdhd"), {FourCC("mdia")}, true},
    {FourCC("minf"), {FourCC("mdia")}, true},
    {FourCC("stbl"), {FourCC("minf")}, true},
    {FourCC("vmhd"), {FourCC("minf")}, true},
    {FourCC("smhd"), {FourCC("minf")}, true},
    {FourCC("stsd"), {FourCC("stbl")}, true},
    {FourCC("stts"), {FourCC("stbl")}, true},
    {FourCC("ctts"), {FourCC("stbl")}, true},
    {FourCC("stsc"), {FourCC("stbl")}, true},
    {FourCC("stsz"), {FourCC("stbl")}, true},
    {FourCC("stz2"), {FourCC("stbl")}, true},
    {FourCC("stco"), {FourCC("stbl")}, true},
    {FourCC("co64"), {FourCC("stbl")}, true},
    {FourCC("stss"), {FourCC("stbl")}, true},
    {FourCC("sdtp"), {FourCC("stbl"), FourCC("traf")}, true},
    {FourCC("trex"), {FourCC("mvex")}, false},
    {FourCC("mehd"), {FourCC("mvex")}, true},
    {FourCC("mfhd"), {FourCC("moof")}, true},
    {FourCC("traf"), {FourCC("moof")}, false},
    {FourCC("tfhd"), {FourCC("traf")}, true},
    {FourCC("tfdt"), {FourCC("traf")}, true},
    {FourCC("trun"), {FourCC("traf")}, false},
    {FourCC("tfra"), {FourCC("mfra")}, false},
    {FourCC("mfro"), {FourCC("mfra")}, true},
};

const Placement* PlacementOf(uint32_t type) {
    for (const Placement& p : kPlacements)
        if (p.type == type) return &p;
    return nullptr;
}

bool BelongsUnder(const Placement& p, uint32_t parent) {
    return p.parents[0] == parent || (p.parents[1] != 0 && p.parents[1] == parent);
}


// The boxes a box must hold; each line one requirement, met by any of its codes.
struct Requirement {
    uint32_t parent;
    std::array<uint32_t, 2> anyOf;
};
constexpr Requirement kRequired[] = {
    {FourCC("moov"), {FourCC("mvhd")}},
    {FourCC("trak"), {FourCC("tkhd")}},
    {FourCC("trak"), {FourCC("mdia")}},
    {FourCC("mdia"), {FourCC("mdhd")}},
    {FourCC("mdia"), {FourCC("hdlr")}},
    {FourCC("mdia"), {FourCC("minf")}},
    {FourCC("minf"), {FourCC("stbl")}},
    {FourCC("stbl"), {FourCC("stsd")}},
    {FourCC("stbl"), {FourCC("stts")}},
    {FourCC("stbl"), {FourCC("stsc")}},
    {FourCC("stbl"), {FourCC("stsz"), FourCC("stz2")}},
    {FourCC("stbl"), {FourCC("stco"), FourCC("co64")}},
    {FourCC("moof"), {FourCC("mfhd")}},
    {FourCC("traf"), {FourCC("tfhd")}},
};

void RequiredChildren(CheckContext& check, const CBox& box) {
    for (const Requirement& r : kRequired) {
        if (r.parent != box.m_type) continue;
        if (CountChildren(box, r.anyOf[0]) || (r.anyOf[1] && CountChildren(box, r.anyOf[1]))) continue;
        std::string what = Quoted(r.anyOf[0]) + (r.anyOf[1] ? " or " + Quoted(r.anyOf[1]) : "");
        check.Add(Severity::Error, "box-missing", box, "no " + what + " box in " + Quoted(box.m_type));
    }
}

void PlacementAndCount(CheckContext& check, const CBox& box, uint32_t parentType) {
    const Placement* p = PlacementOf(box.m_type);
    if (!p) return;
    if (!BelongsUnder(*p, parentType)) {
        check.Add(Severity::Warning, "box-misplaced", box,
                  Quoted(box.m_type) + (parentType == kTop ? " at the top level" : " inside " + Quoted(parentType)) +
                      ": it belongs " + (p->parents[0] == kTop ? "at the top level" : "in " + Quoted(p->parents[0])));
    }
}

void Duplicates(CheckContext& check, const std::vector<const CBox*>& siblings, uint32_t parentType) {
    for (size_t i = 0; i < siblings.size(); ++i) {
        const Placement* p = PlacementOf(siblings[i]->m_type);
        if (!p || !p->once || !BelongsUnder(*p, parentType)) continue;
        for (size_t j = 0; j < i; ++j)
            if (siblings[j]->m_type == siblings[i]->m_type) {
                check.Add(Severity::Error, "box-duplicate", *siblings[i],
                          "a second " + Quoted(siblings[i]->m_type) + " box where one is allowed");
                break;
            }
    }
}

// A box that claims more bytes than its parent holds, and the first box the file ends inside.
void Bounds(CheckContext& check, const CBox& box, const CBox* parent) {
    if (parent && !box.IsTruncated() && BoxEnd(box) > BoxEnd(*parent)) {
        check.Add(Severity::Error, "box-past-parent", box,
                  Quoted(box.m_type) + " ends at " + std::to_string(BoxEnd(box)) + ", past the end of its parent " +
                      Quoted(parent->m_type) + " at " + std::to_string(BoxEnd(*parent)));
    } else if (box.IsTruncated() && (!parent || !parent->IsTruncated())) {
        check.Add(Severity::Error, "file-truncated", box,
                  "the file ends inside the " + PathCode(box.m_type) + " box at " + std::to_string(box.m_startOffset) +
                      " (" + std::to_string(box.PresentSize()) + " of " + std::to_string(box.DeclaredSize()) +
                      " bytes present)");
    }
}

void Walk(CheckContext& check, const CBox& box, const CBox* parent) {
    Bounds(check, box, parent);
    PlacementAndCount(check, box, parent ? parent->m_type : kTop);
    RequiredChildren(check, box);
    std::vector<const CBox*> children;
    for (const auto& child : box.m_children)
        if (child) children.push_back(child.get());
    Duplicates(check, children, box.m_type);
    for (const CBox* child : children) Walk(check, *child, &box);
}

void FileOrder(CheckContext& check) {
    const auto& tops = check.Tops();
    for (size_t i = 1; i < tops.size(); ++i)
        if (tops[i]->m_type == FourCC("ftyp")) {
            check.Add(Severity::Warning, "ftyp-not-first", *tops[i],
                      "'ftyp' is box " + std::to_string(i + 1) + " of the file, not the first");
            break;
        }
    const CBox* firstMdat = nullptr;
    for (const CBox* top : tops) {
        if (top->m_type == FourCC("moof")) return;  // a fragmented file: its moov comes first
        if (top->m_type == FourCC("mdat") && !firstMdat) firstMdat = top;
        if (top->m_type == FourCC("moov") && firstMdat) {
            check.Add(Severity::Info, "moov-after-mdat", *top,
                      "'moov' comes after the media data at " + std::to_string(firstMdat->m_startOffset) +
                          ": a player must read the whole file before it can start (not fast-start)");
            return;
        }
    }
}
}  // namespace

void CheckStructure(CheckContext& check) {
    std::vector<const CBox*> tops = check.Tops();
    for (const CBox* top : tops) Walk(check, *top, nullptr);
    Duplicates(check, tops, kTop);
    FileOrder(check);
}
