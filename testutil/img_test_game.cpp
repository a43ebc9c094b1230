#include "testutil/img_test_game.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "img/img_open.h"
#include "img/img_rebuild.h"
#include "text/ascii.h"

namespace quarn {
namespace {

void PutLittleEndian32(std::string* out, int32_t signed_value) {
  const uint32_t value = static_cast<uint32_t>(signed_value);
  for (int i = 0; i < 4; ++i)
    out->push_back(static_cast<char>(value >> (8 * i)));
}

bool IsTexture(const std::string& name) {
  return name.size() >= 4 &&
         ToUpperAscii(name.substr(name.size() - 4)) == ".TXD";
}

}  // namespace

std::string ImgRecordBytes(int32_t offset, int32_t size,
                           const std::string& name_field) {
  std::string record;
  PutLittleEndian32(&record, offset);
  PutLittleEndian32(&record, size);
  std::string name = name_field.substr(0, 24);
  name.resize(24, '\0');
  return record + name;
}

std::string ImgEntryData(int tag, int sectors) {
  std::string data(static_cast<size_t>(sectors) * 2048, '\0');
  for (size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<char>((tag * 37 + i / 2048 * 11 + i * 3) % 251 + 1);
  }
  return data;
}

std::string PaddedToSector(const std::string& bytes) {
  std::string padded = bytes;
  padded.resize((bytes.size() + 2047) / 2048 * 2048, '\0');
  return padded;
}

void ResizeTestFile(const std::string& engine_path, int64_t length) {
  std::error_code error;
  std::filesystem::resize_file(NativePath(engine_path),
                               static_cast<uintmax_t>(length), error);
}

int64_t TestFileLength(const std::string& engine_path) {
  std::error_code error;
  const uintmax_t length =
      std::filesystem::file_size(NativePath(engine_path), error);
  return error ? -1 : static_cast<int64_t>(length);
}

std::string DeletedNameField(const std::string& name_field) {
  return std::string(1, '\0') + name_field.substr(1);
}

std::string QueuedFileData(int tag, size_t length) {
  return ImgEntryData(tag, static_cast<int>(length / 2048 + 1))
      .substr(0, length);
}

ImgTestGame::ImgTestGame(FileSystem* fs) {
  if (fs == nullptr) {
    own_fs_ = MakeNativeFileSystem();
    fs = own_fs_.get();
  }
  fs_ = fs;
  MakeTestFolder(game() + "models");
  MakeTestFolder(mod());
  log_ = std::make_unique<InstallLog>(&window_, nullptr);
  ctx_ = std::make_unique<InstallContext>(*fs_, *log_);
  ctx_->InstallerDir = folder_.path();
  ctx_->GamePath = game();
  ctx_->ModPath = mod();
  ctx_->SourceDir = mod();
}

void ImgTestGame::WriteFiles(const std::string& dir_bytes,
                             const std::string& img_bytes) {
  WriteTestFile(game() + kDir, dir_bytes);
  WriteTestFile(game() + kImg, img_bytes);
}

bool ImgTestGame::Open() {
  ctx_->ScriptLine = "IMG OPENDEF";
  const bool opened =
      RunImgOpenDef(*ctx_, ctx_->Img, Command{}) == CommandResult::kContinue;
  // Tests state only what the command under test logs.
  window_.Clear();
  return opened;
}

void ImgTestGame::Queue(const std::string& name, const std::string& bytes) {
  WriteTestFile(mod() + name, bytes);
  ImgPendingAdds& adds = ctx_->Img.PendingAdds;
  (IsTexture(name) ? adds.Textures : adds.Others).push_back({mod(), name});
}

CommandResult ImgTestGame::Rebuild(const std::string& line) {
  ctx_->ScriptLine = line;
  ctx_->CommandRecognised = false;
  return RunImgRebuild(*ctx_, ctx_->Img, Command{});
}

}  // namespace quarn
