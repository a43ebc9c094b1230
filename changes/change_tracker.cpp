#include "changes/change_tracker.h"

#include <algorithm>
#include <utility>

#include "changes/content_facts.h"
#include "platform/engine_path.h"
#include "text/ascii.h"

namespace quarn {
namespace {

// Larger game files are not looked into: they are no list or definition.
constexpr int64_t kLookedIntoLimit = int64_t{64} << 20;
// Other files up to this size are kept, so that one written back as it was
// is no change; larger ones written count as changed.
constexpr int64_t kComparedLimit = int64_t{1} << 20;
constexpr uint32_t kReportedBits = kAttrReadOnly | kAttrHidden | kAttrSystem;

bool IsFolderAttributes(uint32_t attributes) {
  return attributes != kNoSuchFile && (attributes & kAttrDirectory) != 0;
}

bool IsFileAttributes(uint32_t attributes) {
  return attributes != kNoSuchFile && (attributes & kAttrDirectory) == 0;
}

// Files and folders by path, entries of files in the order they come.
bool ReportsBefore(const ChangeFact& a, const ChangeFact& b) {
  if (a.kind != b.kind) return a.kind < b.kind;
  const bool by_path = a.kind == FactKind::kFile || a.kind == FactKind::kFolder;
  return by_path && ToUpperAscii(a.file) < ToUpperAscii(b.file);
}

}  // namespace

// Tells the tracker before the first change through it, and lets the
// tracker read the file while it is held.
class ChangeTracker::TrackedFile : public File {
 public:
  TrackedFile(ChangeTracker& tracker, std::unique_ptr<File> inner,
              std::string text, std::string key)
      : tracker_(tracker),
        inner_(std::move(inner)),
        text_(std::move(text)),
        key_(std::move(key)) {
    tracker_.open_[key_] = inner_.get();
  }
  ~TrackedFile() override {
    const auto it = tracker_.open_.find(key_);
    if (it != tracker_.open_.end() && it->second == inner_.get()) {
      tracker_.open_.erase(it);
    }
  }

  bool ReadAt(uint64_t offset, void* data, size_t size, size_t* got) override {
    return inner_->ReadAt(offset, data, size, got);
  }
  bool WriteAt(uint64_t offset, const void* data, size_t size) override {
    tracker_.TouchParsed(text_, key_, true);
    return inner_->WriteAt(offset, data, size);
  }
  bool Length(uint64_t* length) override { return inner_->Length(length); }
  bool Resize(uint64_t length) override {
    tracker_.TouchParsed(text_, key_, true);
    return inner_->Resize(length);
  }
  bool Flush() override { return inner_->Flush(); }
  TransferOutcome MoveBytes(uint64_t from, uint64_t to, uint64_t length,
                            uint64_t* written) override {
    tracker_.TouchParsed(text_, key_, true);
    return inner_->MoveBytes(from, to, length, written);
  }
  bool ExpectMoves(const std::vector<ByteMove>& moves) override {
    tracker_.TouchParsed(text_, key_, true);
    return inner_->ExpectMoves(moves);
  }

