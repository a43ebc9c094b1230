#include "testutil/overlay_backend.h"

#include <memory>

#include "platform/overlay_file_system.h"

namespace quarn {
namespace {

// Made before the overlay that reads through it, and gone after it.
struct NativeBase {
  std::unique_ptr<FileSystem> native = MakeNativeFileSystem();
};

class OverlayOverNative : private NativeBase, public OverlayFileSystem {
 public:
  OverlayOverNative() : OverlayFileSystem(*native) {}
};

}  // namespace

FileSystemBackend OverlayBackend() {
  FileSystemBackend backend;
  backend.name = "Overlay";
  backend.make = [](const std::string&) {
    return std::make_unique<OverlayOverNative>();
  };
  return backend;
}

}  // namespace quarn
