#include "platform/file_contents.h"

namespace quarn {

bool ReadWholeFile(File& file, std::string* bytes) {
  uint64_t length = 0;
  if (!file.Length(&length)) return false;
  bytes->assign(static_cast<size_t>(length), '\0');
  size_t got = 0;
  if (length > 0 && !file.ReadAt(0, &(*bytes)[0], bytes->size(), &got)) {
    return false;
  }
  bytes->resize(got);
  return true;
}

bool ReadWholeFile(FileSystem& fs, const std::string& path,
                   std::string* bytes) {
  std::unique_ptr<File> file = fs.Open(path, OpenMode::kRead, nullptr);
  return file && ReadWholeFile(*file, bytes);
}

bool WriteWholeFile(FileSystem& fs, const std::string& path,
                    const std::string& bytes) {
  std::unique_ptr<File> file = fs.Open(path, OpenMode::kCreate, nullptr);
  return file && file->WriteAt(0, bytes.data(), bytes.size());
}

}  // namespace quarn
