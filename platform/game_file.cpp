#include "platform/game_file.h"

#include "platform/existence.h"
#include "platform/file_contents.h"

namespace quarn {

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
  if (!WriteWholeFile(fs, temporary, bytes)) {
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
