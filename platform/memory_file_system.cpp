#include "platform/memory_file_system.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <map>

#include "platform/engine_path.h"
#include "text/ascii.h"

namespace quarn {

namespace {

// Small pages keep a clone cheap: pages are shared between clones until one
// of them writes.
constexpr uint64_t kPageBytes = 4096;
using Page = std::vector<uint8_t>;

constexpr uint32_t kFileAttributes = kAttrReadOnly | kAttrHidden | kAttrSystem;

constexpr uint32_t kFolderAttributes = kAttrHidden | kAttrSystem;

// Names Windows would refuse to create; a drive or a share is made as the
// first folder.
bool IsValidName(const std::string& name, bool is_root) {
  if (is_root) return true;
  if (name.empty()) return false;
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 32) return false;
    if (std::strchr("<>:\"|?*", c) != nullptr) return false;
  }
  return true;
}

}  // namespace

struct MemoryFileSystem::Node {
  bool folder = false;
  std::string name;   // as it was created
  uint64_t made = 0;  // when its name was made, counted from 1
  uint32_t attributes = 0;
  std::map<std::string, std::shared_ptr<Node>> children;  // by upper name
  std::map<uint64_t, std::shared_ptr<Page>> pages;        // by page index
  uint64_t length = 0;
  bool held = false;

  std::shared_ptr<Node> DeepCopy() const {
    auto copy = std::make_shared<Node>(*this);
    copy->held = false;
    for (auto& child : copy->children) child.second = child.second->DeepCopy();
    return copy;
  }

  uint32_t Attributes() const {
    return folder ? kAttrDirectory | (attributes & kFolderAttributes)
                  : kAttrArchive | (attributes & kFileAttributes);
  }

  bool HiddenOrSystem() const {
    return (attributes & (kAttrHidden | kAttrSystem)) != 0;
  }

  // A page this file alone holds, so that writing to it changes no clone.
  Page& WritablePage(uint64_t index) {
    std::shared_ptr<Page>& page = pages[index];
    if (!page) {
      page = std::make_shared<Page>(kPageBytes, 0);
    } else if (page.use_count() > 1) {
      page = std::make_shared<Page>(*page);
    }
    return *page;
  }

  void Read(uint64_t offset, uint8_t* out, size_t size) const {
    while (size > 0) {
      const uint64_t index = offset / kPageBytes;
      const size_t within = static_cast<size_t>(offset % kPageBytes);
      const size_t piece = std::min<size_t>(size, kPageBytes - within);
      const auto page = pages.find(index);
      if (page == pages.end()) {
        std::memset(out, 0, piece);
      } else {
        std::memcpy(out, page->second->data() + within, piece);
      }
      out += piece;
      offset += piece;
      size -= piece;
    }
  }

  // Writing nothing does not grow the file, as on Windows and Linux.
  void Write(uint64_t offset, const uint8_t* in, size_t size) {
    if (size > 0) length = std::max(length, offset + size);
    while (size > 0) {
      const size_t within = static_cast<size_t>(offset % kPageBytes);
      const size_t piece = std::min<size_t>(size, kPageBytes - within);
      std::memcpy(WritablePage(offset / kPageBytes).data() + within, in, piece);
      in += piece;
      offset += piece;
      size -= piece;
    }
  }

  // Bytes past the new end are dropped, so growing again reads zeros.
  void Cut(uint64_t new_length) {
    if (new_length < length) {
      const uint64_t first_gone = (new_length + kPageBytes - 1) / kPageBytes;
      pages.erase(pages.lower_bound(first_gone), pages.end());
      const size_t within = static_cast<size_t>(new_length % kPageBytes);
      const auto last = pages.find(new_length / kPageBytes);
      if (within > 0 && last != pages.end()) {
        Page& page = WritablePage(last->first);
        std::fill(page.begin() + static_cast<std::ptrdiff_t>(within),
                  page.end(), 0);
      }
    }
    length = new_length;
  }

  void Empty() {
    pages.clear();
    length = 0;
  }
};

