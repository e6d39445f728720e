#pragma once
// Hand-built tracks and fragments for the sample walk tests, parsed from a file on disk.
#include <string>
#include <vector>

#include "boxes/containers/corvel.h"
#include "samples/sample_context.h"
#include "support/box_builder.h"

inline std::string Stsz(uint32_t constant, const std::vector<uint32_t>& sizes, uint32_t count = 0) {
    std::string p = U32(constant) + U32(constant ? count : static_cast<uint32_t>(sizes.size()));
    for (uint32_t s : sizes) p += U32(s);
    return FullBox("stsz", 0, 0, p);
}
inline std::string Table(const char* type, const std::vector<std::vector<uint32_t>>& entries) {
    std::string p = U32(static_cast<uint32_t>(entries.size()));
    for (const auto& e : entries)
        for (uint32_t v : e) p += U32(v);
    return FullBox(type, 0, 0, p);
}
inline std::string Track(const std::string& stblChildren) {
    return Box("trak", Box("mdia", Hdlr("vide") + Box("minf", Box("stbl", stblChildren))));
}
inline std::string Tfhd(uint32_t flags, uint32_t trackId, const std::string& fields = "") {
    return FullBox("tfhd", 0, flags, U32(trackId) + fields);
}
// A trun of per-sample sizes (flag 0x200), with a data offset when given.
inline std::string TrunSizes(const std::vector<uint32_t>& sizes, const int32_t* dataOffset = nullptr) {
    std::string p = U32(static_cast<uint32_t>(sizes.size()));
    if (dataOffset) p += U32(static_cast<uint32_t>(*dataOffset));
    for (uint32_t s : sizes) p += U32(s);
    return FullBox("trun", 0, 0x200 | (dataOffset ? 1 : 0), p);
}

struct ParsedBytes {
    CCorvelLib lib;
    ParsedBytes(const std::string& name, const std::string& bytes) {
        lib.Init(WriteTempFile(name, bytes));
        lib.Go();
    }
    const CCorvel& P() const { return *lib.Parser(); }
    std::vector<const CBox*> All(uint32_t type) const {
        std::vector<const CBox*> list;
        for (size_t i = 0; i < P().GetBoxCount(); ++i) FindBoxes(*P().GetBox(i), type, list);
        return list;
    }
    const CBox& First(uint32_t type) const { return *All(type).at(0); }
};
