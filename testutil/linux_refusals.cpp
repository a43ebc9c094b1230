#include "testutil/linux_refusals.h"

#include <cstdlib>

#include "testutil/test_files.h"

namespace quarn {
namespace {

bool Shell(const char* command, const std::string& path) {
  const std::string line =
      std::string(command) + " '" + path + "' >/dev/null 2>&1";
  return std::system(line.c_str()) == 0;
}

}  // namespace

LinuxRefusals::~LinuxRefusals() {
  for (const std::string& path : immutable_) Shell("chattr -i", path);
  for (const std::string& path : mounted_) Shell("umount", path);
}

bool LinuxRefusals::MakeImmutable(const std::string& engine_path) {
  const std::string path = NativePath(engine_path);
  if (!Shell("chattr +i", path)) return false;
  immutable_.push_back(path);
  return true;
}

bool LinuxRefusals::MountSmallDisk(const std::string& engine_folder,
                                   int kibibytes) {
  const std::string path = NativePath(engine_folder);
  const std::string options =
      "mount -t tmpfs -o size=" + std::to_string(kibibytes) + "k tmpfs";
  if (!Shell(options.c_str(), path)) return false;
  mounted_.insert(mounted_.begin(), path);
  return true;
}

}  // namespace quarn