namespace {

using Node = MemoryFileSystem::Node;

class MemoryFile : public File {
 public:
  MemoryFile(std::shared_ptr<Node> node, bool writable,
             std::shared_ptr<FsErrorRecord> errors, std::string path)
      : node_(std::move(node)),
        writable_(writable),
        errors_(std::move(errors)),
        path_(std::move(path)) {
    node_->held = true;
  }
  ~MemoryFile() override { node_->held = false; }

  bool ReadAt(uint64_t offset, void* data, size_t size, size_t* got) override {
    *got = 0;
    if (offset >= node_->length) return true;
    *got =
        static_cast<size_t>(std::min<uint64_t>(size, node_->length - offset));
    node_->Read(offset, static_cast<uint8_t*>(data), *got);
    return true;
  }

  bool WriteAt(uint64_t offset, const void* data, size_t size) override {
    if (!writable_) return errors_->Refuse(path_, kReasonOpenedForReading);
    if (size > std::numeric_limits<uint64_t>::max() - offset) {
      return errors_->Refuse(path_, kReasonTooFar);
    }
    node_->Write(offset, static_cast<const uint8_t*>(data), size);
    return true;
  }

  bool Length(uint64_t* length) override {
    *length = node_->length;
    return true;
  }

  bool Resize(uint64_t length) override {
    if (!writable_) return errors_->Refuse(path_, kReasonOpenedForReading);
    node_->Cut(length);
    return true;
  }

  // Memory has no disk to reach; only the refusal is Windows'.
  bool Flush() override {
    return writable_ || errors_->Refuse(path_, kReasonOpenedForReading);
  }

 private:
  std::shared_ptr<Node> node_;
  bool writable_;  // opened for writing as well as reading
  std::shared_ptr<FsErrorRecord> errors_;
  std::string path_;  // as the engine spelled it
};

void Report(FsStatus* status, FsStatus value) {
  if (status != nullptr) *status = value;
}

// Why `node` cannot be replaced by a file whose attributes are `incoming`
// (a copy keeps the source's); null if it can.
const char* ReplaceRefusal(const Node& node, uint32_t incoming) {
  if (node.folder) return kReasonIsFolder;
  if (node.held) return kReasonHeld;
  if ((node.attributes & kAttrReadOnly) != 0) return kReasonReadOnly;
  const uint32_t marks_lost =
      node.attributes & ~incoming & (kAttrHidden | kAttrSystem);
  return marks_lost != 0 ? kReasonMarked : nullptr;
}

// Why `node` cannot be copied or moved from; null if it can.
const char* SourceRefusal(const Node* node) {
  if (node == nullptr) return kReasonNotFound;
  if (node->folder) return kReasonIsFolder;
  return node->held ? kReasonHeld : nullptr;
}

}  // namespace

// What a path leads to: the folder that holds (or would hold) its last
// name, and the node itself when it exists.
struct MemoryFileSystem::Place {
  std::vector<std::string> stored;  // the names on the way, case as stored
  Node* parent = nullptr;           // null when a folder on the way is missing
  std::shared_ptr<Node> node;
  std::string name;          // the last name as given
  bool folder_only = false;  // the path ended in a backslash
  bool is_root = false;      // the last name is a drive or a share
  bool has_root = false;     // the first name is a drive or a share
};

namespace {

// The names from the tree's root: a drive or a share is just the first
// folder.
std::vector<std::string> TreeNames(const EnginePath& path) {
  std::vector<std::string> names;
  if (!path.root.empty()) names.push_back(path.root);
  names.insert(names.end(), path.components.begin(), path.components.end());
  return names;
}

}  // namespace

MemoryFileSystem::MemoryFileSystem(ListingRules rules)
    : rules_(rules), root_(std::make_shared<Node>()) {
  root_->folder = true;
}

MemoryFileSystem::~MemoryFileSystem() = default;

std::unique_ptr<MemoryFileSystem> MemoryFileSystem::Clone() const {
  auto copy = std::make_unique<MemoryFileSystem>(rules_);
  copy->names_made_ = names_made_;
  copy->root_ = root_->DeepCopy();
  copy->current_ = current_;
  return copy;
}

