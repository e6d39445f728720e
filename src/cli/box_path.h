#pragma once
#include <string>

#include "boxes/containers/corvel.h"

// Finds the box that BOXPATH names: four-character codes joined by '/', each
// optionally followed by [n], n the 0-based index among the siblings of that
// type ("moov/trak[1]/mdia/minf/stbl/stsz"); a code with blanks is written with
// them ("url "), a code with bytes from 0x80 on as the tree prints it ("©nam") or as
// its bytes. Returns null and sets `error` when the path is malformed or
// names no box; the message then lists the children at the last level that
// matched. `parent` (when given) receives the box's parent, null at the top level.
const CBox* ResolveBoxPath(const CCorvel& parser, const std::string& path, std::string& error,
                           const CBox** parent = nullptr);
