#pragma once
// Walks hand-built bytes written to a file on disk, as the program walks any file.
#include <memory>
#include <string>

#include "boxes/containers/corvel.h"
#include "support/box_builder.h"

struct ParsedFile {
    CCorvelLib lib;
    int status = -2;
    size_t Count() const { return lib.Parser()->GetBoxCount(); }
    const CBox* Top(size_t i) const { return lib.Parser()->GetBox(i); }
};

inline std::unique_ptr<ParsedFile> ParseFile(const std::string& name, const std::string& bytes) {
    auto p = std::make_unique<ParsedFile>();
    if (p->lib.Init(WriteTempFile(name, bytes)) == 0) p->status = p->lib.Go();
    return p;
}
