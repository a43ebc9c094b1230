#include "platform/game_file.h"

#include <memory>

#include "platform/existence.h"
#include "platform/file_contents.h"

namespace quarn {
namespace {

// The temporary's bytes reach the disk before its name replaces the old
// file's, so that a crash leaves the old file or the new one, never an
// empty one.
bool WriteAndFlush(FileSystem& fs, const std::string& path,
                   const std::string& bytes) {
  std::unique_ptr<File> file = fs.Open(path, OpenMode::kCreate, nullptr);
  return file && file->WriteAt(0, bytes.data(), bytes.size()) && file->Flush();
}

}  // namespace

// A file of the user's that happens to carry our temporary suffix is never
// overwritten: the first free number is taken.
std::string FreeTemporaryName(FileSystem& fs, const std::string& path) {
  for (int n = 0;; ++n) {
    std::string name = path + ".quarn-new";
    if (n > 0) name += std::to_string(n);
    if (fs.AttributesOf(name) == kNoSuchFile) return name;
  }
}

GameFileRead ReadGameFile(FileSystem& fs, const std::string& path,
                          std::string* bytes) {
  if (!IsOrdinaryFile(fs, path)) return GameFileRead::kMissing;
  if (!ClearAttributesForAccess(fs, path)) return GameFileRead::kInaccessible;
  if (!ReadWholeFile(fs, path, bytes)) return GameFileRead::kInaccessible;
  return GameFileRead::kOkay;
}

bool ReplaceWholeFile(FileSystem& fs, const std::string& path,
                      const std::string& bytes) {
  const std::string temporary = FreeTemporaryName(fs, path);
  if (!WriteAndFlush(fs, temporary, bytes)) {
    fs.RemoveFile(temporary);
    return false;
  }
  if (!fs.RenameOver(temporary, path)) {
    fs.RemoveFile(temporary);
    return false;
  }
  return true;
}

}  // namespace quarn
