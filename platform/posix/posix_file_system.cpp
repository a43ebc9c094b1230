#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/types.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <set>
#include <system_error>
#include <utility>

#include "platform/engine_path.h"
#include "platform/scratch_file.h"
#include "text/ascii.h"

namespace quarn {
namespace {

// Wine keeps the hidden and system bits of a file on a Linux disk here, so a
// file marked by either program reads the same in the other.
constexpr char kDosAttributeName[] = "user.DOSATTRIB";
constexpr uint32_t kStoredAttributes = kAttrHidden | kAttrSystem;
constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;

// ---------------------------------------------------------------------------
// Unshared opens.
//
// Windows refuses a second open of a file that is held with share mode 0,
// and refuses to copy over, rename or delete it while it is held. Linux has
// no such table, so this process keeps one of its own, keyed by the file's
// identity (not its name, which letter case and links make ambiguous).

using FileKey = std::pair<dev_t, ino_t>;

FileKey KeyOf(const struct stat& status) {
  return FileKey(status.st_dev, status.st_ino);
}

struct OpenFileTable {
  std::mutex mutex;
  std::set<FileKey> held;  // guarded by `mutex`
};

// Never destroyed: a File may outlive the end of main in a static object.
OpenFileTable& OpenFiles() {
  static OpenFileTable* table = new OpenFileTable;
  return *table;
}

// ---------------------------------------------------------------------------
// Paths.

std::string JoinNative(const std::string& base, const std::string& name) {
  if (base.empty()) return name;
  if (base.back() == '/') return base + name;
  return base + "/" + name;
}

std::string LastComponent(std::string native) {
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  const size_t slash = native.rfind('/');
  return slash == std::string::npos ? native : native.substr(slash + 1);
}

std::string ParentOf(const std::string& native) {
  const size_t slash = native.rfind('/');
  if (slash == std::string::npos) return "";
  if (slash == 0) return "/";
  return native.substr(0, slash);
}

// The names of a path as a Linux user typed it.
std::vector<std::string> SplitComponents(const std::string& path) {
  std::vector<std::string> components;
  std::string current;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!current.empty()) components.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) components.push_back(current);
  return components;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The name in `folder` that equals `name` apart from letter case. When
// several do (possible only on Linux), the smallest one wins, so the choice
// does not depend on the order the disk lists them in.
bool FindIgnoringCase(const std::string& folder, const std::string& name,
                      std::string* found) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return false;
  bool any = false;
  while (const struct dirent* entry = readdir(dir)) {
    const std::string candidate = entry->d_name;
    if (!EqualsIgnoringCase(candidate, name)) continue;
    if (!any || candidate < *found) *found = candidate;
    any = true;
  }
  closedir(dir);
  return any;
}

bool Exists(const std::string& native) {
  struct stat status;
  return lstat(native.c_str(), &status) == 0;
}

// ---------------------------------------------------------------------------
// Attributes.

bool IsDotName(const std::string& name) {
  return !name.empty() && name[0] == '.' && name != "." && name != "..";
}

bool IsReadOnly(const struct stat& status) {
  return (status.st_mode & S_IWUSR) == 0;
}

uint32_t StoredAttributes(const std::string& native) {
  char text[64];
  const ssize_t length =
      getxattr(native.c_str(), kDosAttributeName, text, sizeof text);
  if (length <= 0) return 0;
  return ParseDosAttributeText(std::string(text, static_cast<size_t>(length)));
}

uint32_t AttributesFromStatus(const std::string& native,
                              const struct stat& status) {
  uint32_t attributes = S_ISDIR(status.st_mode) ? kAttrDirectory : kAttrArchive;
  if (IsReadOnly(status)) attributes |= kAttrReadOnly;
  attributes |= StoredAttributes(native);
  if (IsDotName(LastComponent(native))) attributes |= kAttrHidden;
  return attributes;
}

// A link that leads nowhere is still listed, as a plain file.
uint32_t EntryAttributes(const std::string& native) {
  struct stat status;
  if (stat(native.c_str(), &status) != 0 &&
      lstat(native.c_str(), &status) != 0) {
    return kAttrArchive;
  }
  return AttributesFromStatus(native, status);
}

bool NoAttributeStore(int error) {
  return error == ENOTSUP || error == EOPNOTSUPP || error == ENODATA;
}

