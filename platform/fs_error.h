// Why a file operation failed, kept so that a failed run can say it: the
// engine's own messages stay as they are, and only the runner prints this.
#pragma once

#include <memory>
#include <mutex>
#include <string>

namespace quarn {

/// A failed operation: the path as the caller spelled it, and the reason in
/// words (the operating system's, or a fixed English text). Both are empty
/// when nothing failed.
struct FsError {
  std::string path;
  std::string reason;
};

/// The reasons a file system in memory (the memory one, the overlay) gives
/// for the failures it decides by itself.
inline constexpr char kReasonNotFound[] = "no such file or folder";
inline constexpr char kReasonIsFolder[] = "is a folder";
inline constexpr char kReasonReadOnly[] = "read-only";
inline constexpr char kReasonHeld[] = "held open";
inline constexpr char kReasonMarked[] = "hidden or system";
inline constexpr char kReasonBadName[] = "invalid name";
inline constexpr char kReasonNotFolder[] = "not a folder";
inline constexpr char kReasonNotEmpty[] = "folder not empty";
inline constexpr char kReasonExists[] = "already exists";
inline constexpr char kReasonSameFile[] = "the same file";
inline constexpr char kReasonOpenedForReading[] = "opened for reading only";
inline constexpr char kReasonTooFar[] = "offset out of range";
/// Why every backend refuses a run lock another run holds.
inline constexpr char kReasonLocked[] = "locked by another run";

/// The last failure of a file system and of the files opened through it,
/// shared by them; safe to use from several threads.
class FsErrorRecord {
 public:
  /// Keeps `path` and `reason` as the last failure, replacing any before.
  void Record(const std::string& path, const std::string& reason);

  /// Record(path, reason), then false: for `return errors.Refuse(...)`.
  bool Refuse(const std::string& path, const std::string& reason);

  /// The last failure since Clear, or an empty FsError.
  FsError Last() const;

  /// Forgets the last failure.
  void Clear();

 private:
  mutable std::mutex mutex_;
  FsError last_;  // guarded by `mutex_`
};

}  // namespace quarn
