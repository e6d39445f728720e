#pragma once
#include <string>

#include "boxes/containers/corvel.h"

// Opens and parses `path`. Returns -2 when the file cannot be opened (stderr
// says why), otherwise the status of the parse run (0 or -1); the tree is kept
// either way.
int OpenAndParse(CCorvelLib& lib, const std::string& path);

// Four-character code for display: a byte outside 0x20-0x7E becomes '.'.
std::string PrintableFourCC(uint32_t type);
