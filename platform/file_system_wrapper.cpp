#include "platform/file_system_wrapper.h"

namespace quarn {

FileSystemWrapper::~FileSystemWrapper() = default;

uint32_t FileSystemWrapper::AttributesOf(const std::string& path) {
  return target_.AttributesOf(path);
}

bool FileSystemWrapper::SetAttributes(const std::string& path,
                                      uint32_t attributes) {
  return target_.SetAttributes(path, attributes);
}

std::unique_ptr<File> FileSystemWrapper::Open(const std::string& path,
                                              OpenMode mode, FsStatus* status) {
  return target_.Open(path, mode, status);
}

bool FileSystemWrapper::CopyOver(const std::string& from,
                                 const std::string& to) {
  return target_.CopyOver(from, to);
}

bool FileSystemWrapper::RenameOver(const std::string& from,
                                   const std::string& to) {
  return target_.RenameOver(from, to);
}

bool FileSystemWrapper::MakeFolder(const std::string& path) {
  return target_.MakeFolder(path);
}

bool FileSystemWrapper::RemoveFile(const std::string& path) {
  return target_.RemoveFile(path);
}

bool FileSystemWrapper::RemoveFolder(const std::string& path) {
  return target_.RemoveFolder(path);
}

FsStatus FileSystemWrapper::ListFolder(const std::string& path,
                                       std::vector<FolderEntry>* entries) {
  return target_.ListFolder(path, entries);
}

ListingRules FileSystemWrapper::ListingRulesOf(const std::string& path) {
  return target_.ListingRulesOf(path);
}

std::string FileSystemWrapper::CurrentFolder() {
  return target_.CurrentFolder();
}

bool FileSystemWrapper::ChangeFolder(const std::string& path) {
  return target_.ChangeFolder(path);
}

std::string FileSystemWrapper::AbsolutePath(const std::string& os_path) {
  return target_.AbsolutePath(os_path);
}

std::unique_ptr<FolderLock> FileSystemWrapper::LockFolder(
    const std::string& folder, FsStatus* status) {
  return target_.LockFolder(folder, status);
}

ProbeOutcome FileSystemWrapper::ProbeWrite(const std::string& path) {
  return target_.ProbeWrite(path);
}

ProbeOutcome FileSystemWrapper::ProbeReplace(const std::string& path) {
  return target_.ProbeReplace(path);
}

std::string FileSystemWrapper::RefusalReason(FsStatus status) {
  return target_.RefusalReason(status);
}

ProbeOutcome FileSystemWrapper::ProbeAttributes(const std::string& path) {
  return target_.ProbeAttributes(path);
}

ProbeOutcome FileSystemWrapper::ProbeNewName(const std::string& folder) {
  return target_.ProbeNewName(folder);
}

bool FileSystemWrapper::FreeSpaceOf(const std::string& folder,
                                    DiskSpace* space) {
  return target_.FreeSpaceOf(folder, space);
}

}  // namespace quarn