 private:
  ChangeTracker& tracker_;
  std::unique_ptr<File> inner_;
  std::string text_;
  std::string key_;
};

ChangeTracker::~ChangeTracker() = default;

void ChangeTracker::BeginMod(const std::string& game) {
  active_ = true;
  found_.clear();
  order_.clear();
  written_names_.clear();
  game_key_.clear();
  if (game.empty()) return;
  game_key_ = WithTrailingBackslash(
      ParseEnginePath(game, FileSystemWrapper::CurrentFolder()).Key());
}

void ChangeTracker::ArchiveEntryWritten(const std::string& name) {
  if (active_) written_names_.insert(ToUpperAscii(name));
}

std::vector<ChangeFact> ChangeTracker::EndMod() {
  std::vector<ChangeFact> facts;
  if (!active_) return facts;
  std::vector<uint16_t> ids_before, ids_after;
  for (const std::string& key : order_) {
    Describe(key, found_[key], &facts, &ids_before, &ids_after);
  }
  for (ChangeFact& fact : ObjectIdFacts(ids_before, ids_after)) {
    facts.push_back(std::move(fact));
  }
  std::stable_sort(facts.begin(), facts.end(), ReportsBefore);
  active_ = false;
  found_.clear();
  order_.clear();
  written_names_.clear();
  return facts;
}

void ChangeTracker::Touch(const std::string& path, bool bytes) {
  if (!active_) return;
  const EnginePath parsed =
      ParseEnginePath(path, FileSystemWrapper::CurrentFolder());
  TouchParsed(parsed.Text(), parsed.Key(), bytes);
}

void ChangeTracker::TouchParsed(const std::string& text, const std::string& key,
                                bool bytes) {
  if (!active_) return;
  const auto it = found_.find(key);
  if (it != found_.end()) {
    it->second.bytes_touched = it->second.bytes_touched || bytes;
    return;
  }
  Found found = Look(text, key);
  found.bytes_touched = bytes;
  found_.emplace(key, std::move(found));
  order_.push_back(key);
}

ChangeTracker::Found ChangeTracker::Look(const std::string& text,
                                         const std::string& key) {
  Found found;
  found.text = text;
  found.attributes = FileSystemWrapper::AttributesOf(text);
  if (IsFileAttributes(found.attributes)) {
    found.content_known = ReadWhole(text, key, &found.size, &found.content);
  }
  return found;
}

// The size of file `text`, and its bytes when they are worth keeping (then
// true). Read through the file the run holds
// open, if it does.
bool ChangeTracker::ReadWhole(const std::string& text, const std::string& key,
                              int64_t* size, std::string* content) {
  const FsError before = LastError();
  std::unique_ptr<File> opened;
  File* file = nullptr;
  const auto held = open_.find(key);
  if (held != open_.end()) {
    file = held->second;
  } else {
    opened = FileSystemWrapper::Open(text, OpenMode::kRead, nullptr);
    file = opened.get();
  }
  uint64_t length = 0;
  bool read = false;
  if (file != nullptr && file->Length(&length)) {
    *size = static_cast<int64_t>(length);
    const bool looked_into = AnalysedFileOf(text) != AnalysedFile::kOther;
    if (*size <= (looked_into ? kLookedIntoLimit : kComparedLimit)) {
      content->resize(length);
      size_t got = 0;
      read = length == 0 ||
             (file->ReadAt(0, &(*content)[0], length, &got) && got == length);
    }
  }
  errors()->Record(before.path, before.reason);
  return read;
}

std::string ChangeTracker::Named(const std::string& text) const {
  if (!game_key_.empty() && text.size() > game_key_.size() &&
      StartsWithIgnoringCase(text, game_key_)) {
    return text.substr(game_key_.size());
  }
  return text;
}

void ChangeTracker::Describe(const std::string& key, const Found& before,
                             std::vector<ChangeFact>* facts,
                             std::vector<uint16_t>* ids_before,
                             std::vector<uint16_t>* ids_after) {
  Found after = Look(before.text, key);
  const bool was_file = IsFileAttributes(before.attributes);
  const bool is_file = IsFileAttributes(after.attributes);
  ChangeFact fact;
  fact.file = Named(before.text);
  if (!was_file && !is_file) {
    const bool was_folder = IsFolderAttributes(before.attributes);
    if (was_folder == IsFolderAttributes(after.attributes)) return;
    fact.kind = FactKind::kFolder;
    fact.action = was_folder ? FactAction::kDelete : FactAction::kCreate;
    facts->push_back(fact);
    return;
  }
  fact.size_before = was_file ? before.size : -1;
  fact.size_after = is_file ? after.size : -1;
  const bool same_bytes =
      !before.bytes_touched || (before.content_known && after.content_known &&
                                before.content == after.content);
  const bool same_attributes =
      ((before.attributes ^ after.attributes) & kReportedBits) == 0;
  if (!was_file || !is_file || !same_bytes || !same_attributes) {
    fact.action = !was_file  ? FactAction::kCreate
                  : !is_file ? FactAction::kDelete
                             : FactAction::kChange;
    facts->push_back(fact);
  }
  const AnalysedFile kind = AnalysedFileOf(before.text);
  if (kind == AnalysedFile::kOther || (was_file && !before.content_known) ||
      (is_file && !after.content_known)) {
    return;
  }
  const std::string& old_bytes = was_file ? before.content : std::string();
  const std::string& new_bytes = is_file ? after.content : std::string();
  for (ChangeFact& entry :
       ContentFacts(kind, fact.file, old_bytes, new_bytes, written_names_)) {
    facts->push_back(std::move(entry));
  }
  if (kind == AnalysedFile::kIde) {
    for (uint16_t id : ClaimedObjectIds(old_bytes)) ids_before->push_back(id);
    for (uint16_t id : ClaimedObjectIds(new_bytes)) ids_after->push_back(id);
  }
}

bool ChangeTracker::SetAttributes(const std::string& path,
                                  uint32_t attributes) {
  Touch(path, false);
  return FileSystemWrapper::SetAttributes(path, attributes);
}

std::unique_ptr<File> ChangeTracker::Open(const std::string& path,
                                          OpenMode mode, FsStatus* status) {
  const EnginePath parsed =
      ParseEnginePath(path, FileSystemWrapper::CurrentFolder());
  if (mode == OpenMode::kCreate) TouchParsed(parsed.Text(), parsed.Key(), true);
  std::unique_ptr<File> inner = FileSystemWrapper::Open(path, mode, status);
  if (!inner) return nullptr;
  return std::make_unique<TrackedFile>(*this, std::move(inner), parsed.Text(),
                                       parsed.Key());
}

bool ChangeTracker::CopyOver(const std::string& from, const std::string& to) {
  Touch(to, true);
  return FileSystemWrapper::CopyOver(from, to);
}

bool ChangeTracker::RenameOver(const std::string& from, const std::string& to) {
  Touch(from, true);
  Touch(to, true);
  return FileSystemWrapper::RenameOver(from, to);
}

bool ChangeTracker::MakeFolder(const std::string& path) {
  Touch(path, true);
  return FileSystemWrapper::MakeFolder(path);
}

bool ChangeTracker::RemoveFile(const std::string& path) {
  Touch(path, true);
  return FileSystemWrapper::RemoveFile(path);
}

bool ChangeTracker::RemoveFolder(const std::string& path) {
  Touch(path, true);
  return FileSystemWrapper::RemoveFolder(path);
}

}  // namespace quarn