bool StoreAttributes(const std::string& native, uint32_t attributes) {
  const uint32_t stored = attributes & kStoredAttributes;
  if (stored == 0) {
    // Nothing to keep: a disk without the store holds nothing to remove.
    return removexattr(native.c_str(), kDosAttributeName) == 0 ||
           NoAttributeStore(errno);
  }
  char text[16];
  const int length = std::snprintf(text, sizeof text, "0x%x", stored);
  return setxattr(native.c_str(), kDosAttributeName, text,
                  static_cast<size_t>(length), 0) == 0;
}

bool CopyStoredAttributes(const std::string& from, const std::string& to) {
  return StoreAttributes(to, StoredAttributes(from));
}

FsStatus StatusFromErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return FsStatus::kNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY:
      return FsStatus::kAccessDenied;
    default:
      return FsStatus::kOtherError;
  }
}

// The words Linux has for `error`, as strerror gives them.
std::string PosixErrorText(int error) {
  return std::generic_category().message(error);
}

// Records that `path` failed with `error`; false, for `return Refuse(...)`.
bool Refuse(FsErrorRecord& errors, const std::string& path, int error) {
  return errors.Refuse(path, PosixErrorText(error));
}

// Why Windows refuses to replace a file it cannot replace.
int ReplaceRefusal(const struct stat& status) {
  return S_ISDIR(status.st_mode) ? EISDIR : EACCES;
}

// ---------------------------------------------------------------------------
// Byte moving.

bool FitsOffset(uint64_t offset) {
  return offset <= static_cast<uint64_t>(std::numeric_limits<off_t>::max());
}

bool WriteAll(int fd, const char* data, size_t size, uint64_t offset) {
  while (size > 0) {
    const ssize_t written = pwrite(fd, data, size, static_cast<off_t>(offset));
    if (written < 0 && errno == EINTR) continue;
    if (written == 0) errno = EIO;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<size_t>(written);
    offset += static_cast<uint64_t>(written);
  }
  return true;
}

bool CopyBytes(int from, int to) {
  char buffer[64 * 1024];
  uint64_t offset = 0;
  for (;;) {
    const ssize_t got = pread(from, buffer, sizeof buffer, offset);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    if (!WriteAll(to, buffer, static_cast<size_t>(got), offset)) return false;
    offset += static_cast<uint64_t>(got);
  }
}

class PosixFile : public File {
 public:
  PosixFile(int fd, FileKey key, bool writable,
            std::shared_ptr<FsErrorRecord> errors, std::string path)
      : fd_(fd),
        key_(key),
        writable_(writable),
        errors_(std::move(errors)),
        path_(std::move(path)) {}

  ~PosixFile() override {
    close(fd_);
    OpenFileTable& table = OpenFiles();
    std::lock_guard<std::mutex> lock(table.mutex);
    table.held.erase(key_);
  }

  bool ReadAt(uint64_t offset, void* data, size_t size, size_t* got) override {
    *got = 0;
    if (!FitsOffset(offset)) return Refuse(*errors_, path_, EINVAL);
    char* out = static_cast<char*>(data);
    while (*got < size) {
      const ssize_t n = pread(fd_, out + *got, size - *got,
                              static_cast<off_t>(offset + *got));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return Refuse(*errors_, path_, errno);
      if (n == 0) break;
      *got += static_cast<size_t>(n);
    }
    return true;
  }

  bool WriteAt(uint64_t offset, const void* data, size_t size) override {
    if (!FitsOffset(offset) || !FitsOffset(offset + size)) {
      return Refuse(*errors_, path_, EFBIG);
    }
    return WriteAll(fd_, static_cast<const char*>(data), size, offset) ||
           Refuse(*errors_, path_, errno);
  }

  bool Length(uint64_t* length) override {
    struct stat status;
    if (fstat(fd_, &status) != 0) return Refuse(*errors_, path_, errno);
    *length = static_cast<uint64_t>(status.st_size);
    return true;
  }

  bool Resize(uint64_t length) override {
    if (!FitsOffset(length)) return Refuse(*errors_, path_, EFBIG);
    int result;
    do {
      result = ftruncate(fd_, static_cast<off_t>(length));
    } while (result != 0 && errno == EINTR);
    return result == 0 || Refuse(*errors_, path_, errno);
  }

