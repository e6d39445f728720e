#pragma once
#include <cstdint>
#include <string>

#include "report/box_entry.h"

// The page of one box as data: the common header table under the page title, then
// the box's own tables (its report entry's rows).
PageModel BuildBoxPage(const CBox& box, const PageContext& context);

// The title of a box's page: its report entry's, else by its parent. Empty when the
// page holds no table at all (a type without an entry at the top level).
std::string BoxPageTitle(const CBox* parent, const CBox& box);

// The title of a sample entry whose type has no entry of its own, by the handler type
// of its track.
const char* SampleEntryTitle(uint32_t handlerType);