// The tree's root lies above its drives, so "\x" names the root's "x" even
// while the current folder is on a drive: "\", as CurrentFolder shows the
// root, leads back to it.
EnginePath MemoryFileSystem::Parse(const std::string& path) const {
  const bool from_tree_root = !path.empty() && IsEngineSeparator(path[0]);
  return ParseEnginePath(path, from_tree_root ? "" : current_.Text());
}

MemoryFileSystem::Place MemoryFileSystem::Find(const std::string& path) const {
  Place place;
  const EnginePath parsed = Parse(path);
  const std::vector<std::string> names = TreeNames(parsed);
  place.folder_only = parsed.folder_only;
  place.has_root = !parsed.root.empty();
  if (names.empty()) {
    place.node = root_;
    return place;
  }
  Node* folder = root_.get();
  for (size_t i = 0; i + 1 < names.size(); ++i) {
    const auto next = folder->children.find(ToUpperAscii(names[i]));
    if (next == folder->children.end() || !next->second->folder) return place;
    folder = next->second.get();
    place.stored.push_back(folder->name);
  }
  place.parent = folder;
  place.name = names.back();
  place.is_root = place.has_root && names.size() == 1;
  const auto found = folder->children.find(ToUpperAscii(place.name));
  if (found != folder->children.end() &&
      (found->second->folder || !place.folder_only)) {
    place.node = found->second;
    place.stored.push_back(place.node->name);
  }
  return place;
}

uint32_t MemoryFileSystem::Shown(const Node& node) const {
  const bool dotted =
      node.name.size() > 1 && node.name[0] == '.' && node.name != "..";
  return node.Attributes() |
         (dotted && rules_.dot_names_hidden ? uint32_t{kAttrHidden} : 0u);
}

std::string MemoryFileSystem::CanonicalPath(const std::string& path) const {
  return Parse(path).Key();
}

uint32_t MemoryFileSystem::AttributesOf(const std::string& path) {
  const Place place = Find(path);
  return place.node ? Shown(*place.node) : kNoSuchFile;
}

bool MemoryFileSystem::SetAttributes(const std::string& path,
                                     uint32_t attributes) {
  const Place place = Find(path);
  if (!place.node) return errors()->Refuse(path, kReasonNotFound);
  place.node->attributes = attributes;
  return true;
}

std::unique_ptr<File> MemoryFileSystem::Open(const std::string& path,
                                             OpenMode mode, FsStatus* status) {
  const auto fail = [&](FsStatus value,
                        const char* reason) -> std::unique_ptr<File> {
    Report(status, value);
    errors()->Record(path, reason);
    return nullptr;
  };
  Place place = Find(path);
  std::shared_ptr<Node> node = place.node;
  if (!node) {
    if (place.parent == nullptr || mode != OpenMode::kCreate) {
      return fail(FsStatus::kNotFound, kReasonNotFound);
    }
    if (place.folder_only || !IsValidName(place.name, place.is_root)) {
      return fail(FsStatus::kOtherError, kReasonBadName);
    }
    node = std::make_shared<Node>();
    node->name = place.name;
    node->made = ++names_made_;
    place.parent->children[ToUpperAscii(place.name)] = node;
  }
  if (node->folder) return fail(FsStatus::kAccessDenied, kReasonIsFolder);
  if (node->held) return fail(FsStatus::kSharingViolation, kReasonHeld);
  const bool writes = mode != OpenMode::kRead;
  if (writes && (node->attributes & kAttrReadOnly) != 0) {
    return fail(FsStatus::kAccessDenied, kReasonReadOnly);
  }
  if (mode == OpenMode::kCreate && node->HiddenOrSystem()) {
    return fail(FsStatus::kAccessDenied, kReasonMarked);
  }
  if (mode == OpenMode::kCreate) node->Empty();
  Report(status, FsStatus::kOkay);
  return std::make_unique<MemoryFile>(node, writes, errors(), path);
}

