#include "platform/win32/win32_file_system.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

#include "platform/scratch_file.h"

namespace quarn {
namespace {

constexpr uint32_t kSettableAttributes =
    kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;
constexpr DWORD kMarks = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

FsStatus StatusFromError(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
      return FsStatus::kNotFound;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FsStatus::kSharingViolation;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return FsStatus::kAccessDenied;
    default:
      return FsStatus::kOtherError;
  }
}

// The words Windows has for `error`, without the line end it adds.
std::string Win32ErrorText(DWORD error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  if (length == 0 || text == nullptr) {
    return "Windows error " + std::to_string(error);
  }
  std::string message(text, length);
  LocalFree(text);
  while (!message.empty() &&
         (message.back() == '\r' || message.back() == '\n')) {
    message.pop_back();
  }
  return message;
}

// Records that `path` failed with `error`; false, for `return Refuse(...)`.
bool Refuse(FsErrorRecord& errors, const std::string& path, DWORD error) {
  return errors.Refuse(path, Win32ErrorText(error));
}

// As Refuse, with the error of the call that just failed.
bool RefuseLast(FsErrorRecord& errors, const std::string& path) {
  return Refuse(errors, path, GetLastError());
}

OVERLAPPED At(uint64_t offset) {
  OVERLAPPED position = {};
  position.Offset = static_cast<DWORD>(offset);
  position.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return position;
}

// One call moves at most this much, well inside a DWORD.
constexpr size_t kLargestStep = 1u << 30;

class Win32File : public File {
 public:
  Win32File(HANDLE handle, std::shared_ptr<FsErrorRecord> errors,
            std::string path)
      : handle_(handle), errors_(std::move(errors)), path_(std::move(path)) {}
  ~Win32File() override { CloseHandle(handle_); }

  bool ReadAt(uint64_t offset, void* data, size_t size, size_t* got) override {
    *got = 0;
    char* out = static_cast<char*>(data);
    while (*got < size) {
      const DWORD step =
          static_cast<DWORD>(std::min(size - *got, kLargestStep));
      OVERLAPPED position = At(offset + *got);
      DWORD n = 0;
      if (!ReadFile(handle_, out + *got, step, &n, &position)) {
        const DWORD error = GetLastError();
        return error == ERROR_HANDLE_EOF || Refuse(*errors_, path_, error);
      }
      if (n == 0) break;
      *got += n;
    }
    return true;
  }

  bool WriteAt(uint64_t offset, const void* data, size_t size) override {
    const char* in = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
      const DWORD step =
          static_cast<DWORD>(std::min(size - done, kLargestStep));
      OVERLAPPED position = At(offset + done);
      DWORD n = 0;
      if (!WriteFile(handle_, in + done, step, &n, &position)) {
        return RefuseLast(*errors_, path_);
      }
      if (n == 0) return Refuse(*errors_, path_, ERROR_WRITE_FAULT);
      done += n;
    }
    return true;
  }

  bool Length(uint64_t* length) override {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle_, &size)) return RefuseLast(*errors_, path_);
    *length = static_cast<uint64_t>(size.QuadPart);
    return true;
  }

  bool Resize(uint64_t length) override {
    if (length > static_cast<uint64_t>(std::numeric_limits<LONGLONG>::max())) {
      return Refuse(*errors_, path_, ERROR_INVALID_PARAMETER);
    }
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(length);
    return (SetFilePointerEx(handle_, position, nullptr, FILE_BEGIN) &&
            SetEndOfFile(handle_)) ||
           RefuseLast(*errors_, path_);
  }

  // A handle opened for reading only is refused (access denied).
  bool Flush() override {
    return FlushFileBuffers(handle_) != 0 || RefuseLast(*errors_, path_);
  }

 private:
  HANDLE handle_;
  std::shared_ptr<FsErrorRecord> errors_;
  std::string path_;  // as the engine spelled it
};

bool Exists(DWORD attributes) { return attributes != INVALID_FILE_ATTRIBUTES; }

