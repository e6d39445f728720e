#pragma once
#include <vector>

#include "boxes/containers/corvel.h"
#include "check/finding.h"

// Runs every rule over a file that was walked keeping its boxes; the findings come in
// file order of their bytes. Reads no media data: the tables say where the samples lie.
// `sampleBudget` bounds the samples the walks visit (the tables of a hostile file may
// count billions); samples past it go unchecked.
std::vector<Finding> CheckFile(const CCorvel& parser, uint64_t sampleBudget = 100000000);
