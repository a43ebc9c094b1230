#include "testutil/overlay_backend.h"

#include <memory>
#include <string>
#include <utility>

#include "platform/memory_file_system.h"
#include "platform/overlay_file_system.h"
#include "testutil/file_tree.h"

namespace quarn {
namespace {

// Made before the overlay that reads through it, and gone after it.
struct OwnedBase {
  explicit OwnedBase(std::unique_ptr<FileSystem> made)
      : base(std::move(made)) {}
  std::unique_ptr<FileSystem> base;
};

class OwningOverlay : private OwnedBase, public OverlayFileSystem {
 public:
  explicit OwningOverlay(std::unique_ptr<FileSystem> base)
      : OwnedBase(std::move(base)), OverlayFileSystem(*OwnedBase::base) {}

  FileSystem& Base() { return *OwnedBase::base; }
};

FileSystem& BaseOf(FileSystem& overlay) {
  return static_cast<OwningOverlay&>(overlay).Base();
}

}  // namespace

FileSystemBackend OverlayBackend() {
  FileSystemBackend backend;
  backend.name = "Overlay";
  backend.make = [](const std::string&) {
    return std::make_unique<OwningOverlay>(MakeNativeFileSystem());
  };
  backend.lower = BaseOf;
  return backend;
}

FileSystemBackend OverlayOverCreationOrderBackend() {
  FileSystemBackend backend;
  backend.name = "OverlayOverCreationOrder";
  backend.make = [](const std::string& root) {
    ListingRules rules;
    rules.order = ListingRules::Order::kByCreation;
    auto base = std::make_unique<MemoryFileSystem>(rules);
    MakeFoldersThrough(*base, root);
    // Standing on a drive, as a process does on Windows: the overlay reads
    // a lone "\" as the current drive's root, which a memory file system's
    // own root "\" is not.
    base->ChangeFolder(root);
    return std::make_unique<OwningOverlay>(std::move(base));
  };
  backend.lower = BaseOf;
  return backend;
}

}  // namespace quarn
