// Paths as the programs compare and show them: the last name of a path, and
// whether two paths name the same file (so no output is written over an input).
#pragma once

#include <string>

namespace morvale {

// The part of `path` after its last '/' (all of it when it has none).
std::string baseName(const std::string& path);

// True when `a` and `b` name the same file: the same device and inode when both
// exist, else the same path once made absolute and normal.
bool sameFile(const std::string& a, const std::string& b);

// True when `path` lies inside the folder `folder` (at any depth), by sameFile on
// each folder above it.
bool insideFolder(const std::string& path, const std::string& folder);

}  // namespace morvale
