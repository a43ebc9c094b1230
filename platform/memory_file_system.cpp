#include "platform/memory_file_system.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <map>

#include "text/ascii.h"

namespace quarn {

namespace {

// Small pages keep a clone cheap: pages are shared between clones until one
// of them writes.
constexpr uint64_t kPageBytes = 4096;
using Page = std::vector<uint8_t>;

constexpr uint32_t kFileAttributes = kAttrReadOnly | kAttrHidden | kAttrSystem;
constexpr uint32_t kFolderAttributes = kAttrHidden | kAttrSystem;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDrive(const std::string& name) {
  return name.size() == 2 && name[1] == ':' && name[0] != '\\';
}

bool StartsWithDrive(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' && !IsSeparator(path[0]);
}

// Names Windows would refuse to create.
bool IsValidName(const std::string& name, bool at_root) {
  if (name.empty()) return false;
  if (at_root && IsDrive(name)) return true;
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
  MemoryFile(std::shared_ptr<Node> node, bool writable)
      : node_(std::move(node)), writable_(writable) {
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
    if (!writable_ || size > std::numeric_limits<uint64_t>::max() - offset) {
      return false;
    }
    node_->Write(offset, static_cast<const uint8_t*>(data), size);
    return true;
  }

  bool Length(uint64_t* length) override {
    *length = node_->length;
    return true;
  }

  bool Resize(uint64_t length) override {
    if (!writable_) return false;
    node_->Cut(length);
    return true;
  }

 private:
  std::shared_ptr<Node> node_;
  bool writable_;  // opened for writing as well as reading
};

void Report(FsStatus* status, FsStatus value) {
  if (status != nullptr) *status = value;
}

// `components` joined as the engine writes an absolute path.
std::string Display(const std::vector<std::string>& components) {
  if (components.empty()) return "\\";
  std::string text = IsDrive(components[0]) ? "" : "\\";
  for (size_t i = 0; i < components.size(); ++i) {
    if (i > 0) text += '\\';
    text += components[i];
  }
  if (components.size() == 1 && IsDrive(components[0])) text += '\\';
  return text;
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
  bool at_root = false;      // the last name lies directly in the root
};

namespace {

// The names of `path` from the root, with "." and ".." resolved against
// `current` the way Windows resolves them: lexically.
std::vector<std::string> Components(const std::string& path,
                                    const std::vector<std::string>& current) {
  std::vector<std::string> names;
  const bool absolute =
      (!path.empty() && IsSeparator(path[0])) || StartsWithDrive(path);
  if (!absolute) names = current;
  size_t start = 0;
  if (StartsWithDrive(path)) {
    names.push_back(path.substr(0, 2));
    start = 2;
  }
  std::string name;
  for (size_t i = start; i <= path.size(); ++i) {
    if (i < path.size() && !IsSeparator(path[i])) {
      name += path[i];
      continue;
    }
    if (name == "..") {
      if (!names.empty()) names.pop_back();
    } else if (!name.empty() && name != ".") {
      names.push_back(name);
    }
    name.clear();
  }
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

MemoryFileSystem::Place MemoryFileSystem::Find(const std::string& path) const {
  Place place;
  const std::vector<std::string> names = Components(path, current_);
  place.folder_only = !path.empty() && IsSeparator(path.back());
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
  place.at_root = names.size() == 1;
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
  return ToUpperAscii(Display(Components(path, current_)));
}

uint32_t MemoryFileSystem::AttributesOf(const std::string& path) {
  const Place place = Find(path);
  return place.node ? Shown(*place.node) : kNoSuchFile;
}

bool MemoryFileSystem::SetAttributes(const std::string& path,
                                     uint32_t attributes) {
  const Place place = Find(path);
  if (!place.node) return false;
  place.node->attributes = attributes;
  return true;
}

std::unique_ptr<File> MemoryFileSystem::Open(const std::string& path,
                                             OpenMode mode, FsStatus* status) {
  Place place = Find(path);
  std::shared_ptr<Node> node = place.node;
  if (!node) {
    if (place.parent == nullptr || mode != OpenMode::kCreate) {
      Report(status, FsStatus::kNotFound);
      return nullptr;
    }
    if (place.folder_only || !IsValidName(place.name, place.at_root)) {
      Report(status, FsStatus::kOtherError);
      return nullptr;
    }
    node = std::make_shared<Node>();
    node->name = place.name;
    node->made = ++names_made_;
    place.parent->children[ToUpperAscii(place.name)] = node;
  }
  if (node->folder) {
    Report(status, FsStatus::kAccessDenied);
    return nullptr;
  }
  if (node->held) {
    Report(status, FsStatus::kSharingViolation);
    return nullptr;
  }
  const bool writes = mode != OpenMode::kRead;
  if ((writes && (node->attributes & kAttrReadOnly) != 0) ||
      (mode == OpenMode::kCreate && node->HiddenOrSystem())) {
    Report(status, FsStatus::kAccessDenied);
    return nullptr;
  }
  if (mode == OpenMode::kCreate) node->Empty();
  Report(status, FsStatus::kOkay);
  return std::make_unique<MemoryFile>(node, writes);
}

bool MemoryFileSystem::CopyOver(const std::string& from,
                                const std::string& to) {
  const Place source = Find(from);
  Place target = Find(to);
  if (!source.node || source.node->folder || source.node->held ||
      target.parent == nullptr) {
    return false;
  }
  std::shared_ptr<Node> node = target.node;
  if (node) {
    const uint32_t mine = node->attributes;
    const uint32_t theirs = source.node->attributes;
    if (node->folder || node->held || node == source.node ||
        (mine & kAttrReadOnly) != 0 ||
        ((mine & kAttrHidden) != 0 && (theirs & kAttrHidden) == 0) ||
        ((mine & kAttrSystem) != 0 && (theirs & kAttrSystem) == 0)) {
      return false;
    }
  } else {
    if (target.folder_only || !IsValidName(target.name, target.at_root)) {
      return false;
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
  if (!source.node || source.node->folder || source.node->held ||
      target.parent == nullptr) {
    return false;
  }
  if (target.node == source.node) {
    source.node->name = target.name;
    return true;
  }
  if (target.node && (target.node->folder || target.node->held ||
                      (target.node->attributes & kAttrReadOnly) != 0)) {
    return false;
  }
  if (!target.node &&
      (target.folder_only || !IsValidName(target.name, target.at_root))) {
    return false;
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
  // A file of the name blocks the folder even when the path ends in "\".
  if (place.parent == nullptr || place.node ||
      place.parent->children.count(ToUpperAscii(place.name)) > 0 ||
      !IsValidName(place.name, place.at_root)) {
    return false;
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
  if (!place.node || place.node->folder || place.node->held ||
      (place.node->attributes & kAttrReadOnly) != 0) {
    return false;
  }
  place.parent->children.erase(ToUpperAscii(place.name));
  return true;
}

FsStatus MemoryFileSystem::ListFolder(const std::string& path,
                                      std::vector<FolderEntry>* entries) {
  entries->clear();
  const Place place = Find(path);
  if (!place.node || !place.node->folder) return FsStatus::kNotFound;
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

std::string MemoryFileSystem::CurrentFolder() { return Display(current_); }

bool MemoryFileSystem::ChangeFolder(const std::string& path) {
  const Place place = Find(path);
  if (!place.node || !place.node->folder) return false;
  current_ = place.stored;
  return true;
}

std::string MemoryFileSystem::AbsolutePath(const std::string& os_path) {
  return Display(Components(os_path, current_));
}

}  // namespace quarn
