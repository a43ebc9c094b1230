#include "tools/bench/full_size_archive.h"

#include <memory>

#include "editing/install_log.h"
#include "img/img_open.h"
#include "img/img_rebuild.h"
#include "run/install_context.h"
#include "tools/samplegen/native_output.h"

namespace quarn {
namespace {

class CollectingLogWindow : public LogWindow {
 public:
  void Append(const std::string& text) override { shown += text; }
  void Clear() override {}
  std::string shown;
};

}  // namespace

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
      .count();
}

bool WriteBenchGame(const std::filesystem::path& work,
                    std::vector<GeneratedImgEntry>* entries, uint64_t* copied,
                    std::string* error) {
  const std::filesystem::path models = work / "game" / "models";
  if (!MakeNativeFolders(models, error) ||
      !MakeNativeFolders(work / "mod", error)) {
    return false;
  }
  *entries = PlanGeneratedImg(kBenchEntries, kBenchArchiveBytes, 1, 0);
  if (!WriteGeneratedImg(models.string(), *entries, error)) return false;
  *copied = 0;
  for (int i = kBenchDeletedEntry + 1; i < kBenchEntries; ++i) {
    *copied += uint64_t{(*entries)[i].sectors} * kImgSectorBytes;
  }
  for (size_t i = 0; i < 4; ++i) {
    if (!WriteNativeFile(
            work / "mod" / kBenchAddedNames[i],
            BenchPattern(kBenchAddedLengths[i], static_cast<int>(i)), error)) {
      return false;
    }
    *copied += kBenchAddedLengths[i];
  }
  return true;
}

bool RebuildBenchArchive(FileSystem& fs, const std::string& work,
                         double* seconds, std::string* log) {
  CollectingLogWindow window;
  InstallLog install_log(&window, nullptr);
  InstallContext ctx(fs, install_log);
  const std::string root = fs.AbsolutePath(work);
  ctx.GamePath = root + "\\game\\";
  const std::string mod = root + "\\mod\\";

  ctx.ScriptLine = "IMG OPENDEF";
  if (RunImgOpenDef(ctx, ctx.Img, Command{}) != CommandResult::kContinue) {
    *log = window.shown;
    return false;
  }
  ImgDirectory& img = ctx.Img;
  img.Entries[kBenchDeletedEntry].MarkDeleted();
  for (const char* name : kBenchAddedNames) {
    const std::string text(name);
    auto& queue = text.find(".txd") != std::string::npos
                      ? img.PendingAdds.Textures
                      : img.PendingAdds.Others;
    queue.push_back({mod, text});
  }
  ctx.ScriptLine = "IMG CLOSE";
  const auto start = std::chrono::steady_clock::now();
  const CommandResult result = RunImgRebuild(ctx, ctx.Img, Command{});
  *seconds = SecondsSince(start);
  *log = window.shown;
  return result == CommandResult::kContinue &&
         window.shown.find("Rebuilding done") != std::string::npos;
}

}  // namespace quarn
