// How the engine reads a path, once for every file system: the memory, the
// overlay and the Linux backends agree with Windows about drives, shares,
// "." and "..", and which spellings name the same place.
#pragma once

#include <string>
#include <vector>

namespace quarn {

/// An engine path taken apart, with its relative forms resolved.
struct EnginePath {
  /// "" for a root without a drive ("\" on Linux and in memory), "C:" for a
  /// drive (letter case as given), "\\server\share" for a share.
  std::string root;
  /// The names below the root, "." and ".." resolved; none is empty.
  std::vector<std::string> components;
  /// The path ended in a separator: it names a folder only.
  bool folder_only = false;

  /// The absolute engine form, without a trailing backslash except a
  /// root's: "\", "C:\Games\VC", "\\server\share\".
  std::string Text() const;

  /// Text() upper-cased: equal for two paths exactly when they name the
  /// same place.
  std::string Key() const;
};

/// True for the separators the engine accepts: backslash and slash.
bool IsEngineSeparator(char c);

/// True when `path` continues the current folder's names: it begins with
/// neither a separator nor a drive.
bool IsRelativeEnginePath(const std::string& path);

/// `path` as Windows reads it while `current_folder` (absolute, engine
/// form) is the current folder. Backslash and slash both separate; doubled
/// separators count as one, except two at the start, which begin a share
/// "\\server\share". "\x" lies on the current folder's drive; "C:x" in the
/// current folder when that is on C:, else in C:'s root. "." and ".." are
/// resolved by the names alone and never climb above a root.
EnginePath ParseEnginePath(const std::string& path,
                           const std::string& current_folder);

}  // namespace quarn
