// What Linux itself refuses, made for one test and undone after it: an
// immutable file or folder (chattr +i), a small disk (tmpfs) mounted on a
// folder. Both need root; a test skips where they cannot be made.
#pragma once

#include <string>
#include <vector>

namespace quarn {

/// The refusals one test made, undone when it goes.
class LinuxRefusals {
 public:
  LinuxRefusals() = default;
  LinuxRefusals(const LinuxRefusals&) = delete;
  LinuxRefusals& operator=(const LinuxRefusals&) = delete;
  ~LinuxRefusals();

  /// Makes `engine_path` immutable; false when that cannot be done here.
  bool MakeImmutable(const std::string& engine_path);

  /// Mounts a disk of `kibibytes` on folder `engine_folder`, hiding what it
  /// held; false when that cannot be done here.
  bool MountSmallDisk(const std::string& engine_folder, int kibibytes);

 private:
  std::vector<std::string> immutable_;
  std::vector<std::string> mounted_;  // the last mounted first
};

}  // namespace quarn
