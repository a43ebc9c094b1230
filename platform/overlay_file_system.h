// A file system that lets a run do everything it would do, without changing
// anything on disk: every change is kept in the overlay, and every question
// is answered as it would be after those changes.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/folder_lock_table.h"
#include "platform/overlay_content.h"
#include "platform/overlay_location.h"
#include "platform/overlay_space.h"
#include "platform/overlay_store.h"

namespace quarn {

/// Written bytes kept in memory by default; more go to the scratch file.
inline constexpr uint64_t kOverlayMemoryLimit = uint64_t{64} << 20;

/// One change the overlay holds, as it would show on disk.
struct OverlayChange {
  enum class What {
    kFileCreated,
    kFileChanged,  ///< its bytes, its attributes or both
    kFileDeleted,
    kFolderCreated,
    kFolderChanged,  ///< its attributes
  };
  What what = What::kFileChanged;
  std::string path;                ///< as the run first named it
  uint64_t size_before = 0;        ///< 0 for a new file
  uint64_t size_after = 0;         ///< 0 for a deleted file
  uint32_t attributes_before = 0;  ///< read-only, hidden and system bits
  uint32_t attributes_after = 0;   ///< read-only, hidden and system bits
  bool bytes_changed = false;
};

/// Reads through to `base`; keeps every write, resize, rename, deletion,
/// attribute change and new folder to itself. Opens are unshared among its
/// own files. A file copied or renamed shows the base file's bytes until
/// they are overwritten, and bytes moved by File::MoveBytes are not carried,
/// so nothing is read whole into memory. A listing keeps the base's order
/// and attributes for what the base holds. A change that would meet a file
/// or folder on disk is first probed there (locked, held open, a folder
/// that takes no new name), and a write is refused when the disk could not
/// hold what the run has added by then, each failing as the real change
/// would, in the base's words. Not for two threads at once; it must outlive
/// its files.
class OverlayFileSystem : public FileSystem {
 public:
  /// An overlay over `base`, which must outlive it, keeping up to
  /// `memory_limit` written bytes in memory and the rest in a scratch file
  /// made by `make_scratch` (by default in the system's temporary folder).
  explicit OverlayFileSystem(FileSystem& base,
                             uint64_t memory_limit = kOverlayMemoryLimit,
                             OverlayStore::ScratchMaker make_scratch = {});
  ~OverlayFileSystem() override;

