#pragma once
#include <cstdint>
#include <string>

class CBox;

// The title of a box's page, by its type and, for a few types, by its parent.
// Empty when the page holds no table at all (a type without a case at the top
// level, an `hnti` without a parent).
std::string BoxPageTitle(const CBox* parent, const CBox& box);

// The title of a sample entry whose type has no case of its own, by the handler
// type of its track.
const char* SampleEntryTitle(uint32_t handlerType);

// The handler type an `stsd` box holds for its track; 0 when unknown.
uint32_t SampleDescriptionHandlerType(const CBox& stsd);