  // fsync, not fdatasync: the length must reach the disk as well.
  bool Flush() override {
    // Linux would flush a file opened for reading; Windows refuses to.
    if (!writable_) return Refuse(*errors_, path_, EACCES);
    int result;
    do {
      result = fsync(fd_);
    } while (result != 0 && errno == EINTR);
    return result == 0 || Refuse(*errors_, path_, errno);
  }

 private:
  int fd_;
  FileKey key_;
  bool writable_;  // opened for writing as well as reading
  std::shared_ptr<FsErrorRecord> errors_;
  std::string path_;  // as the engine spelled it
};

// Closes a descriptor when it goes out of scope.
class ScopedFd {
 public:
  explicit ScopedFd(int fd) : fd_(fd) {}
  ~ScopedFd() {
    if (fd_ >= 0) close(fd_);
  }
  ScopedFd(const ScopedFd&) = delete;
  ScopedFd& operator=(const ScopedFd&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// Puts the names in folder `native` on the disk: a rename survives a crash
// only once its folder does. 0, or the error; a disk that cannot sync a
// folder (EINVAL) keeps its names by means of its own.
int SyncFolder(const std::string& native) {
  ScopedFd folder(open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() < 0) return errno;
  int result;
  do {
    result = fsync(folder.get());
  } while (result != 0 && errno == EINTR);
  return result == 0 || errno == EINVAL ? 0 : errno;
}

// Running as root lets Linux write to anything; Windows would still refuse
// a read-only file or a folder, so those are refused here by hand.
bool CanReplace(const struct stat& status) {
  return !S_ISDIR(status.st_mode) && !IsReadOnly(status);
}

// The process's current folder in engine form; empty if Linux cannot say.
std::string CurrentEngineFolder() {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return "";
    buffer.resize(buffer.size() * 2);
  }
  std::string folder = buffer.data();
  std::replace(folder.begin(), folder.end(), '/', '\\');
  return folder;
}

// Engine path `path` read as Windows reads it; the current folder is asked
// for only when the path continues it. False when there is none to ask.
bool ParseAgainstCurrentFolder(const std::string& path, EnginePath* parsed) {
  std::string current;
  if (IsRelativeEnginePath(path)) {
    current = CurrentEngineFolder();
    if (current.empty()) return false;
  }
  *parsed = ParseEnginePath(path, current);
  return true;
}

// The Linux spelling of engine path `path`; empty when there is none.
std::string NativeOf(const std::string& path) {
  EnginePath parsed;
  return ParseAgainstCurrentFolder(path, &parsed) ? ResolvePosixPath(parsed)
                                                  : "";
}

}  // namespace

std::string ResolvePosixPath(const EnginePath& path) {
  // Linux has neither drives nor shares.
  if (!path.root.empty()) return "";
  const std::vector<std::string>& components = path.components;
  std::string whole = "/";
  for (const std::string& component : components) {
    whole = JoinNative(whole, component);
  }
  // A trailing separator stays: it makes a file's name fail, as on Windows.
  const bool folder_only = !components.empty() && path.folder_only;
  if (folder_only) whole += '/';
  if (Exists(whole)) return whole;

  std::string resolved = "/";
  bool parent_missing = false;
  for (const std::string& component : components) {
    std::string next = JoinNative(resolved, component);
    if (!parent_missing && !Exists(next)) {
      std::string found;
      if (FindIgnoringCase(resolved, component, &found)) {
        next = JoinNative(resolved, found);
      } else {
        parent_missing = true;
      }
    }
    resolved = next;
  }
  if (folder_only) resolved += '/';
  return resolved;
}

uint32_t ParseDosAttributeText(const std::string& text) {
  if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) {
    return 0;
  }
  // Only the lowest bits are kept, so a long number needs no overflow check.
  uint32_t value = 0;
  for (size_t i = 2; i < text.size(); ++i) {
    const char c = text[i];
    uint32_t digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<uint32_t>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<uint32_t>(c - 'A' + 10);
    } else {
      break;
    }
    value = value * 16 + digit;
  }
  return value & kStoredAttributes;
}

