// A record of a folder tree, to show that something left it untouched.
#pragma once

#include <string>

namespace quarn {

/// Every name under `engine_folder` with its kind, length, attributes,
/// permissions, modification time and a hash of its bytes, one line each in
/// order of name. Equal snapshots mean nothing in the tree was touched.
std::string TreeSnapshot(const std::string& engine_folder);

}  // namespace quarn