  uint32_t AttributesOf(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode,
                             FsStatus* status) override;
  bool CopyOver(const std::string& from, const std::string& to) override;
  /// As FileSystem::RenameOver, for files only: a folder is refused.
  bool RenameOver(const std::string& from, const std::string& to) override;
  bool MakeFolder(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  FsStatus ListFolder(const std::string& path,
                      std::vector<FolderEntry>* entries) override;
  /// The base's rules, by which the overlay also lists and marks the names
  /// the run made.
  ListingRules ListingRulesOf(const std::string& path) override;
  std::string CurrentFolder() override;
  bool ChangeFolder(const std::string& path) override;
  /// As the base does it, against the base's current folder.
  std::string AbsolutePath(const std::string& os_path) override;
  /// A dry run changes nothing, so it takes no lock of the operating
  /// system's, makes no lock file and does not wait for a real run: the
  /// lock is known to this overlay alone.
  std::unique_ptr<FolderLock> LockFolder(const std::string& folder,
                                         FsStatus* status) override;

  ProbeOutcome ProbeWrite(const std::string& path) override;
  ProbeOutcome ProbeReplace(const std::string& path) override;
  std::string RefusalReason(FsStatus status) override;
  ProbeOutcome ProbeAttributes(const std::string& path) override;
  ProbeOutcome ProbeNewName(const std::string& folder) override;
  /// The base's room, less what the changes held here would take.
  bool FreeSpaceOf(const std::string& folder, DiskSpace* space) override;

  /// Counts, against the disk's room, what the undo journal of a real run
  /// would keep of the bytes the run replaces, removes or overwrites inside
  /// the game folder `game_folder` names at the time (ending in a
  /// backslash; empty for none), its own QuarnUndo folder apart.
  void CountJournalOf(std::function<std::string()> game_folder);

  /// The paths the real run would have met a check on that this platform
  /// cannot make without a change anyone could see (ProbeOutcome::kUnknown),
  /// once each, in the order the run met them.
  const std::vector<std::string>& Unprobed() const { return unprobed_; }

  /// Every change the overlay holds, in order of path; a file created and
  /// deleted again, or written back as it was, is none.
  std::vector<OverlayChange> Changes();

  /// The file `path` as it is on disk, unchanged by the overlay, for
  /// reading only. Null if it cannot be opened.
  std::unique_ptr<File> OpenOriginal(const std::string& path);

  /// True when `length` bytes of file `path` from `offset` are known,
  /// without reading them, to be the bytes on disk of file `original` from
  /// `original_offset` (unwritten, or moved there unchanged).
  bool ShowsOriginal(const std::string& path, uint64_t offset,
                     const std::string& original, uint64_t original_offset,
                     uint64_t length);

  /// How much written data is kept, and where.
  OverlayStoreStats StoreStats() const { return store_->Stats(); }

 private:
  // What the overlay holds for one path.
  struct Node {
    enum class Kind { kDeleted, kFile, kFolder };
    Kind kind = Kind::kDeleted;
    std::string path;         // as the run first named it
    std::string name;         // as listed; empty: the name the base lists
    uint32_t attributes = 0;  // the settable bits
    uint32_t name_marks = 0;  // hidden for its spelling, where the base is so
    // When the run made the name, counted from 1; 0: the base lists it.
    uint64_t made = 0;
    // The file or folder is one the run made, not the one on disk.
    bool own = false;
    // A file's bytes; null: the base file's own bytes at `path`.
    std::shared_ptr<OverlayContent> content;
  };
  // What a path shows: its attributes (kNoSuchFile if nothing) and its
  // node, if the overlay holds one.
  struct Seen {
    uint32_t attributes = kNoSuchFile;
    Node* node = nullptr;
    bool Exists() const { return attributes != kNoSuchFile; }
    bool IsFolder() const {
      return Exists() && (attributes & kAttrDirectory) != 0;
    }
    bool IsFile() const { return Exists() && !IsFolder(); }
  };

  using Probe = ProbeOutcome (FileSystem::*)(const std::string&);

  static uint32_t ShownAttributes(const Node& node);
  static bool OnDisk(const Seen& seen);
  std::string NotFound();
  std::string Denied();
  bool BaseAllows(Probe probe, const OverlayLocation& at, const Seen& seen,
                  const std::string& blamed, FsStatus* status = nullptr);
  bool FolderAllows(const OverlayLocation& at, const std::string& blamed,
                    FsStatus* status = nullptr);
  ProbeOutcome AskBase(Probe probe, const OverlayLocation& at,
                       const std::string& blamed);
  void CountRoom(const OverlayLocation& at);
  std::string JournalFolderOf(const OverlayLocation& at);
  bool RoomFor(const OverlayLocation& at, const std::string& blamed,
               uint64_t length, bool journal_whole);
  OverlayLocation Locate(const std::string& path);
  Seen See(const OverlayLocation& at);
  bool ParentIsFolder(const OverlayLocation& at);
  bool IsHeld(const OverlayLocation& at) const;
  Node& NodeFor(const OverlayLocation& at, Node::Kind kind,
                uint32_t attributes);
  void NameMade(const OverlayLocation& at, Node& node);
  std::shared_ptr<BaseBytes> BaseBytesOf(const OverlayLocation& at,
                                         FsStatus* status);
  std::shared_ptr<OverlayContent> FileContent(const OverlayLocation& at,
                                              Node& node, FsStatus* status);
  std::shared_ptr<OverlayContent> ContentOf(const OverlayLocation& at,
                                            Node* node, FsStatus* status);
  std::unique_ptr<File> Hold(const OverlayLocation& at, const std::string& path,
                             std::shared_ptr<OverlayContent> content,
                             bool writable);
  std::vector<FolderEntry> OwnEntries(const OverlayLocation& folder,
                                      const std::set<std::string>& listed);
  bool Describe(const Node& node, OverlayChange* change);

  FileSystem& base_;
  std::shared_ptr<OverlayStore> store_;
  std::map<std::string, Node> nodes_;  // by location key
  uint64_t names_made_ = 0;
  // The keys of the files held open, shared with those files.
  std::shared_ptr<std::set<std::string>> held_;
  // Base files open for reading, by key, while something shows their bytes.
  std::map<std::string, std::weak_ptr<BaseBytes>> base_files_;
  // The current folder when it exists only in the overlay.
  std::string own_current_folder_;
  FolderLockTable locks_;
  std::shared_ptr<OverlaySpace> space_;
  std::function<std::string()> journal_game_;
  std::vector<std::string> unprobed_;
};

}  // namespace quarn
