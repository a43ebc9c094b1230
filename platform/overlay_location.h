// Where a path leads, spelled one way for every way of writing it, so that
// an overlay file system finds what a run did to a file whatever letter
// case, relative form or "." and ".." the run used.
#pragma once

#include <string>

namespace quarn {

/// A path as an overlay files it.
struct OverlayLocation {
  /// Absolute, "." and ".." resolved, no trailing backslash except a
  /// root's: "\home\game\Models" or "C:\Games\VC".
  std::string path;
  std::string key;     ///< `path` upper-cased: the same for every spelling
  std::string name;    ///< the last component; empty for a root
  std::string parent;  ///< the path of the folder holding it; empty for a root
  bool folder_only = false;  ///< the path ended in a backslash: a folder only
};

/// Where engine path `path` leads when `current_folder` (absolute, engine
/// form) is the current folder. Like Windows, ".." is resolved by the
/// names alone and never climbs above a root.
OverlayLocation LocateInOverlay(const std::string& path,
                                const std::string& current_folder);

}  // namespace quarn
