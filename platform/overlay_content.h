// The bytes of one file as an overlay file system shows them: the base
// file's own bytes wherever the run has not written, the written extents
// elsewhere, zeros past both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/file_system.h"
#include "platform/overlay_store.h"

namespace quarn {

/// A file of the underlying file system, opened once for reading and shared
/// by every overlay file that still shows its bytes.
struct BaseBytes {
  std::unique_ptr<File> file;
  uint64_t length = 0;
};

/// One file's bytes in an overlay. Copies are cheap: they share the stored
/// extents and the base file, never the bytes themselves.
class OverlayContent {
 public:
  /// An empty file whose writes go to `store`.
  explicit OverlayContent(std::shared_ptr<OverlayStore> store);
  /// A file showing all of `base` until it is written or cut.
  OverlayContent(std::shared_ptr<OverlayStore> store,
                 std::shared_ptr<BaseBytes> base);

  /// As File::ReadAt: up to `size` bytes from `offset`, fewer only at the end.
  bool ReadAt(uint64_t offset, void* data, size_t size, size_t* got);
  /// As File::WriteAt; false if the store could not keep the bytes, and
  /// then nothing changed.
  bool WriteAt(uint64_t offset, const void* data, size_t size);
  /// The file's length in bytes.
  uint64_t Length() const { return length_; }
  /// As File::Resize; growing adds zeros.
  void Resize(uint64_t length);
  /// As File::MoveBytes, without carrying the bytes: the destination shows
  /// what the source showed (the base file's bytes, stored bytes or zeros),
  /// and only zeros that land where the base file's bytes show are stored.
  TransferOutcome MoveBytes(uint64_t from, uint64_t to, uint64_t length,
                            uint64_t* written);

  /// True when `length` bytes from `offset` are known, without reading
  /// them, to be the bytes of `original` from `original_offset`: they are
  /// shown from there, unwritten or moved there unchanged.
  bool ShowsOriginal(uint64_t offset, uint64_t length,
                     const std::shared_ptr<BaseBytes>& original,
                     uint64_t original_offset) const;

  /// True when the bytes differ from those of `original`. Bytes still shown
  /// from the same place of `original` are not read again.
  bool DiffersFrom(const std::shared_ptr<BaseBytes>& original);

 private:
  // Written bytes from `start` on: `length` bytes of `bytes` from `from`,
  // or, when `bytes` is null, of the base file from `from`.
  struct Extent {
    uint64_t length = 0;
    std::shared_ptr<StoredBytes> bytes;
    uint64_t from = 0;
  };
  using Extents = std::map<uint64_t, Extent>;
  // What `extent.length` bytes of a move's source show, `offset` bytes into
  // it: `extent` as written there, or zeros.
  struct Stretch {
    uint64_t offset = 0;
    Extent extent;
    bool zeros = false;
  };

  template <typename Visit>
  bool Walk(uint64_t offset, uint64_t end, Visit visit) const;
  bool ReadExtent(const Extent& extent, char* out, size_t size);
  bool ReadUnwritten(uint64_t offset, char* out, size_t size);
  std::vector<Stretch> StretchesOf(uint64_t offset, uint64_t end) const;
  bool Place(uint64_t offset, const Stretch& stretch);
  bool PlaceZeros(uint64_t offset, uint64_t end);
  void Punch(uint64_t start, uint64_t end);
  Extents::iterator ExtentEndingAt(uint64_t offset);
  bool Insert(uint64_t offset, const void* data, size_t size);
  void InsertBaseReference(uint64_t offset, uint64_t size, uint64_t from);

  std::shared_ptr<OverlayStore> store_;
  std::shared_ptr<BaseBytes> base_;
  uint64_t base_shown_ = 0;  // bytes of base_ not cut off by a resize
  uint64_t length_ = 0;
  Extents extents_;  // by start; they never overlap
};

}  // namespace quarn
