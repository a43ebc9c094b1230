// The only door from the engine to the operating system's files and folders.
// Every method has Windows meaning on every platform, so that the engine's
// behaviour does not depend on where it runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/folder_lock.h"
#include "platform/fs_error.h"

namespace quarn {

/// Windows file attribute bits, as the engine reads and sets them everywhere.
enum FileAttribute : uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrNormal = 0x80,
};

/// What AttributesOf returns for a path that names nothing.
constexpr uint32_t kNoSuchFile = 0xFFFFFFFFu;

/// One name in a folder listing, with its attributes.
struct FolderEntry {
  std::string name;
  uint32_t attributes = 0;
};

/// Where a folder listing places its names and which names it marks, so
/// that a layer over a file system (the dry run's overlay) shows the names
/// it makes as that file system would.
struct ListingRules {
  /// The order of a listing's names after "." and "..".
  enum class Order {
    kByUpperName,  ///< sorted by upper-cased name: Wine, Linux, NTFS
    /// In the order the names were made (FAT): a new name, or a file renamed
    /// to one, comes after every other; a name that exists keeps its place.
    kByCreation,
  };
  Order order = Order::kByUpperName;
  bool dot_names_hidden = false;  ///< names that begin with "." read hidden
};

/// How a file is opened. Every open is unshared.
enum class OpenMode {
  kRead,       ///< an existing file, for reading only
  kReadWrite,  ///< an existing file, for reading and writing
  kCreate,     ///< created, or emptied if it exists; reading and writing
};

/// Outcome of an open or a listing. A missing file is an ordinary result.
enum class FsStatus {
  kOkay,
  kNotFound,          ///< the file or a folder on its path does not exist
  kSharingViolation,  ///< someone else holds the file open
  kAccessDenied,      ///< read-only, a folder, or refused by the OS
  kOtherError,
};

/// How a transfer of bytes (File::MoveBytes, a copy between files) ended.
enum class TransferOutcome {
  kDone,         ///< every byte is in its place
  kReadFailed,   ///< the source gave an error or ended before its last byte
  kWriteFailed,  ///< the destination refused or took fewer bytes
};

/// What a probe learned about a change it did not make.
enum class ProbeOutcome {
  kAllowed,  ///< nothing the probe can see stands in the change's way
  kHeld,     ///< someone holds the file open; LastError says it as the call
  kRefused,  ///< the change would be refused; LastError says why, as the call
  kUnknown,  ///< this platform cannot tell without a change anyone could see
};

/// The room left on the disk a folder lies on.
struct DiskSpace {
  std::string volume;        ///< names the disk: the same for its folders
  uint64_t free_bytes = 0;   ///< what this process may still write there
  uint64_t block_bytes = 1;  ///< the unit a file's bytes take room in
  std::string full_reason;   ///< the platform's words for a full disk
};

/// Bytes File::MoveBytes carries per read and write when it copies them.
inline constexpr size_t kFileMoveChunkBytes = size_t{4} << 20;

/// One stretch of bytes a file moves inside itself.
struct ByteMove {
  uint64_t from = 0;
  uint64_t to = 0;
  uint64_t length = 0;
};

/// An open binary file, held unshared until it is destroyed.
class File {
 public:
  virtual ~File() = default;

  /// Reads up to `size` bytes from byte `offset` into `data`; `*got` tells
  /// how many arrived (fewer only at the end of the file). False on an error.
  virtual bool ReadAt(uint64_t offset, void* data, size_t size,
                      size_t* got) = 0;

  /// Writes all `size` bytes at byte `offset`, growing the file as needed.
  /// False unless every byte was written.
  virtual bool WriteAt(uint64_t offset, const void* data, size_t size) = 0;

  /// Stores the file's length in bytes in `*length`. False on an error.
  virtual bool Length(uint64_t* length) = 0;

  /// Makes the file exactly `length` bytes long: cuts it, or grows it with
  /// zero bytes. False on an error.
  virtual bool Resize(uint64_t length) = 0;

  /// Returns only once the bytes written and the length are on the disk, so
  /// that a crash after it cannot lose them. False on an error, and for a
  /// file opened for reading only, which Windows refuses to flush.
  virtual bool Flush() = 0;

