#pragma once
#include <functional>
#include <vector>

#include "boxes/containers/corvel.h"
#include "check/finding.h"

// Runs every rule over a file that was walked keeping its boxes; the findings come in
// file order of their bytes. Reads no media data: the tables say where the samples lie.
// `sampleBudget` bounds the samples the walks visit (the tables of a hostile file may
// count billions); samples past it go unchecked.
constexpr uint64_t kCheckSampleBudget = 100000000;
// `more` runs after the rules with what they shared (a rule of a layer above the engine).
class CheckContext;
std::vector<Finding> CheckFile(const CCorvel& parser, uint64_t sampleBudget = kCheckSampleBudget,
                               const std::function<void(CheckContext&)>& more = {}, const CCorvel* init = nullptr);
