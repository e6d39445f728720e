#pragma once
#include <string>

// Where corvel's pages point and put things.

// The title icon of the pages, where a build or an install of corvel keeps it.
std::string BuiltIconPath();

// The absolute form of OUT (empty when it cannot be made).
std::string AbsolutePagePath(const std::string& out);