bool MemoryFileSystem::CopyOver(const std::string& from,
                                const std::string& to) {
  const Place source = Find(from);
  Place target = Find(to);
  if (const char* refusal = SourceRefusal(source.node.get())) {
    return errors()->Refuse(from, refusal);
  }
  if (target.parent == nullptr) return errors()->Refuse(to, kReasonNotFound);
  std::shared_ptr<Node> node = target.node;
  if (node == source.node) return errors()->Refuse(to, kReasonSameFile);
  if (node) {
    if (const char* refusal = ReplaceRefusal(*node, source.node->attributes)) {
      return errors()->Refuse(to, refusal);
    }
  } else {
    if (target.folder_only || !IsValidName(target.name, target.is_root)) {
      return errors()->Refuse(to, kReasonBadName);
    }
    node = std::make_shared<Node>();
    node->name = target.name;
    node->made = ++names_made_;
    target.parent->children[ToUpperAscii(target.name)] = node;
  }
  node->pages = source.node->pages;
  node->length = source.node->length;
  node->attributes = source.node->attributes;
  return true;
}

bool MemoryFileSystem::RenameOver(const std::string& from,
                                  const std::string& to) {
  const Place source = Find(from);
  const Place target = Find(to);
  if (const char* refusal = SourceRefusal(source.node.get())) {
    return errors()->Refuse(from, refusal);
  }
  if (target.parent == nullptr) return errors()->Refuse(to, kReasonNotFound);
  if (target.node == source.node) {
    source.node->name = target.name;
    return true;
  }
  // A rename keeps the file's own marks, so only the other reasons count.
  constexpr uint32_t kAnyMarks = kAttrHidden | kAttrSystem;
  if (target.node) {
    if (const char* refusal = ReplaceRefusal(*target.node, kAnyMarks)) {
      return errors()->Refuse(to, refusal);
    }
  } else if (target.folder_only || !IsValidName(target.name, target.is_root)) {
    return errors()->Refuse(to, kReasonBadName);
  }
  std::shared_ptr<Node> moving = source.node;
  source.parent->children.erase(ToUpperAscii(source.name));
  moving->name = target.name;
  moving->made = target.node ? target.node->made : ++names_made_;
  target.parent->children[ToUpperAscii(target.name)] = moving;
  return true;
}

bool MemoryFileSystem::MakeFolder(const std::string& path) {
  const Place place = Find(path);
  if (place.parent == nullptr) return errors()->Refuse(path, kReasonNotFound);
  // A file of the name blocks the folder even when the path ends in "\".
  if (place.node ||
      place.parent->children.count(ToUpperAscii(place.name)) > 0) {
    return errors()->Refuse(path, kReasonExists);
  }
  if (!IsValidName(place.name, place.is_root)) {
    return errors()->Refuse(path, kReasonBadName);
  }
  auto folder = std::make_shared<Node>();
  folder->folder = true;
  folder->name = place.name;
  folder->made = ++names_made_;
  place.parent->children[ToUpperAscii(place.name)] = folder;
  return true;
}

bool MemoryFileSystem::RemoveFile(const std::string& path) {
  const Place place = Find(path);
  const char* refusal = SourceRefusal(place.node.get());
  if (refusal == nullptr && (place.node->attributes & kAttrReadOnly) != 0) {
    refusal = kReasonReadOnly;
  }
  if (refusal != nullptr) return errors()->Refuse(path, refusal);
  place.parent->children.erase(ToUpperAscii(place.name));
  return true;
}

bool MemoryFileSystem::RemoveFolder(const std::string& path) {
  const Place place = Find(path);
  if (!place.node) return errors()->Refuse(path, kReasonNotFound);
  if (!place.node->folder || place.node == root_) {
    return errors()->Refuse(path, kReasonNotFolder);
  }
  if (!place.node->children.empty()) {
    return errors()->Refuse(path, kReasonNotEmpty);
  }
  place.parent->children.erase(ToUpperAscii(place.name));
  return true;
}