// Windows refuses to write over a read-only file or a folder. Wine lets root
// do it, so the refusal is made here, before the call.
bool CanReplace(DWORD attributes) {
  return !Exists(attributes) || (attributes & (FILE_ATTRIBUTE_READONLY |
                                               FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

// CanReplace, with the refusal recorded as Windows words it.
bool CheckReplace(FsErrorRecord& errors, const std::string& path,
                  DWORD attributes) {
  return CanReplace(attributes) || Refuse(errors, path, ERROR_ACCESS_DENIED);
}

DWORD SettableForm(uint32_t attributes) {
  const DWORD wanted = attributes & kSettableAttributes;
  // The call takes 0 as "change nothing"; no attribute at all is spelled
  // FILE_ATTRIBUTE_NORMAL.
  return wanted == 0 ? FILE_ATTRIBUTE_NORMAL : wanted;
}

std::string WithoutTrailingBackslash(std::string path) {
  // A root ("C:\", "\") keeps its backslash.
  while (path.size() > 1 && path.back() == '\\' &&
         path[path.size() - 2] != ':') {
    path.pop_back();
  }
  return path;
}

// Wine shows every disk as it shows a Linux one: sorted, dot-names hidden.
bool RunsUnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr &&
         GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// FAT and exFAT keep a folder's names in the order they were made.
bool IsOnFatVolume(const std::string& path) {
  char root[MAX_PATH + 1];
  char file_system[MAX_PATH + 1];
  if (!GetVolumePathNameA(path.c_str(), root, sizeof root) ||
      !GetVolumeInformationA(root, nullptr, 0, nullptr, nullptr, nullptr,
                             file_system, sizeof file_system)) {
    return false;
  }
  const std::string name = file_system;
  return name == "FAT" || name == "FAT32" || name == "exFAT";
}

}  // namespace

uint32_t Win32FileSystem::AttributesOf(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return Exists(attributes) ? attributes : kNoSuchFile;
}

bool Win32FileSystem::SetAttributes(const std::string& path,
                                    uint32_t attributes) {
  return SetFileAttributesA(path.c_str(), SettableForm(attributes)) != 0 ||
         RefuseLast(*errors(), path);
}

std::unique_ptr<File> Win32FileSystem::Open(const std::string& path,
                                            OpenMode mode, FsStatus* status) {
  FsStatus unused;
  if (status == nullptr) status = &unused;
  const DWORD existing = GetFileAttributesA(path.c_str());
  const bool writing = mode != OpenMode::kRead;
  // Windows refuses to recreate a hidden or system file as a normal one;
  // Wine does not, so the refusal is made here for both.
  const bool emptying_marked =
      mode == OpenMode::kCreate && (existing & kMarks) != 0;
  if (Exists(existing) &&
      (writing ? !CanReplace(existing) || emptying_marked
               : (existing & FILE_ATTRIBUTE_DIRECTORY) != 0)) {
    *status = FsStatus::kAccessDenied;
    Refuse(*errors(), path, ERROR_ACCESS_DENIED);
    return nullptr;
  }
  const DWORD access = writing ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  const DWORD disposition =
      mode == OpenMode::kCreate ? CREATE_ALWAYS : OPEN_EXISTING;
  const HANDLE handle =
      CreateFileA(path.c_str(), access, 0, nullptr, disposition,
                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    *status = StatusFromError(error);
    Refuse(*errors(), path, error);
    return nullptr;
  }
  *status = FsStatus::kOkay;
  return std::make_unique<Win32File>(handle, errors(), path);
}

bool Win32FileSystem::CopyOver(const std::string& from, const std::string& to) {
  FsErrorRecord& errors = *this->errors();
  const DWORD source = GetFileAttributesA(from.c_str());
  if (!Exists(source)) return RefuseLast(errors, from);
  if ((source & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return Refuse(errors, from, ERROR_ACCESS_DENIED);
  }
  const DWORD target = GetFileAttributesA(to.c_str());
  if (!CheckReplace(errors, to, target)) return false;
  // Windows refuses to copy a file without hidden or system over one with
  // them; Wine copies and keeps the target's own attributes. Both are made
  // to do what Windows does: refuse, else give the copy the source's.
  if (Exists(target) && (target & kMarks & ~source) != 0) {
    return Refuse(errors, to, ERROR_ACCESS_DENIED);
  }
  return (CopyFileA(from.c_str(), to.c_str(), FALSE) != 0 &&
          SetFileAttributesA(to.c_str(), SettableForm(source)) != 0) ||
         RefuseLast(errors, to);
}

bool Win32FileSystem::RenameOver(const std::string& from,
                                 const std::string& to) {
  if (!Exists(GetFileAttributesA(from.c_str()))) {
    return RefuseLast(*errors(), from);
  }
  if (!CheckReplace(*errors(), to, GetFileAttributesA(to.c_str()))) {
    return false;
  }
  // Write-through: the call returns once the rename is on the disk.
  return MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0 ||
         RefuseLast(*errors(), to);
}

bool Win32FileSystem::MakeFolder(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != 0 ||
         RefuseLast(*errors(), path);
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
  return DeleteFileA(path.c_str()) != 0 || RefuseLast(*errors(), path);
}

bool Win32FileSystem::RemoveFolder(const std::string& path) {
  return RemoveDirectoryA(path.c_str()) != 0 || RefuseLast(*errors(), path);
}

FsStatus Win32FileSystem::ListFolder(const std::string& path,
                                     std::vector<FolderEntry>* entries) {
  entries->clear();
  std::string pattern = path;
  if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != ':') {
    pattern += '\\';
  }
  pattern += "*.*";
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // A drive's root can be truly empty: it has no "." or "..".
    if (error == ERROR_FILE_NOT_FOUND) return FsStatus::kOkay;
    Refuse(*errors(), path, error);
    return StatusFromError(error);
  }
  do {
    entries->push_back(FolderEntry{found.cFileName, found.dwFileAttributes});
  } while (FindNextFileA(search, &found));
  const DWORD error = GetLastError();
  FindClose(search);
  if (error == ERROR_NO_MORE_FILES) return FsStatus::kOkay;
  Refuse(*errors(), path, error);
  return StatusFromError(error);
}

ListingRules Win32FileSystem::ListingRulesOf(const std::string& path) {
  ListingRules rules;
  if (RunsUnderWine()) {
    rules.dot_names_hidden = true;
  } else if (IsOnFatVolume(path)) {
    rules.order = ListingRules::Order::kByCreation;
  }
  return rules;
}

std::string Win32FileSystem::CurrentFolder() {
  const DWORD size = GetCurrentDirectoryA(0, nullptr);
  if (size == 0) return "";
  std::string folder(size, '\0');
  const DWORD length = GetCurrentDirectoryA(size, &folder[0]);
  if (length == 0 || length >= size) return "";
  folder.resize(length);
  return folder;
}

bool Win32FileSystem::ChangeFolder(const std::string& path) {
  return SetCurrentDirectoryA(path.c_str()) != 0 || RefuseLast(*errors(), path);
}

std::string Win32FileSystem::AbsolutePath(const std::string& os_path) {
  const std::string asked = os_path.empty() ? "." : os_path;
  const DWORD size = GetFullPathNameA(asked.c_str(), 0, nullptr, nullptr);
  if (size == 0) return "";
  std::string full(size, '\0');
  const DWORD length = GetFullPathNameA(asked.c_str(), size, &full[0], nullptr);
  if (length == 0 || length >= size) return "";
  full.resize(length);
  return WithoutTrailingBackslash(full);
}

namespace {

// Windows drops a handle's byte-range locks when the handle is closed, and
// closes every handle of a process that ends, whatever ends it.
class Win32FolderLock : public FolderLock {
 public:
  explicit Win32FolderLock(HANDLE handle) : handle_(handle) {}
  ~Win32FolderLock() override {
    OVERLAPPED range = At(kRunLockOffset);
    UnlockFileEx(handle_, 0, kRunLockLength, 0, &range);
    CloseHandle(handle_);
  }

 private:
  HANDLE handle_;
};

// Shared for reading and writing, so that the file itself never stands in
// a run's way: only the byte-range lock does. Under Wine the lock is also a
// POSIX record lock on the Linux file, which a Linux run's lock meets.
HANDLE OpenRunLockFile(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool LockRunLockFile(HANDLE handle) {
  OVERLAPPED range = At(kRunLockOffset);
  return LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY,
                    0, kRunLockLength, 0, &range) != 0;
}

}  // namespace

std::unique_ptr<FolderLock> Win32FileSystem::LockFolder(
    const std::string& folder, FsStatus* status) {
  FsStatus unused;
  if (status == nullptr) status = &unused;
  const auto fail = [&](const std::string& path,
                        DWORD error) -> std::unique_ptr<FolderLock> {
    *status = StatusFromError(error);
    Refuse(*errors(), path, error);
    return nullptr;
  };
  const DWORD attributes =
      GetFileAttributesA(WithoutTrailingBackslash(folder).c_str());
  if (!Exists(attributes)) return fail(folder, GetLastError());
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return fail(folder, ERROR_DIRECTORY);
  }
  const std::string lock_folder = RunLockFolderOf(folder);
  if (!CreateDirectoryA(lock_folder.c_str(), nullptr) &&
      GetLastError() != ERROR_ALREADY_EXISTS) {
    return fail(lock_folder, GetLastError());
  }
  const std::string lock_file = RunLockFileOf(folder);
  const HANDLE handle = OpenRunLockFile(lock_file);
  if (handle == INVALID_HANDLE_VALUE) return fail(lock_file, GetLastError());
  if (!LockRunLockFile(handle)) {
    const DWORD error = GetLastError();
    CloseHandle(handle);
    if (error != ERROR_LOCK_VIOLATION) return fail(lock_file, error);
    *status = FsStatus::kSharingViolation;
    errors()->Record(folder, kReasonLocked);
    return nullptr;
  }
  *status = FsStatus::kOkay;
  return std::make_unique<Win32FolderLock>(handle);
}

