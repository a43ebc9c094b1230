#include "platform/overlay_file_system.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "platform/folder_lock.h"
#include "platform/scratch_file.h"
#include "text/ascii.h"

namespace quarn {
namespace {

constexpr uint32_t kFileBits =
    kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;
// Wine and Linux keep no read-only or archive bit on a folder.
constexpr uint32_t kFolderBits = kAttrHidden | kAttrSystem;
constexpr uint32_t kMarks = kAttrHidden | kAttrSystem;
constexpr uint32_t kReportedBits = kAttrReadOnly | kAttrHidden | kAttrSystem;

constexpr char kStoreFailed[] = "the overlay could not keep the bytes";

// To the end of a file, however long.
constexpr uint64_t kToTheEnd = std::numeric_limits<uint64_t>::max();

std::string LastComponent(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The hidden bit a name gets for its spelling where dot-names read hidden.
uint32_t DotNameMark(const std::string& name, const ListingRules& rules) {
  const bool dotted = name.size() > 1 && name[0] == '.' && name != "..";
  return dotted && rules.dot_names_hidden ? uint32_t{kAttrHidden} : 0u;
}

bool SortsBefore(const FolderEntry& a, const FolderEntry& b) {
  const std::string upper_a = ToUpperAscii(a.name);
  const std::string upper_b = ToUpperAscii(b.name);
  if (upper_a != upper_b) return upper_a < upper_b;
  return a.name < b.name;
}

// Places `own` among `names`, which keep the base's order, as the base
// would place names just made.
void PlaceOwnEntries(ListingRules::Order order, std::vector<FolderEntry> own,
                     std::vector<FolderEntry>* names) {
  if (order == ListingRules::Order::kByCreation) {
    names->insert(names->end(), own.begin(), own.end());
    return;
  }
  std::sort(own.begin(), own.end(), SortsBefore);
  std::vector<FolderEntry> merged;
  size_t next = 0;
  for (const FolderEntry& entry : *names) {
    while (next < own.size() && SortsBefore(own[next], entry)) {
      merged.push_back(own[next++]);
    }
    merged.push_back(entry);
  }
  merged.insert(merged.end(), own.begin() + next, own.end());
  *names = std::move(merged);
}

// Where the writes to an overlay file must find room: null for a file that
// takes none (opened for reading), and the folder where the undo journal of
// a real run would keep the old bytes they replace (empty: none).
struct Room {
  std::shared_ptr<OverlaySpace> space;
  std::string journal_folder;
};

class OverlayFile : public File {
 public:
  OverlayFile(std::shared_ptr<OverlayContent> content, bool writable,
              std::shared_ptr<std::set<std::string>> held, std::string key,
              std::shared_ptr<FsErrorRecord> errors, std::string path,
              Room room)
      : content_(std::move(content)),
        writable_(writable),
        held_(std::move(held)),
        key_(std::move(key)),
        errors_(std::move(errors)),
        path_(std::move(path)),
        room_(std::move(room)) {}

  ~OverlayFile() override {
    if (held_) held_->erase(key_);
  }

  bool ReadAt(uint64_t offset, void* data, size_t size, size_t* got) override {
    return content_->ReadAt(offset, data, size, got);
  }

  bool WriteAt(uint64_t offset, const void* data, size_t size) override {
    if (!writable_) return errors_->Refuse(path_, kReasonOpenedForReading);
    if (!FindRoom(offset, offset + size, offset + size)) return false;
    return content_->WriteAt(offset, data, size) ||
           errors_->Refuse(path_, kStoreFailed);
  }

  bool Length(uint64_t* length) override {
    *length = content_->Length();
    return true;
  }

  bool Resize(uint64_t length) override {
    if (!writable_) return errors_->Refuse(path_, kReasonOpenedForReading);
    if (!FindRoom(length, kToTheEnd, length)) return false;
    content_->Resize(length);
    if (room_.space) room_.space->Resize(key_, length, nullptr);
    return true;
  }

  // A dry run puts nothing on the disk, so nothing waits to reach it.
  bool Flush() override {
    return writable_ || errors_->Refuse(path_, kReasonOpenedForReading);
  }

  TransferOutcome MoveBytes(uint64_t from, uint64_t to, uint64_t length,
                            uint64_t* written) override {
    if (written != nullptr) *written = 0;
    if (!writable_) {
      errors_->Record(path_, kReasonOpenedForReading);
      return TransferOutcome::kWriteFailed;
    }
    // The journal keeps a plan of moved bytes, not the bytes.
    if (!FindRoom(0, 0, to + length)) return TransferOutcome::kWriteFailed;
    const TransferOutcome outcome =
        content_->MoveBytes(from, to, length, written);
    if (outcome == TransferOutcome::kReadFailed) {
      errors_->Record(path_, kReasonTooFar);
    } else if (outcome == TransferOutcome::kWriteFailed) {
      errors_->Record(path_, kStoreFailed);
    }
    return outcome;
  }

 private:
  std::shared_ptr<OverlayContent> content_;
  bool writable_;
  std::shared_ptr<std::set<std::string>> held_;  // null: not counted as held
  std::string key_;
  // Room for a change that replaces the old bytes in [begin, end) and
  // leaves the file at least `length` bytes long; false, the full disk
  // recorded, when there is none.
  bool FindRoom(uint64_t begin, uint64_t end, uint64_t length) {
    if (!room_.space) return true;
    std::string reason;
    if ((!room_.journal_folder.empty() &&
         !room_.space->Journal(key_, room_.journal_folder, begin, end,
                               &reason)) ||
        (length > content_->Length() &&
         !room_.space->Resize(key_, length, &reason))) {
      return errors_->Refuse(path_, reason);
    }
    return true;
  }

  std::shared_ptr<FsErrorRecord> errors_;
  std::string path_;  // as the run spelled it
  Room room_;
};

std::unique_ptr<File> MakeSystemScratchFile() {
  return MakeScratchFile(SystemTempFolder());
}

}  // namespace

OverlayFileSystem::OverlayFileSystem(FileSystem& base, uint64_t memory_limit,
                                     OverlayStore::ScratchMaker make_scratch)
    : FileSystem(ErrorsOf(base)),
      base_(base),
      store_(OverlayStore::Create(memory_limit, make_scratch
                                                    ? std::move(make_scratch)
                                                    : MakeSystemScratchFile)),
      held_(std::make_shared<std::set<std::string>>()),
      space_(std::make_shared<OverlaySpace>(base)) {}

OverlayFileSystem::~OverlayFileSystem() = default;

// ---------------------------------------------------------------------------
// What a path shows.

OverlayLocation OverlayFileSystem::Locate(const std::string& path) {
  return LocateInOverlay(path, CurrentFolder());
}

uint32_t OverlayFileSystem::ShownAttributes(const Node& node) {
  if (node.kind == Node::Kind::kFolder) {
    return kAttrDirectory | (node.attributes & kFolderBits) | node.name_marks;
  }
  const uint32_t bits = (node.attributes & kFileBits) | node.name_marks;
  return bits != 0 ? bits : kAttrNormal;
}

OverlayFileSystem::Seen OverlayFileSystem::See(const OverlayLocation& at) {
  Seen seen;
  const auto it = nodes_.find(at.key);
  if (it == nodes_.end()) {
    const bool add_backslash = at.folder_only && at.path.back() != '\\';
    seen.attributes =
        base_.AttributesOf(add_backslash ? at.path + "\\" : at.path);
    return seen;
  }
  seen.node = &it->second;
  const Node::Kind kind = seen.node->kind;
  if (kind == Node::Kind::kFolder ||
      (kind == Node::Kind::kFile && !at.folder_only)) {
    seen.attributes = ShownAttributes(*seen.node);
  }
  return seen;
}

bool OverlayFileSystem::ParentIsFolder(const OverlayLocation& at) {
  return !at.parent.empty() && See(Locate(at.parent)).IsFolder();
}

bool OverlayFileSystem::IsHeld(const OverlayLocation& at) const {
  return held_->count(at.key) != 0;
}

// The node of `at`, made if the overlay has none yet (with the name the base
// lists); an existing node keeps its name and bytes.
OverlayFileSystem::Node& OverlayFileSystem::NodeFor(const OverlayLocation& at,
                                                    Node::Kind kind,
                                                    uint32_t attributes) {
  const auto inserted = nodes_.try_emplace(at.key);
  Node& node = inserted.first->second;
  if (inserted.second) {
    node.path = at.path;
    if (!at.name.empty()) {
      node.name_marks = DotNameMark(at.name, base_.ListingRulesOf(at.parent));
    }
  }
  node.kind = kind;
  node.attributes = attributes;
  return node;
}

// `node` now shows the name `at` spells, which did not exist before, so
// listings place it where the base places a name just made.
void OverlayFileSystem::NameMade(const OverlayLocation& at, Node& node) {
  node.name = at.name;
  node.made = ++names_made_;
  node.own = true;
}

// ---------------------------------------------------------------------------
// What the disk would say.

// A missing name, or one the disk would not let be changed, is refused in
// the base's words, as the real call would.
std::string OverlayFileSystem::NotFound() {
  return base_.RefusalReason(FsStatus::kNotFound);
}

std::string OverlayFileSystem::Denied() {
  return base_.RefusalReason(FsStatus::kAccessDenied);
}

bool OverlayFileSystem::OnDisk(const Seen& seen) {
  return seen.Exists() && (seen.node == nullptr || !seen.node->own);
}

// What `probe` of the base says of `at`, a refusal recorded against
// `blamed` in the base's words. The overlay's own read of a base file is
// no hold a real run would meet.
ProbeOutcome OverlayFileSystem::AskBase(Probe probe, const OverlayLocation& at,
                                        const std::string& blamed) {
  const FsError before = LastError();
  const ProbeOutcome outcome = (base_.*probe)(at.path);
  const auto reading = base_files_.find(at.key);
  if (outcome == ProbeOutcome::kHeld && reading != base_files_.end() &&
      !reading->second.expired()) {
    errors()->Record(before.path, before.reason);
    return ProbeOutcome::kAllowed;
  }
  if (outcome == ProbeOutcome::kHeld || outcome == ProbeOutcome::kRefused) {
    errors()->Record(blamed, LastError().reason);
  }
  return outcome;
}

// False, the base's refusal recorded against `blamed` (and `*status` set),
// when `probe` says the change a real run would make to `at` on disk would
// fail there. What the platform cannot probe is noted for the report.
bool OverlayFileSystem::BaseAllows(Probe probe, const OverlayLocation& at,
                                   const Seen& seen, const std::string& blamed,
                                   FsStatus* status) {
  if (!OnDisk(seen)) return true;
  switch (AskBase(probe, at, blamed)) {
    case ProbeOutcome::kAllowed:
      return true;
    case ProbeOutcome::kUnknown:
      if (std::find(unprobed_.begin(), unprobed_.end(), at.path) ==
          unprobed_.end()) {
        unprobed_.push_back(at.path);
      }
      return true;
    case ProbeOutcome::kHeld:
      if (status != nullptr) *status = FsStatus::kSharingViolation;
      return false;
    case ProbeOutcome::kRefused:
      break;
  }
  if (status != nullptr) *status = FsStatus::kAccessDenied;
  return false;
}

// BaseAllows for a name made in or removed from the folder holding `at`.
bool OverlayFileSystem::FolderAllows(const OverlayLocation& at,
                                     const std::string& blamed,
                                     FsStatus* status) {
  if (at.parent.empty()) return true;
  const OverlayLocation folder = Locate(at.parent);
  return BaseAllows(&FileSystem::ProbeNewName, folder, See(folder), blamed,
                    status);
}

// Starts counting the room file `at` takes, at what it took on disk before
// the run.
void OverlayFileSystem::CountRoom(const OverlayLocation& at) {
  if (space_->Tracks(at.key)) return;
  const uint32_t before = base_.AttributesOf(at.path);
  uint64_t length = 0;
  if (before != kNoSuchFile && (before & kAttrDirectory) == 0) {
    const FsError kept = LastError();
    const std::shared_ptr<BaseBytes> bytes = BaseBytesOf(at, nullptr);
    if (bytes) length = bytes->length;
    errors()->Record(kept.path, kept.reason);
  }
  space_->Track(at.key, at.parent, length);
}

// The real run's journal keeps what the run changes inside the game
// folder, apart from the journal's own folder; it lies in that folder. The
// game folder, or empty when the journal keeps nothing of `at`.
std::string OverlayFileSystem::JournalFolderOf(const OverlayLocation& at) {
  const std::string game = journal_game_ ? journal_game_() : std::string();
  if (game.empty()) return "";
  const OverlayLocation folder = Locate(game);
  return JournalKeeps(WithTrailingBackslash(folder.key), at.key) ? folder.path
                                                                 : "";
}

// Room for file `at` to be `length` bytes long, after the journal kept its
// old bytes whole if `journal_whole`; false, the full disk recorded against
// `blamed`, when there is none.
bool OverlayFileSystem::RoomFor(const OverlayLocation& at,
                                const std::string& blamed, uint64_t length,
                                bool journal_whole) {
  CountRoom(at);
  const std::string journal = journal_whole ? JournalFolderOf(at) : "";
  std::string reason;
  if ((!journal.empty() &&
       !space_->Journal(at.key, journal, 0, kToTheEnd, &reason)) ||
      !space_->Resize(at.key, length, &reason)) {
    return errors()->Refuse(blamed, reason);
  }
  return true;
}

void OverlayFileSystem::CountJournalOf(
    std::function<std::string()> game_folder) {
  journal_game_ = std::move(game_folder);
}

// ---------------------------------------------------------------------------
// Bytes.

std::shared_ptr<BaseBytes> OverlayFileSystem::BaseBytesOf(
    const OverlayLocation& at, FsStatus* status) {
  FsStatus unused;
  if (status == nullptr) status = &unused;
  std::weak_ptr<BaseBytes>& cached = base_files_[at.key];
  if (std::shared_ptr<BaseBytes> bytes = cached.lock()) return bytes;
  auto bytes = std::make_shared<BaseBytes>();
  // Opened once and shared: the base refuses a second unshared open.
  bytes->file = base_.Open(at.path, OpenMode::kRead, status);
  if (!bytes->file) return nullptr;
  if (!bytes->file->Length(&bytes->length)) {
    *status = FsStatus::kOtherError;
    return nullptr;
  }
  cached = bytes;
  return bytes;
}

std::shared_ptr<OverlayContent> OverlayFileSystem::FileContent(
    const OverlayLocation& at, Node& node, FsStatus* status) {
  if (!node.content) {
    std::shared_ptr<BaseBytes> base = BaseBytesOf(at, status);
    if (!base) return nullptr;
    node.content = std::make_shared<OverlayContent>(store_, std::move(base));
  }
  return node.content;
}

// The bytes file `at` shows, without giving it a node of its own.
std::shared_ptr<OverlayContent> OverlayFileSystem::ContentOf(
    const OverlayLocation& at, Node* node, FsStatus* status) {
  if (node != nullptr) return FileContent(at, *node, status);
  std::shared_ptr<BaseBytes> base = BaseBytesOf(at, status);
  if (!base) return nullptr;
  return std::make_shared<OverlayContent>(store_, std::move(base));
}

std::unique_ptr<File> OverlayFileSystem::Hold(
    const OverlayLocation& at, const std::string& path,
    std::shared_ptr<OverlayContent> content, bool writable) {
  held_->insert(at.key);
  Room room;
  if (writable) {
    CountRoom(at);
    room.space = space_;
    room.journal_folder = JournalFolderOf(at);
  }
  return std::make_unique<OverlayFile>(std::move(content), writable, held_,
                                       at.key, errors(), path, room);
}

// ---------------------------------------------------------------------------
// The file system's operations.

uint32_t OverlayFileSystem::AttributesOf(const std::string& path) {
  return See(Locate(path)).attributes;
}

bool OverlayFileSystem::SetAttributes(const std::string& path,
                                      uint32_t attributes) {
  const OverlayLocation at = Locate(path);
  const Seen seen = See(at);
  if (!seen.Exists()) return errors()->Refuse(path, NotFound());
  if (!BaseAllows(&FileSystem::ProbeAttributes, at, seen, path)) return false;
  if (seen.IsFolder()) {
    NodeFor(at, Node::Kind::kFolder, attributes & kFolderBits);
  } else {
    NodeFor(at, Node::Kind::kFile, attributes & kFileBits);
  }
  return true;
}

std::unique_ptr<File> OverlayFileSystem::Open(const std::string& path,
                                              OpenMode mode, FsStatus* status) {
  FsStatus unused;
  if (status == nullptr) status = &unused;
  const OverlayLocation at = Locate(path);
  const Seen seen = See(at);
  *status = FsStatus::kOkay;
  if (!seen.Exists()) {
    if (mode != OpenMode::kCreate || at.folder_only || !ParentIsFolder(at)) {
      *status = FsStatus::kNotFound;
      errors()->Record(path, NotFound());
      return nullptr;
    }
    if (!FolderAllows(at, path, status)) return nullptr;
    Node& node = NodeFor(at, Node::Kind::kFile, kAttrArchive);
    NameMade(at, node);
    node.content = std::make_shared<OverlayContent>(store_);
    return Hold(at, path, node.content, true);
  }
  const bool writing = mode != OpenMode::kRead;
  // As Windows: no folder, no writing to a read-only file, and no emptying
  // of a hidden or system one.
  if (seen.IsFolder() || (writing && (seen.attributes & kAttrReadOnly)) ||
      (mode == OpenMode::kCreate && (seen.attributes & kMarks))) {
    *status = FsStatus::kAccessDenied;
    errors()->Record(path, seen.IsFolder() ? kReasonIsFolder : Denied());
    return nullptr;
  }
  if (IsHeld(at)) {
    *status = FsStatus::kSharingViolation;
    errors()->Record(path, kReasonHeld);
    return nullptr;
  }
  if (writing && !BaseAllows(&FileSystem::ProbeWrite, at, seen, path, status)) {
    return nullptr;
  }
  // Emptied, its old bytes are what the journal keeps.
  if (mode == OpenMode::kCreate && !RoomFor(at, path, 0, true)) {
    *status = FsStatus::kOtherError;
    return nullptr;
  }
  std::shared_ptr<OverlayContent> content;
  if (mode == OpenMode::kCreate) {
    Node& node = NodeFor(at, Node::Kind::kFile, kAttrArchive);
    node.content = std::make_shared<OverlayContent>(store_);
    content = node.content;
  } else {
    content = ContentOf(at, seen.node, status);
    if (content && writing && seen.node == nullptr) {
      NodeFor(at, Node::Kind::kFile, seen.attributes & kFileBits).content =
          content;
    }
  }
  if (!content) return nullptr;
  return Hold(at, path, std::move(content), writing);
}

bool OverlayFileSystem::CopyOver(const std::string& from,
                                 const std::string& to) {
  const OverlayLocation source = Locate(from);
  const OverlayLocation target = Locate(to);
  const Seen original = See(source);
  const Seen replaced = See(target);
  if (!original.IsFile()) {
    return errors()->Refuse(from,
                            original.IsFolder() ? kReasonIsFolder : NotFound());
  }
  if (IsHeld(source)) return errors()->Refuse(from, kReasonHeld);
  if (target.folder_only) return errors()->Refuse(to, kReasonBadName);
  if (replaced.IsFolder()) return errors()->Refuse(to, kReasonIsFolder);
  if (replaced.Exists()) {
    // As Windows: never onto itself, a read-only or held file, or a hidden
    // or system file from one without those marks.
    const uint32_t marks_lost =
        replaced.attributes & ~original.attributes & kMarks;
    if (target.key == source.key) return errors()->Refuse(to, kReasonSameFile);
    if (replaced.attributes & kAttrReadOnly) {
      return errors()->Refuse(to, Denied());
    }
    if (IsHeld(target)) return errors()->Refuse(to, kReasonHeld);
    if (marks_lost != 0) return errors()->Refuse(to, Denied());
    if (!BaseAllows(&FileSystem::ProbeReplace, target, replaced, to)) {
      return false;
    }
  } else if (!ParentIsFolder(target)) {
    return errors()->Refuse(to, NotFound());
  }
  // The copy is made beside the target, which it then replaces.
  if (!FolderAllows(target, to)) return false;
  const std::shared_ptr<OverlayContent> content =
      ContentOf(source, original.node, nullptr);
  if (!content) return false;
  // The journal keeps the old target first; then the copy and the old
  // target are on disk together until the rename.
  CountRoom(target);
  const std::string journal =
      replaced.Exists() ? JournalFolderOf(target) : std::string();
  std::string reason;
  if ((!journal.empty() &&
       !space_->Journal(target.key, journal, 0, kToTheEnd, &reason)) ||
      !space_->Fits(target.key, content->Length(), &reason)) {
    return errors()->Refuse(to, reason);
  }
  space_->Resize(target.key, content->Length(), &reason);
  const uint32_t attributes =
      original.node ? original.node->attributes : original.attributes;
  Node& copy = NodeFor(target, Node::Kind::kFile, attributes & kFileBits);
  if (!replaced.Exists()) NameMade(target, copy);
  copy.own = true;
  copy.content = std::make_shared<OverlayContent>(*content);
  return true;
}

bool OverlayFileSystem::RenameOver(const std::string& from,
                                   const std::string& to) {
  const OverlayLocation source = Locate(from);
  const OverlayLocation target = Locate(to);
  const Seen moving = See(source);
  if (!moving.IsFile()) {
    return errors()->Refuse(from,
                            moving.IsFolder() ? kReasonIsFolder : NotFound());
  }
  if (IsHeld(source)) return errors()->Refuse(from, kReasonHeld);
  if (target.folder_only) return errors()->Refuse(to, kReasonBadName);
  const uint32_t attributes =
      (moving.node ? moving.node->attributes : moving.attributes) & kFileBits;
  if (target.key == source.key) {
    // Only the letter case changes.
    if (!BaseAllows(&FileSystem::ProbeReplace, source, moving, to) ||
        !FolderAllows(source, to)) {
      return false;
    }
    NodeFor(source, Node::Kind::kFile, attributes).name = target.name;
    return true;
  }
  const Seen replaced = See(target);
  if (replaced.IsFolder()) return errors()->Refuse(to, kReasonIsFolder);
  if (replaced.Exists() && (replaced.attributes & kAttrReadOnly)) {
    return errors()->Refuse(to, Denied());
  }
  if (replaced.Exists() && IsHeld(target)) {
    return errors()->Refuse(to, kReasonHeld);
  }
  if (!replaced.Exists() && !ParentIsFolder(target)) {
    return errors()->Refuse(to, NotFound());
  }
  // The rename meets both names and both folders on disk.
  if (!BaseAllows(&FileSystem::ProbeReplace, source, moving, to) ||
      !BaseAllows(&FileSystem::ProbeReplace, target, replaced, to) ||
      !FolderAllows(source, to) ||
      (source.parent != target.parent && !FolderAllows(target, to))) {
    return false;
  }
  std::shared_ptr<OverlayContent> content =
      ContentOf(source, moving.node, nullptr);
  if (!content) return false;
  // The journal keeps both names' old bytes; the moved bytes take no more.
  if (!RoomFor(source, to, content->Length(), true) ||
      !RoomFor(target, to, 0, replaced.Exists())) {
    return false;
  }
  space_->Move(source.key, target.key);
  Node& moved = NodeFor(target, Node::Kind::kFile, attributes);
  if (!replaced.Exists()) NameMade(target, moved);
  moved.own = true;
  moved.content = std::move(content);
  NodeFor(source, Node::Kind::kDeleted, 0).content.reset();
  return true;
}

bool OverlayFileSystem::MakeFolder(const std::string& path) {
  OverlayLocation at = Locate(path);
  at.folder_only = false;  // "x\" is made as "x", if no file is named so
  if (at.name.empty() || See(at).Exists()) {
    return errors()->Refuse(path, kReasonExists);
  }
  if (!ParentIsFolder(at)) return errors()->Refuse(path, NotFound());
  if (!FolderAllows(at, path)) return false;
  Node& node = NodeFor(at, Node::Kind::kFolder, 0);
  NameMade(at, node);
  node.content.reset();
  return true;
}

bool OverlayFileSystem::RemoveFile(const std::string& path) {
  const OverlayLocation at = Locate(path);
  const Seen seen = See(at);
  if (!seen.IsFile()) {
    return errors()->Refuse(path,
                            seen.IsFolder() ? kReasonIsFolder : NotFound());
  }
  if (seen.attributes & kAttrReadOnly) {
    return errors()->Refuse(path, Denied());
  }
  if (IsHeld(at)) return errors()->Refuse(path, kReasonHeld);
  if (!BaseAllows(&FileSystem::ProbeReplace, at, seen, path) ||
      !FolderAllows(at, path) || !RoomFor(at, path, 0, true)) {
    return false;
  }
  NodeFor(at, Node::Kind::kDeleted, 0).content.reset();
  return true;
}

bool OverlayFileSystem::RemoveFolder(const std::string& path) {
  const OverlayLocation at = Locate(path);
  const Seen seen = See(at);
  if (!seen.IsFolder()) {
    return errors()->Refuse(path,
                            seen.IsFile() ? kReasonNotFolder : NotFound());
  }
  std::vector<FolderEntry> entries;
  if (at.name.empty() || ListFolder(path, &entries) != FsStatus::kOkay) {
    return errors()->Refuse(path, kReasonNotFolder);
  }
  for (const FolderEntry& entry : entries) {
    if (entry.name != "." && entry.name != "..") {
      return errors()->Refuse(path, kReasonNotEmpty);
    }
  }
  if (!BaseAllows(&FileSystem::ProbeReplace, at, seen, path) ||
      !FolderAllows(at, path)) {
    return false;
  }
  NodeFor(at, Node::Kind::kDeleted, 0).content.reset();
  return true;
}

// The entries of `folder` whose names the run made, or that the base no
// longer lists (`listed`, by key), in the order they were made.
std::vector<FolderEntry> OverlayFileSystem::OwnEntries(
    const OverlayLocation& folder, const std::set<std::string>& listed) {
  const std::string prefix =
      folder.key.back() == '\\' ? folder.key : folder.key + "\\";
  std::vector<const Node*> own;
  for (auto it = nodes_.lower_bound(prefix);
       it != nodes_.end() && it->first.compare(0, prefix.size(), prefix) == 0;
       ++it) {
    const Node& node = it->second;
    if (it->first.find('\\', prefix.size()) == std::string::npos &&
        node.kind != Node::Kind::kDeleted &&
        (node.made != 0 || listed.count(it->first) == 0)) {
      own.push_back(&node);
    }
  }
  std::stable_sort(own.begin(), own.end(), [](const Node* a, const Node* b) {
    return a->made < b->made;
  });
  std::vector<FolderEntry> entries;
  for (const Node* node : own) {
    const std::string name =
        node->name.empty() ? LastComponent(node->path) : node->name;
    entries.push_back(FolderEntry{name, ShownAttributes(*node)});
  }
  return entries;
}

FsStatus OverlayFileSystem::ListFolder(const std::string& path,
                                       std::vector<FolderEntry>* entries) {
  entries->clear();
  OverlayLocation at = Locate(path);
  at.folder_only = false;
  const Seen seen = See(at);
  if (!seen.IsFolder()) {
    errors()->Record(path, NotFound());
    return FsStatus::kNotFound;
  }
  const uint32_t parent_attributes =
      at.parent.empty() ? kAttrDirectory : See(Locate(at.parent)).attributes;

  std::vector<FolderEntry> base_entries;
  const FsError before = LastError();
  const FsStatus status = base_.ListFolder(at.path, &base_entries);
  if (status != FsStatus::kOkay) {
    // A folder made by the run holds nothing else on disk.
    if (seen.node == nullptr || status != FsStatus::kNotFound) return status;
    base_entries = {FolderEntry{".", 0}, FolderEntry{"..", 0}};
    errors()->Record(before.path, before.reason);  // no failure of ours
  }
  const std::string prefix = at.key.back() == '\\' ? at.key : at.key + "\\";
  std::vector<FolderEntry> specials;
  std::vector<FolderEntry> names;
  std::set<std::string> listed;
  for (const FolderEntry& entry : base_entries) {
    if (entry.name == "." || entry.name == "..") {
      const bool self = entry.name == ".";
      specials.push_back(
          FolderEntry{entry.name, self ? seen.attributes : parent_attributes});
      continue;
    }
    const std::string key = prefix + ToUpperAscii(entry.name);
    listed.insert(key);
    const auto it = nodes_.find(key);
    if (it == nodes_.end()) {
      names.push_back(entry);
    } else if (it->second.kind != Node::Kind::kDeleted &&
               it->second.made == 0) {
      const Node& node = it->second;
      names.push_back(FolderEntry{node.name.empty() ? entry.name : node.name,
                                  ShownAttributes(node)});
    }
  }
  PlaceOwnEntries(base_.ListingRulesOf(at.path).order, OwnEntries(at, listed),
                  &names);
  *entries = std::move(specials);
  entries->insert(entries->end(), names.begin(), names.end());
  return FsStatus::kOkay;
}

ListingRules OverlayFileSystem::ListingRulesOf(const std::string& path) {
  return base_.ListingRulesOf(Locate(path).path);
}

std::string OverlayFileSystem::CurrentFolder() {
  return own_current_folder_.empty() ? base_.CurrentFolder()
                                     : own_current_folder_;
}

bool OverlayFileSystem::ChangeFolder(const std::string& path) {
  const OverlayLocation at = Locate(path);
  if (!See(at).IsFolder()) return errors()->Refuse(path, NotFound());
  // The process follows where it can, so the base's relative paths agree.
  const FsError before = LastError();
  if (base_.ChangeFolder(at.path)) {
    own_current_folder_.clear();
  } else {
    own_current_folder_ = at.path;
    errors()->Record(before.path, before.reason);  // no failure of ours
  }
  return true;
}

std::string OverlayFileSystem::AbsolutePath(const std::string& os_path) {
  return base_.AbsolutePath(os_path);
}

std::unique_ptr<FolderLock> OverlayFileSystem::LockFolder(
    const std::string& folder, FsStatus* status) {
  FsStatus unused;
  if (status == nullptr) status = &unused;
  const OverlayLocation at = Locate(folder);
  if (!See(at).IsFolder()) {
    *status = FsStatus::kNotFound;
    errors()->Record(folder, NotFound());
    return nullptr;
  }
  return locks_.Take(at.key, folder, *errors(), status);
}

// The overlay's probes judge as its calls do: what the run made is judged
// here, what it met on disk by the base.
ProbeOutcome OverlayFileSystem::ProbeWrite(const std::string& path) {
  const OverlayLocation at = Locate(path);
  const Seen seen = See(at);
  if (!seen.IsFile()) {
    errors()->Record(path, seen.Exists() ? kReasonIsFolder : NotFound());
    return ProbeOutcome::kRefused;
  }
  if (IsHeld(at)) {
    errors()->Record(path, kReasonHeld);
    return ProbeOutcome::kHeld;
  }
  return OnDisk(seen) ? AskBase(&FileSystem::ProbeWrite, at, path)
                      : ProbeOutcome::kAllowed;
}

ProbeOutcome OverlayFileSystem::ProbeReplace(const std::string& path) {
  const OverlayLocation at = Locate(path);
  const Seen seen = See(at);
  if (!seen.Exists()) {
    errors()->Record(path, NotFound());
    return ProbeOutcome::kRefused;
  }
  if (seen.IsFile() && IsHeld(at)) {
    errors()->Record(path, kReasonHeld);
    return ProbeOutcome::kHeld;
  }
  return OnDisk(seen) ? AskBase(&FileSystem::ProbeReplace, at, path)
                      : ProbeOutcome::kAllowed;
}

std::string OverlayFileSystem::RefusalReason(FsStatus status) {
  return base_.RefusalReason(status);
}

ProbeOutcome OverlayFileSystem::ProbeAttributes(const std::string& path) {
  const OverlayLocation at = Locate(path);
  const Seen seen = See(at);
  if (!seen.Exists()) {
    errors()->Record(path, NotFound());
    return ProbeOutcome::kRefused;
  }
  return OnDisk(seen) ? AskBase(&FileSystem::ProbeAttributes, at, path)
                      : ProbeOutcome::kAllowed;
}

ProbeOutcome OverlayFileSystem::ProbeNewName(const std::string& folder) {
  const OverlayLocation at = Locate(folder);
  const Seen seen = See(at);
  if (!seen.IsFolder()) {
    errors()->Record(folder, seen.Exists() ? kReasonNotFolder : NotFound());
    return ProbeOutcome::kRefused;
  }
  return OnDisk(seen) ? AskBase(&FileSystem::ProbeNewName, at, folder)
                      : ProbeOutcome::kAllowed;
}

bool OverlayFileSystem::FreeSpaceOf(const std::string& folder,
                                    DiskSpace* space) {
  return space_->FreeSpaceOf(Locate(folder).path, space);
}

// ---------------------------------------------------------------------------
// What changed.

bool OverlayFileSystem::Describe(const Node& node, OverlayChange* change) {
  const OverlayLocation at = Locate(node.path);
  const uint32_t before = base_.AttributesOf(node.path);
  const bool was_folder = before != kNoSuchFile && (before & kAttrDirectory);
  const bool was_file = before != kNoSuchFile && !was_folder;
  std::shared_ptr<BaseBytes> original;
  if (was_file) original = BaseBytesOf(at, nullptr);
  change->path = node.path;
  change->attributes_before =
      was_file || was_folder ? before & kReportedBits : 0;
  change->size_before = original ? original->length : 0;
  switch (node.kind) {
    case Node::Kind::kDeleted:
      change->what = OverlayChange::What::kFileDeleted;
      change->bytes_changed = true;
      return was_file;
    case Node::Kind::kFolder:
      change->attributes_after = ShownAttributes(node) & kReportedBits;
      if (!was_folder) {
        change->what = OverlayChange::What::kFolderCreated;
        return true;
      }
      change->what = OverlayChange::What::kFolderChanged;
      return change->attributes_after != change->attributes_before;
    case Node::Kind::kFile:
      break;
  }
  change->attributes_after = ShownAttributes(node) & kReportedBits;
  change->size_after =
      node.content ? node.content->Length() : change->size_before;
  if (!was_file) {
    change->what = OverlayChange::What::kFileCreated;
    change->bytes_changed = true;
    return true;
  }
  change->what = OverlayChange::What::kFileChanged;
  change->bytes_changed = node.content && node.content->DiffersFrom(original);
  return change->bytes_changed ||
         change->attributes_after != change->attributes_before;
}

std::vector<OverlayChange> OverlayFileSystem::Changes() {
  std::vector<OverlayChange> changes;
  for (const auto& keyed : nodes_) {
    OverlayChange change;
    if (Describe(keyed.second, &change)) changes.push_back(change);
  }
  return changes;
}

bool OverlayFileSystem::ShowsOriginal(const std::string& path, uint64_t offset,
                                      const std::string& original,
                                      uint64_t original_offset,
                                      uint64_t length) {
  const OverlayLocation at = Locate(path);
  const Seen seen = See(at);
  if (!seen.IsFile()) return false;
  const std::shared_ptr<OverlayContent> content =
      ContentOf(at, seen.node, nullptr);
  return content && content->ShowsOriginal(
                        offset, length, BaseBytesOf(Locate(original), nullptr),
                        original_offset);
}

std::unique_ptr<File> OverlayFileSystem::OpenOriginal(const std::string& path) {
  std::shared_ptr<BaseBytes> base = BaseBytesOf(Locate(path), nullptr);
  if (!base) return nullptr;
  return std::make_unique<OverlayFile>(
      std::make_shared<OverlayContent>(store_, std::move(base)), false, nullptr,
      std::string(), errors(), path, Room());
}

}  // namespace quarn