FsStatus MemoryFileSystem::ListFolder(const std::string& path,
                                      std::vector<FolderEntry>* entries) {
  entries->clear();
  const Place place = Find(path);
  if (!place.node || !place.node->folder) {
    errors()->Record(path, kReasonNotFound);
    return FsStatus::kNotFound;
  }
  if (place.node != root_) {
    entries->push_back(FolderEntry{".", kAttrDirectory});
    entries->push_back(FolderEntry{"..", kAttrDirectory});
  }
  std::vector<const Node*> children;
  for (const auto& child : place.node->children) {
    children.push_back(child.second.get());
  }
  if (rules_.order == ListingRules::Order::kByCreation) {
    std::sort(children.begin(), children.end(),
              [](const Node* a, const Node* b) { return a->made < b->made; });
  }
  for (const Node* child : children) {
    entries->push_back(FolderEntry{child->name, Shown(*child)});
  }
  return FsStatus::kOkay;
}

ListingRules MemoryFileSystem::ListingRulesOf(const std::string&) {
  return rules_;
}

std::string MemoryFileSystem::CurrentFolder() { return current_.Text(); }

bool MemoryFileSystem::ChangeFolder(const std::string& path) {
  const Place place = Find(path);
  if (!place.node || !place.node->folder) {
    return errors()->Refuse(path, kReasonNotFound);
  }
  current_ = EnginePath();
  current_.components = place.stored;
  if (place.has_root) {
    current_.root = current_.components.front();
    current_.components.erase(current_.components.begin());
  }
  return true;
}

std::string MemoryFileSystem::AbsolutePath(const std::string& os_path) {
  return Parse(os_path).Text();
}

std::unique_ptr<FolderLock> MemoryFileSystem::LockFolder(
    const std::string& folder, FsStatus* status) {
  FsStatus unused;
  if (status == nullptr) status = &unused;
  const Place place = Find(folder);
  if (!place.node || (Shown(*place.node) & kAttrDirectory) == 0) {
    *status = FsStatus::kNotFound;
    errors()->Record(folder, kReasonNotFound);
    return nullptr;
  }
  return locks_.Take(CanonicalPath(folder), folder, *errors(), status);
}

// The probes judge as the calls do, in the same order, since nothing but
// this object can stand in a change's way.
ProbeOutcome MemoryFileSystem::ProbeWrite(const std::string& path) {
  const Place place = Find(path);
  const Node* node = place.node.get();
  const char* refusal = !node          ? kReasonNotFound
                        : node->folder ? kReasonIsFolder
                        : node->held   ? kReasonHeld
                                       : nullptr;
  if (refusal == nullptr) return ProbeOutcome::kAllowed;
  errors()->Record(path, refusal);
  return refusal == kReasonHeld ? ProbeOutcome::kHeld : ProbeOutcome::kRefused;
}

ProbeOutcome MemoryFileSystem::ProbeReplace(const std::string& path) {
  const Place place = Find(path);
  const Node* node = place.node.get();
  if (node && !node->held) return ProbeOutcome::kAllowed;
  errors()->Record(path, node ? kReasonHeld : kReasonNotFound);
  return node ? ProbeOutcome::kHeld : ProbeOutcome::kRefused;
}

std::string MemoryFileSystem::RefusalReason(FsStatus status) {
  switch (status) {
    case FsStatus::kNotFound:
      return kReasonNotFound;
    case FsStatus::kSharingViolation:
      return kReasonHeld;
    case FsStatus::kAccessDenied:
      return kReasonReadOnly;
    case FsStatus::kOkay:
    case FsStatus::kOtherError:
      break;
  }
  return kReasonBadName;
}

ProbeOutcome MemoryFileSystem::ProbeAttributes(const std::string& path) {
  if (Find(path).node) return ProbeOutcome::kAllowed;
  errors()->Record(path, kReasonNotFound);
  return ProbeOutcome::kRefused;
}

ProbeOutcome MemoryFileSystem::ProbeNewName(const std::string& folder) {
  const Place place = Find(folder);
  if (place.node && place.node->folder) return ProbeOutcome::kAllowed;
  errors()->Record(folder, place.node ? kReasonNotFolder : kReasonNotFound);
  return ProbeOutcome::kRefused;
}

bool MemoryFileSystem::FreeSpaceOf(const std::string&, DiskSpace*) {
  return false;
}

}  // namespace quarn