namespace {

// The outcome of a probe that met `error` (ERROR_SUCCESS: none) on `path`,
// recorded as the call would record it.
ProbeOutcome Judged(FsErrorRecord& errors, const std::string& path,
                    DWORD error) {
  if (error == ERROR_SUCCESS) return ProbeOutcome::kAllowed;
  Refuse(errors, path, error);
  return StatusFromError(error) == FsStatus::kSharingViolation
             ? ProbeOutcome::kHeld
             : ProbeOutcome::kRefused;
}

// Opens `path` with `access` and closes it again: an open neither writes nor
// truncates, and Windows checks the rights and the sharing of the file
// then. The error it met, or ERROR_SUCCESS.
DWORD OpenRefusal(const std::string& path, DWORD access, DWORD share) {
  const HANDLE handle =
      CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return GetLastError();
  CloseHandle(handle);
  return ERROR_SUCCESS;
}

constexpr DWORD kShareAll =
    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

// A read-only file cannot be opened for writing at all; whoever holds it is
// met by an unshared open for reading just the same.
ProbeOutcome Win32FileSystem::ProbeWrite(const std::string& path) {
  const DWORD existing = GetFileAttributesA(path.c_str());
  if (!Exists(existing)) return Judged(*errors(), path, GetLastError());
  if ((existing & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return Judged(*errors(), path, ERROR_ACCESS_DENIED);
  }
  const bool read_only = (existing & FILE_ATTRIBUTE_READONLY) != 0;
  return Judged(
      *errors(), path,
      OpenRefusal(path, read_only ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE,
                  0));
}

// A file held open without delete sharing cannot be renamed, replaced or
// deleted: an open for deletion that shares everything meets that hold.
ProbeOutcome Win32FileSystem::ProbeReplace(const std::string& path) {
  return Judged(*errors(), path, OpenRefusal(path, DELETE, kShareAll));
}

std::string Win32FileSystem::RefusalReason(FsStatus status) {
  switch (status) {
    case FsStatus::kNotFound:
      return Win32ErrorText(ERROR_FILE_NOT_FOUND);
    case FsStatus::kSharingViolation:
      return Win32ErrorText(ERROR_SHARING_VIOLATION);
    case FsStatus::kAccessDenied:
      return Win32ErrorText(ERROR_ACCESS_DENIED);
    case FsStatus::kOkay:
    case FsStatus::kOtherError:
      break;
  }
  return Win32ErrorText(ERROR_GEN_FAILURE);
}

// SetFileAttributesA opens for attributes alone, which no hold on the bytes
// stands against.
ProbeOutcome Win32FileSystem::ProbeAttributes(const std::string& path) {
  return Judged(*errors(), path,
                OpenRefusal(path, FILE_WRITE_ATTRIBUTES, kShareAll));
}

ProbeOutcome Win32FileSystem::ProbeNewName(const std::string& folder) {
  const DWORD existing = GetFileAttributesA(folder.c_str());
  if (!Exists(existing)) return Judged(*errors(), folder, GetLastError());
  if ((existing & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return Judged(*errors(), folder, ERROR_DIRECTORY);
  }
  return ProbeOutcome::kUnknown;
}

bool Win32FileSystem::FreeSpaceOf(const std::string& folder, DiskSpace* space) {
  char root[MAX_PATH + 1];
  ULARGE_INTEGER available;
  DWORD sectors = 0, sector_bytes = 0, free_clusters = 0, clusters = 0;
  if (!GetVolumePathNameA(folder.c_str(), root, sizeof root) ||
      !GetDiskFreeSpaceExA(folder.c_str(), &available, nullptr, nullptr) ||
      !GetDiskFreeSpaceA(root, &sectors, &sector_bytes, &free_clusters,
                         &clusters)) {
    return false;
  }
  space->volume = root;
  space->free_bytes = available.QuadPart;
  const uint64_t cluster = uint64_t{sectors} * sector_bytes;
  space->block_bytes = cluster != 0 ? cluster : 1;
  space->full_reason = Win32ErrorText(ERROR_DISK_FULL);
  return true;
}

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
  return std::make_unique<Win32FileSystem>();
}

std::string SystemTempFolder() {
  char buffer[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof buffer, buffer);
  if (length == 0 || length > MAX_PATH) return "";
  return WithoutTrailingBackslash(std::string(buffer, length));
}

std::unique_ptr<File> MakeScratchFile(const std::string& folder) {
  char name[MAX_PATH];
  if (GetTempFileNameA(folder.c_str(), "qrn", 0, name) == 0) return nullptr;
  // The system deletes the file when its handle closes, and closes every
  // handle of a process that ends, whatever ends it.
  const HANDLE handle = CreateFileA(
      name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    DeleteFileA(name);
    return nullptr;
  }
  // Nobody asks a scratch file why it failed: its owner reports for it.
  return std::make_unique<Win32File>(handle, std::make_shared<FsErrorRecord>(),
                                     folder);
}

}  // namespace quarn
