// What a folder holds, read without the engine's file system, so that tests
// can show that nothing was left behind.
#pragma once

#include <string>
#include <vector>

namespace quarn {

/// The names in folder `engine_path` (without "." and ".."), sorted.
std::vector<std::string> TestFolderNames(const std::string& engine_path);

}  // namespace quarn