uint32_t PosixFileSystem::AttributesOf(const std::string& path) {
  const std::string native = NativeOf(path);
  struct stat status;
  if (native.empty() || stat(native.c_str(), &status) != 0) return kNoSuchFile;
  return AttributesFromStatus(native, status);
}

bool PosixFileSystem::SetAttributes(const std::string& path,
                                    uint32_t attributes) {
  FsErrorRecord& errors = *this->errors();
  const std::string native = NativeOf(path);
  struct stat status;
  if (native.empty()) return Refuse(errors, path, ENOENT);
  if (stat(native.c_str(), &status) != 0) return Refuse(errors, path, errno);
  mode_t mode = status.st_mode & 07777;
  if ((attributes & kAttrReadOnly) == 0) {
    mode |= S_IWUSR;
  } else if (!S_ISDIR(status.st_mode)) {
    // As Wine does: a folder cannot be made read-only, and a read-only file
    // has no write permission for anyone.
    mode &= ~kAnyWrite;
  }
  if (mode != (status.st_mode & 07777) && chmod(native.c_str(), mode) != 0) {
    return Refuse(errors, path, errno);
  }
  return StoreAttributes(native, attributes) || Refuse(errors, path, errno);
}

std::unique_ptr<File> PosixFileSystem::Open(const std::string& path,
                                            OpenMode mode, FsStatus* status) {
  FsStatus unused;
  if (status == nullptr) status = &unused;
  FsErrorRecord& errors = *this->errors();
  const auto fail = [&](int error) -> std::unique_ptr<File> {
    *status =
        error == EBUSY ? FsStatus::kSharingViolation : StatusFromErrno(error);
    Refuse(errors, path, error);
    return nullptr;
  };
  const std::string native = NativeOf(path);
  if (native.empty()) return fail(ENOENT);

  OpenFileTable& table = OpenFiles();
  std::lock_guard<std::mutex> lock(table.mutex);
  struct stat before;
  if (stat(native.c_str(), &before) == 0) {
    const bool writing = mode != OpenMode::kRead;
    // Windows will not empty a hidden or system file that is recreated
    // without those attributes.
    const bool emptying_marked =
        mode == OpenMode::kCreate &&
        (AttributesFromStatus(native, before) & kStoredAttributes) != 0;
    if (S_ISDIR(before.st_mode)) return fail(EISDIR);
    if ((writing && IsReadOnly(before)) || emptying_marked) return fail(EACCES);
  } else if (mode != OpenMode::kCreate) {
    return fail(errno);
  }

  int flags = O_CLOEXEC;
  flags |= mode == OpenMode::kRead ? O_RDONLY : O_RDWR;
  if (mode == OpenMode::kCreate) flags |= O_CREAT;
  const int fd = open(native.c_str(), flags, 0666);
  if (fd < 0) return fail(errno);
  ScopedFd owned(fd);
  struct stat opened;
  if (fstat(fd, &opened) != 0) return fail(errno);
  // Emptying waits until the file is known not to be held by anyone; the
  // identity is taken from the open file, whatever name led to it.
  if (table.held.count(KeyOf(opened)) != 0) return fail(EBUSY);
  if (mode == OpenMode::kCreate && ftruncate(fd, 0) != 0) return fail(errno);
  table.held.insert(KeyOf(opened));
  *status = FsStatus::kOkay;
  return std::make_unique<PosixFile>(owned.release(), KeyOf(opened),
                                     mode != OpenMode::kRead, this->errors(),
                                     path);
}

