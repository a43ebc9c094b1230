// The two ways a restore copies a file: a plain copy, and the copy in
// pieces with progress and a chance to cancel between pieces. Both write a
// temporary file beside the target and rename it over at the end, so a
// copy that fails or is cancelled leaves the old target whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace quarn {

/// How a copy ended.
enum class CopyOutcome {
  kCopied,        ///< the target now holds the source's bytes
  kFailed,        ///< missing source, unopenable file, read or write error
  kAccessDenied,  ///< the source's attributes would not clear
  kCancelled,     ///< the user stopped it between pieces
};

/// Copies one file over another.
class FileCopier {
 public:
  virtual ~FileCopier() = default;
  /// Copies `source` over `target` after clearing both files' attributes.
  /// Unless kCopied, `target` is left as it was.
  virtual CopyOutcome Copy(const std::string& source,
                           const std::string& target) = 0;
};

/// The platform's own copy, to a temporary file renamed over the target.
class PlainCopier : public FileCopier {
 public:
  /// Copies through `fs`, which must outlive the copier.
  explicit PlainCopier(FileSystem& fs) : fs_(fs) {}
  CopyOutcome Copy(const std::string& source,
                   const std::string& target) override;

 private:
  FileSystem& fs_;
};

/// The bytes the progress copy moves at a time.
inline constexpr uint64_t kCopyPieceBytes = 50000000;

/// The sizes of the pieces a file of `length` bytes is copied in, each of
/// `piece` bytes but the last; none for an empty file.
std::vector<uint64_t> CopyPieces(uint64_t length,
                                 uint64_t piece = kCopyPieceBytes);

/// The progress bar's steps for `length` bytes: whole pieces, rounded down.
int32_t ProgressSteps(uint64_t length, uint64_t piece = kCopyPieceBytes);

/// What the progress copy shows and asks while it runs: the progress
/// dialog in the window program, a line on a terminal in `quarn`.
class CopyProgress {
 public:
  virtual ~CopyProgress() = default;
  /// The copy of `source` to `target` starts; the bar runs from 0 to
  /// `steps` in steps of 1.
  virtual void Begin(const std::string& source, const std::string& target,
                     int32_t steps) = 0;
  /// A piece was written: the bar advances by one step.
  virtual void Step() = 0;
  /// Asked between pieces (this is where a window handles its pending
  /// messages); true stops the copy.
  virtual bool CancelRequested() = 0;
  /// The copy is over, whatever its outcome.
  virtual void End() = 0;
};

/// The copy in pieces of `piece` bytes, holding at most one piece in
/// memory, reporting to `progress` and asking it between pieces.
class ProgressCopier : public FileCopier {
 public:
  /// Copies through `fs` and reports to `progress`; both must outlive it.
  ProgressCopier(FileSystem& fs, CopyProgress& progress,
                 uint64_t piece = kCopyPieceBytes)
      : fs_(fs), progress_(progress), piece_(piece) {}
  CopyOutcome Copy(const std::string& source,
                   const std::string& target) override;

 private:
  CopyOutcome CopyPiecesTo(File& from, File& to, uint64_t length);

  FileSystem& fs_;
  CopyProgress& progress_;
  uint64_t piece_;
};

}  // namespace quarn