  /// Makes the `length` bytes at offset `to` what the `length` bytes at
  /// offset `from` were before the call, even where the two overlap, growing
  /// the file as needed; the source must lie inside the file. By default
  /// through one buffer of at most kFileMoveChunkBytes, front to back (back
  /// to front when the destination overlaps the source's later bytes); a
  /// file that can move bytes without carrying them overrides it. When
  /// `written` is given it tells how many bytes were written before the move
  /// ended (a failed write may have stored part of its bytes as well).
  virtual TransferOutcome MoveBytes(uint64_t from, uint64_t to, uint64_t length,
                                    uint64_t* written);

  /// Announces the MoveBytes calls about to be made, in the order they will
  /// run, before the first of them: a file that must be able to put moved
  /// bytes back prepares once for all of them. False if they must not be
  /// made; by default true, and nothing happens.
  virtual bool ExpectMoves(const std::vector<ByteMove>& moves);
};

/// The file and folder operations the engine uses, with Windows meaning.
/// Paths are 8-bit text with backslash separators; a path that does not
/// begin with a backslash or a drive is relative to the current folder.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  /// The attributes of the file or folder `path` names, or kNoSuchFile; a
  /// path ending in a backslash names only a folder. A file with no
  /// attribute set reads as kAttrNormal on Windows; Wine and the Linux
  /// backend report kAttrArchive on every file instead, and names that
  /// begin with "." as hidden.
  virtual uint32_t AttributesOf(const std::string& path) = 0;

  /// Sets the read-only, hidden, system and archive bits to `attributes`
  /// (0 clears them all). False if `path` names nothing or the OS refuses.
  /// Read-only on a folder is not portable: Wine and Linux ignore it.
  virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;

  /// Opens `path` unshared: while the returned file lives, every other open
  /// of the same file fails with kSharingViolation (on Linux, only opens
  /// made by this process are known). A folder is refused
  /// (kAccessDenied), so is writing to a read-only file, and so is kCreate
  /// of an existing hidden or system file, as Windows does even for root.
  /// On failure returns null and, when `status` is given, says why.
  virtual std::unique_ptr<File> Open(const std::string& path, OpenMode mode,
                                     FsStatus* status) = 0;

  /// Copies file `from` to `to`, replacing an existing file `to`; the copy
  /// gets the source's attributes. False if anything failed, if either file
  /// is held open, if `from` is a folder, or if `to` is a folder, read-only,
  /// `from` itself, or hidden or system while `from` is not.
  virtual bool CopyOver(const std::string& from, const std::string& to) = 0;

  /// Renames file `from` to `to` in one step, replacing an existing `to`,
  /// so that `to` is never missing on the way, and on the disk when it
  /// returns true. False if it failed, if either is held open, or if `to` is
  /// read-only or a folder; also, when the rename was made but could not be
  /// put on the disk, in which case `to` may already have the new content.
  virtual bool RenameOver(const std::string& from, const std::string& to) = 0;

  /// Creates the one folder `path`. False if it exists already, its parent
  /// is missing, or the OS refuses.
  virtual bool MakeFolder(const std::string& path) = 0;

  /// Deletes the file `path`. False if it is missing, a folder, read-only,
  /// held open, or cannot be deleted.
  virtual bool RemoveFile(const std::string& path) = 0;

  /// Deletes the empty folder `path`. False if it is missing, a file, not
  /// empty, or cannot be deleted.
  virtual bool RemoveFolder(const std::string& path) = 0;

  /// Replaces `entries` with every entry of folder `path` as the pattern
  /// "*.*" does ("." and ".." included, except in a drive's root on
  /// Windows), in the order the platform delivers them: Wine and the Linux
  /// backend sort them by upper-cased name. kNotFound for a missing folder
  /// or a file.
  virtual FsStatus ListFolder(const std::string& path,
                              std::vector<FolderEntry>* entries) = 0;

  /// The rules by which ListFolder orders, and AttributesOf and ListFolder
  /// mark, the names in folder `path` (which need not exist yet): Wine and
  /// the Linux backend sort and hide dot-names, Windows sorts on NTFS and
  /// keeps creation order on FAT, and hides no name for its spelling.
  virtual ListingRules ListingRulesOf(const std::string& path) = 0;

  /// The process's current folder, in engine form, without a trailing
  /// backslash (unless it is a root).
  virtual std::string CurrentFolder() = 0;

  /// Makes `path` the process's current folder. False if it failed.
  virtual bool ChangeFolder(const std::string& path) = 0;

  /// Turns a path as the user typed it for this platform (a command-line
  /// argument) into the engine's absolute form.
  virtual std::string AbsolutePath(const std::string& os_path) = 0;

  /// Takes the run lock of the existing game folder `folder`: an exclusive
  /// lock on the first byte of `folder`\QuarnUndo\run.lock (both made if
  /// missing), held until the returned lock is destroyed. While it lives,
  /// every other LockFolder of that folder fails at once, in this process or
  /// another, kSharingViolation; the operating system drops it when the
  /// process ends, however it ends. On failure returns null and, when
  /// `status` is given, says why. The lock file must not be opened
  /// otherwise.
  virtual std::unique_ptr<FolderLock> LockFolder(const std::string& folder,
                                                 FsStatus* status) = 0;

  /// Tells, changing nothing anyone could see, whether the existing file
  /// `path` could be opened for writing now as Open with kReadWrite would
  /// judge it, its read-only mark apart (the caller knows what a run made of
  /// that): kRefused for a missing file, a folder or one the OS refuses (a
  /// locked file: on Linux, immutable), kHeld for one held open. Both record
  /// the failure Open would record; kAllowed records nothing.
  virtual ProbeOutcome ProbeWrite(const std::string& path) = 0;

  /// Tells, changing nothing anyone could see, whether the existing file or
  /// folder `path` itself would let RenameOver, CopyOver, RemoveFile or
  /// RemoveFolder replace or remove it now, its read-only mark apart: kHeld
  /// for a file held open, kRefused for one the OS has locked (on Linux:
  /// immutable) or a missing one, recorded as those calls record them. Its
  /// folder is ProbeNewName's question.
  virtual ProbeOutcome ProbeReplace(const std::string& path) = 0;

  /// The words this platform's calls record for a refusal of kind
  /// `status`: kNotFound for a missing file or folder, kAccessDenied for a
  /// change that a read-only, hidden or system mark forbids,
  /// kSharingViolation for a file held open.
  virtual std::string RefusalReason(FsStatus status) = 0;

  /// Tells, changing nothing anyone could see, whether SetAttributes could
  /// change the existing file or folder `path` now; an open file does not
  /// stand in its way, a locked one does.
  virtual ProbeOutcome ProbeAttributes(const std::string& path) = 0;

  /// Tells, changing nothing anyone could see, whether a name could be made
  /// in or removed from the existing folder `folder` now (a new file or
  /// folder, a rename's ends, a deletion). kUnknown where the platform has
  /// no invisible way to ask (Windows).
  virtual ProbeOutcome ProbeNewName(const std::string& folder) = 0;

  /// Fills `space` for the disk that the existing folder `folder` lies on.
  /// False, and `space` untouched, where there is no disk to ask (memory).
  virtual bool FreeSpaceOf(const std::string& folder, DiskSpace* space) = 0;

  /// The last operation that failed, on this file system or on a file
  /// opened through it, since ClearLastError; empty if none did. A query
  /// that finds nothing (AttributesOf) is no failure. A wrapper shares the
  /// record of what it wraps.
  FsError LastError() const { return errors_->Last(); }

  /// Forgets the last failure, so that LastError tells only of later ones.
  void ClearLastError() { errors_->Clear(); }

 protected:
  FileSystem() : errors_(std::make_shared<FsErrorRecord>()) {}

  /// For a file system that works through `inner`: both record their
  /// failures in one place.
  explicit FileSystem(std::shared_ptr<FsErrorRecord> shared)
      : errors_(std::move(shared)) {}

  /// Where this file system and its files record their failures.
  const std::shared_ptr<FsErrorRecord>& errors() const { return errors_; }

  /// The record `inner` keeps, for a file system built over it.
  static std::shared_ptr<FsErrorRecord> ErrorsOf(const FileSystem& inner) {
    return inner.errors_;
  }

 private:
  std::shared_ptr<FsErrorRecord> errors_;
};

/// The real file system of the platform this program was built for.
std::unique_ptr<FileSystem> MakeNativeFileSystem();

}  // namespace quarn