bool PosixFileSystem::CopyOver(const std::string& from, const std::string& to) {
  FsErrorRecord& errors = *this->errors();
  const std::string source = NativeOf(from);
  const std::string target = NativeOf(to);
  if (source.empty()) return Refuse(errors, from, ENOENT);
  if (target.empty()) return Refuse(errors, to, ENOENT);

  OpenFileTable& table = OpenFiles();
  std::lock_guard<std::mutex> lock(table.mutex);
  struct stat source_status;
  if (stat(source.c_str(), &source_status) != 0) {
    return Refuse(errors, from, errno);
  }
  if (S_ISDIR(source_status.st_mode)) return Refuse(errors, from, EISDIR);
  if (table.held.count(KeyOf(source_status)) != 0) {
    return Refuse(errors, from, EBUSY);
  }
  struct stat target_status;
  if (stat(target.c_str(), &target_status) == 0) {
    // Windows refuses to give a hidden or system file attributes that lack
    // those bits, and refuses to copy a file onto itself.
    const uint32_t marks_lost = AttributesFromStatus(target, target_status) &
                                ~AttributesFromStatus(source, source_status) &
                                kStoredAttributes;
    if (!CanReplace(target_status)) {
      return Refuse(errors, to, ReplaceRefusal(target_status));
    }
    if (marks_lost != 0) return Refuse(errors, to, EACCES);
    if (KeyOf(target_status) == KeyOf(source_status)) {
      return Refuse(errors, to, EINVAL);
    }
    if (table.held.count(KeyOf(target_status)) != 0) {
      return Refuse(errors, to, EBUSY);
    }
  }

  ScopedFd in(open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return Refuse(errors, from, errno);
  // The copy is made beside the target and renamed over it, so that a copy
  // that fails half way leaves the old target as it was.
  std::string temporary = target + ".copy-XXXXXX";
  ScopedFd out(mkostemp(&temporary[0], O_CLOEXEC));
  if (out.get() < 0) return Refuse(errors, to, errno);
  const bool copied = CopyBytes(in.get(), out.get()) &&
                      fchmod(out.get(), source_status.st_mode & 0777) == 0 &&
                      CopyStoredAttributes(source, temporary) &&
                      rename(temporary.c_str(), target.c_str()) == 0;
  if (copied) return true;
  const int error = errno;
  unlink(temporary.c_str());
  return Refuse(errors, to, error);
}

bool PosixFileSystem::RenameOver(const std::string& from,
                                 const std::string& to) {
  FsErrorRecord& errors = *this->errors();
  const std::string source = NativeOf(from);
  EnginePath wanted;
  if (source.empty()) return Refuse(errors, from, ENOENT);
  if (!ParseAgainstCurrentFolder(to, &wanted))
    return Refuse(errors, to, ENOENT);
  std::string target = ResolvePosixPath(wanted);
  if (target.empty()) return Refuse(errors, to, ENOENT);
  // A rename that changes only the letter case finds the source itself as
  // the target; the new name is the one asked for.
  if (target == source) {
    if (wanted.components.empty()) return Refuse(errors, to, EINVAL);
    target = JoinNative(ParentOf(source), wanted.components.back());
  }

  OpenFileTable& table = OpenFiles();
  std::lock_guard<std::mutex> lock(table.mutex);
  struct stat source_status;
  if (stat(source.c_str(), &source_status) != 0) {
    return Refuse(errors, from, errno);
  }
  if (table.held.count(KeyOf(source_status)) != 0) {
    return Refuse(errors, from, EBUSY);
  }
  struct stat target_status;
  if (stat(target.c_str(), &target_status) == 0 &&
      KeyOf(target_status) != KeyOf(source_status)) {
    if (!CanReplace(target_status)) {
      return Refuse(errors, to, ReplaceRefusal(target_status));
    }
    if (table.held.count(KeyOf(target_status)) != 0) {
      return Refuse(errors, to, EBUSY);
    }
  }
  if (rename(source.c_str(), target.c_str()) != 0) {
    return Refuse(errors, to, errno);
  }
  const std::string folder = ParentOf(target);
  const std::string left = ParentOf(source);
  int error = SyncFolder(folder);
  if (error == 0 && left != folder) error = SyncFolder(left);
  return error == 0 || Refuse(errors, to, error);
}

bool PosixFileSystem::MakeFolder(const std::string& path) {
  FsErrorRecord& errors = *this->errors();
  const std::string native = NativeOf(path);
  if (native.empty()) return Refuse(errors, path, ENOENT);
  if (Exists(native)) return Refuse(errors, path, EEXIST);
  return mkdir(native.c_str(), 0777) == 0 || Refuse(errors, path, errno);
}

bool PosixFileSystem::RemoveFile(const std::string& path) {
  FsErrorRecord& errors = *this->errors();
  const std::string native = NativeOf(path);
  if (native.empty()) return Refuse(errors, path, ENOENT);
  OpenFileTable& table = OpenFiles();
  std::lock_guard<std::mutex> lock(table.mutex);
  struct stat status;
  if (stat(native.c_str(), &status) != 0) return Refuse(errors, path, errno);
  if (!CanReplace(status)) return Refuse(errors, path, ReplaceRefusal(status));
  if (table.held.count(KeyOf(status)) != 0) return Refuse(errors, path, EBUSY);
  return unlink(native.c_str()) == 0 || Refuse(errors, path, errno);
}

bool PosixFileSystem::RemoveFolder(const std::string& path) {
  FsErrorRecord& errors = *this->errors();
  const std::string native = NativeOf(path);
  if (native.empty()) return Refuse(errors, path, ENOENT);
  return rmdir(native.c_str()) == 0 || Refuse(errors, path, errno);
}

FsStatus PosixFileSystem::ListFolder(const std::string& path,
                                     std::vector<FolderEntry>* entries) {
  entries->clear();
  const std::string native = NativeOf(path);
  if (native.empty()) {
    Refuse(*errors(), path, ENOENT);
    return FsStatus::kNotFound;
  }
  DIR* dir = opendir(native.c_str());
  if (dir == nullptr) {
    const int error = errno;
    Refuse(*errors(), path, error);
    return StatusFromErrno(error);
  }
  std::vector<FolderEntry> found;
  while (const struct dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string full = JoinNative(native, name);
    found.push_back(FolderEntry{name, EntryAttributes(full)});
  }
  closedir(dir);

  // Wine lists a folder sorted without regard to case (by upper case); doing
  // the same keeps listings, and all that depends on them, alike on both.
  std::sort(found.begin(), found.end(),
            [](const FolderEntry& a, const FolderEntry& b) {
              const std::string upper_a = ToUpperAscii(a.name);
              const std::string upper_b = ToUpperAscii(b.name);
              if (upper_a != upper_b) return upper_a < upper_b;
              return a.name < b.name;
            });
  for (const char* special : {".", ".."}) {
    entries->push_back(
        FolderEntry{special, EntryAttributes(JoinNative(native, special))});
  }
  entries->insert(entries->end(), found.begin(), found.end());
  return FsStatus::kOkay;
}

// As Wine shows a Linux disk, whatever the disk.
ListingRules PosixFileSystem::ListingRulesOf(const std::string&) {
  ListingRules rules;
  rules.order = ListingRules::Order::kByUpperName;
  rules.dot_names_hidden = true;
  return rules;
}

std::string PosixFileSystem::CurrentFolder() { return CurrentEngineFolder(); }

bool PosixFileSystem::ChangeFolder(const std::string& path) {
  const std::string native = NativeOf(path);
  if (native.empty()) return Refuse(*errors(), path, ENOENT);
  return chdir(native.c_str()) == 0 || Refuse(*errors(), path, errno);
}

std::string PosixFileSystem::AbsolutePath(const std::string& os_path) {
  std::string whole = os_path;
  if (whole.empty() || !IsSeparator(whole[0])) {
    whole = CurrentFolder() + "\\" + whole;
  }
  std::vector<std::string> kept;
  for (const std::string& component : SplitComponents(whole)) {
    if (component == ".") continue;
    if (component == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    kept.push_back(component);
  }
  std::string result;
  for (const std::string& component : kept) result += "\\" + component;
  return result.empty() ? "\\" : result;
}

namespace {

// Closing the descriptor drops the lock: it is an open file description
// lock, which belongs to this descriptor alone, so that no other open of
// the file in this process can drop it, and a second lock in this process
// conflicts with it as one in another process does.
class PosixFolderLock : public FolderLock {
 public:
  explicit PosixFolderLock(int fd) : fd_(fd) {}
  ~PosixFolderLock() override { close(fd_); }

 private:
  int fd_;
};

bool IsLockConflict(int error) { return error == EAGAIN || error == EACCES; }

// Wine takes a Windows byte-range lock as a POSIX record lock on the same
// bytes, and Linux makes the two kinds conflict: a run under Wine and a
// Linux run exclude each other.
bool LockRunLockFile(int fd) {
  struct flock range = {};
  range.l_type = F_WRLCK;
  range.l_whence = SEEK_SET;
  range.l_start = kRunLockOffset;
  range.l_len = kRunLockLength;
  return fcntl(fd, F_OFD_SETLK, &range) == 0;
}

}  // namespace

std::unique_ptr<FolderLock> PosixFileSystem::LockFolder(
    const std::string& folder, FsStatus* status) {
  FsStatus unused;
  if (status == nullptr) status = &unused;
  FsErrorRecord& errors = *this->errors();
  const auto fail = [&](const std::string& path,
                        int error) -> std::unique_ptr<FolderLock> {
    *status = StatusFromErrno(error);
    Refuse(errors, path, error);
    return nullptr;
  };
  const std::string native_folder = NativeOf(folder);
  struct stat folder_status;
  if (native_folder.empty()) return fail(folder, ENOENT);
  if (stat(native_folder.c_str(), &folder_status) != 0) {
    return fail(folder, errno);
  }
  if (!S_ISDIR(folder_status.st_mode)) return fail(folder, ENOTDIR);
  const std::string lock_folder = RunLockFolderOf(folder);
  const std::string native_lock_folder = NativeOf(lock_folder);
  if (mkdir(native_lock_folder.c_str(), 0777) != 0 && errno != EEXIST) {
    return fail(lock_folder, errno);
  }
  const std::string lock_file = RunLockFileOf(folder);
  ScopedFd fd(
      open(NativeOf(lock_file).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
  if (fd.get() < 0) return fail(lock_file, errno);
  if (!LockRunLockFile(fd.get())) {
    const int error = errno;
    if (!IsLockConflict(error)) return fail(lock_file, error);
    *status = FsStatus::kSharingViolation;
    errors.Record(folder, kReasonLocked);
    return nullptr;
  }
  *status = FsStatus::kOkay;
  return std::make_unique<PosixFolderLock>(fd.release());
}

namespace {

// The outcome of a probe that found `error` (0: none) in the way of `path`,
// recorded as the call would record it.
ProbeOutcome Judged(FsErrorRecord& errors, const std::string& path, int error) {
  if (error == 0) return ProbeOutcome::kAllowed;
  Refuse(errors, path, error);
  return error == EBUSY ? ProbeOutcome::kHeld : ProbeOutcome::kRefused;
}

bool HeldHere(const struct stat& status) {
  OpenFileTable& table = OpenFiles();
  std::lock_guard<std::mutex> lock(table.mutex);
  return table.held.count(KeyOf(status)) != 0;
}

// EPERM when Linux keeps `native` from any change (chattr +i or +a), -1
// when the disk cannot say, else 0.
int LockedByLinux(const std::string& native) {
  struct statx status;
  constexpr uint64_t kLocks = STATX_ATTR_IMMUTABLE | STATX_ATTR_APPEND;
  if (statx(AT_FDCWD, native.c_str(), 0, STATX_BASIC_STATS, &status) != 0) {
    return errno;
  }
  if ((status.stx_attributes_mask & kLocks) != kLocks) return -1;
  return (status.stx_attributes & kLocks) != 0 ? EPERM : 0;
}

// What Open with kReadWrite would find in the way of `native`, its
// read-only mark apart, in its order. A writable file is opened and closed
// at once, which neither writes nor truncates; a read-only one cannot be
// opened so (unless by root), and Linux locks it by its flags alone.
int WriteRefusal(const std::string& native) {
  struct stat before;
  if (stat(native.c_str(), &before) != 0) return errno;
  if (S_ISDIR(before.st_mode)) return EISDIR;
  if (IsReadOnly(before) && geteuid() != 0) {
    const int locked = LockedByLinux(native);
    if (locked > 0) return locked;
    return HeldHere(before) ? EBUSY : 0;
  }
  ScopedFd fd(open(native.c_str(), O_RDWR | O_CLOEXEC));
  if (fd.get() < 0) return errno;
  struct stat opened;
  if (fstat(fd.get(), &opened) != 0) return errno;
  return HeldHere(opened) ? EBUSY : 0;
}

// A name can be made where an unnamed file can, and that file vanishes with
// its descriptor. A disk that makes no unnamed file is asked for the
// permission instead, which is what Linux checks first.
int NewNameRefusal(const std::string& native) {
  ScopedFd fd(open(native.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
  if (fd.get() >= 0) return 0;
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return errno;
  return faccessat(AT_FDCWD, native.c_str(), W_OK | X_OK, AT_EACCESS) == 0
             ? 0
             : errno;
}

}  // namespace

ProbeOutcome PosixFileSystem::ProbeWrite(const std::string& path) {
  const std::string native = NativeOf(path);
  return Judged(*errors(), path,
                native.empty() ? ENOENT : WriteRefusal(native));
}

ProbeOutcome PosixFileSystem::ProbeReplace(const std::string& path) {
  const std::string native = NativeOf(path);
  struct stat status;
  if (native.empty()) return Judged(*errors(), path, ENOENT);
  if (stat(native.c_str(), &status) != 0) return Judged(*errors(), path, errno);
  if (!S_ISDIR(status.st_mode) && HeldHere(status)) {
    return Judged(*errors(), path, EBUSY);
  }
  const int locked = LockedByLinux(native);
  return locked < 0 ? ProbeOutcome::kUnknown : Judged(*errors(), path, locked);
}

std::string PosixFileSystem::RefusalReason(FsStatus status) {
  switch (status) {
    case FsStatus::kNotFound:
      return PosixErrorText(ENOENT);
    case FsStatus::kSharingViolation:
      return PosixErrorText(EBUSY);
    case FsStatus::kAccessDenied:
      return PosixErrorText(EACCES);
    case FsStatus::kOkay:
    case FsStatus::kOtherError:
      break;
  }
  return PosixErrorText(EIO);
}

ProbeOutcome PosixFileSystem::ProbeAttributes(const std::string& path) {
  const std::string native = NativeOf(path);
  struct stat status;
  if (native.empty()) return Judged(*errors(), path, ENOENT);
  if (stat(native.c_str(), &status) != 0) return Judged(*errors(), path, errno);
  // Only the owner, or root, may change a file's mode.
  if (geteuid() != 0 && status.st_uid != geteuid()) {
    return Judged(*errors(), path, EPERM);
  }
  const int locked = LockedByLinux(native);
  return locked < 0 ? ProbeOutcome::kUnknown : Judged(*errors(), path, locked);
}

ProbeOutcome PosixFileSystem::ProbeNewName(const std::string& folder) {
  const std::string native = NativeOf(folder);
  return Judged(*errors(), folder,
                native.empty() ? ENOENT : NewNameRefusal(native));
}

bool PosixFileSystem::FreeSpaceOf(const std::string& folder, DiskSpace* space) {
  const std::string native = NativeOf(folder);
  struct statvfs disk;
  struct stat status;
  if (native.empty() || statvfs(native.c_str(), &disk) != 0 ||
      stat(native.c_str(), &status) != 0) {
    return false;
  }
  space->volume = std::to_string(static_cast<uint64_t>(status.st_dev));
  // Blocks kept for root are not counted: a disk may keep them for another
  // user, as this machine's does.
  space->free_bytes = static_cast<uint64_t>(disk.f_bavail) * disk.f_frsize;
  space->block_bytes = disk.f_frsize != 0 ? disk.f_frsize : 1;
  space->full_reason = PosixErrorText(ENOSPC);
  return true;
}

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
  return std::make_unique<PosixFileSystem>();
}

std::string SystemTempFolder() {
  const char* variable = std::getenv("TMPDIR");
  std::string folder =
      variable != nullptr && variable[0] != '\0' ? variable : "/tmp";
  std::replace(folder.begin(), folder.end(), '/', '\\');
  while (folder.size() > 1 && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::unique_ptr<File> MakeScratchFile(const std::string& folder) {
  const std::string native = NativeOf(folder);
  if (native.empty()) return nullptr;
  // A file made without a name disappears with its last descriptor; where
  // the disk cannot make one, a named file loses its name at once.
  int fd = open(native.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd < 0) {
    std::string name = JoinNative(native, "quarn-scratch-XXXXXX");
    fd = mkostemp(&name[0], O_CLOEXEC);
    if (fd < 0) return nullptr;
    unlink(name.c_str());
  }
  ScopedFd owned(fd);
  struct stat status;
  if (fstat(fd, &status) != 0) return nullptr;
  OpenFileTable& table = OpenFiles();
  std::lock_guard<std::mutex> lock(table.mutex);
  table.held.insert(KeyOf(status));
  // Nobody asks a scratch file why it failed: its owner reports for it.
  return std::make_unique<PosixFile>(owned.release(), KeyOf(status), true,
                                     std::make_shared<FsErrorRecord>(), folder);
}

}  // namespace quarn
