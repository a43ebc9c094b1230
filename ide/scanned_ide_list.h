// The IDE files a run has read so far, so that a second reading of the same
// file does not count its own IDs as conflicts.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quarn {

/// Paths of the IDE files scanned or opened in this run, upper-cased. It
/// grows as needed: a run that reads many files never loses one.
class ScannedIdeList {
 public:
  /// True when `path`, upper-cased, was appended before.
  bool Contains(const std::string& path) const;

  /// Appends `path` upper-cased, also when it is already listed.
  void Append(const std::string& path);

  /// How many paths were appended.
  size_t Count() const { return paths_.size(); }

 private:
  std::vector<std::string> paths_;
};

}  // namespace quarn
