// Times the duplicate count of IMG VERIFY and the removal of IMG DELDUP on
// a directory of 30,000 entries, next to the pairwise versions they
// replace, and the two whole commands on a real (sparse) archive.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "editing/install_log.h"
#include "img/img_deldup.h"
#include "img/img_names.h"
#include "img/img_verify.h"
#include "platform/file_system.h"
#include "run/dispatch_table.h"
#include "run/install_context.h"

namespace quarn {
namespace {

constexpr size_t kEntries = 30000;

// Names like a game's: mostly unique, about 3% repeating an earlier name
// exactly, some of them more than once, a few in another letter case.
std::vector<ImgEntry> MakeDirectory() {
  std::mt19937 random(30000);
  std::vector<ImgEntry> entries(kEntries);
  std::vector<std::string> used;
  int32_t offset = 0;
  for (size_t i = 0; i < kEntries; ++i) {
    std::string name;
    const unsigned roll = random() % 1000;
    if (!used.empty() && roll < 30) {
      name = used[random() % used.size()];
    } else if (!used.empty() && roll < 35) {
      name = used[random() % used.size()];
      std::transform(name.begin(), name.end(), name.begin(), ::toupper);
    } else {
      name = "model_" + std::to_string(i) + (roll % 4 == 0 ? ".txd" : ".dff");
      used.push_back(name);
    }
    const int32_t size = 1 + static_cast<int32_t>(random() % 8);
    entries[i].SetOffset(offset);
    entries[i].SetSize(size);
    entries[i].SetName(name);
    offset += size;
  }
  return entries;
}

// The names once, so that the pairwise versions pay for comparing only.
std::vector<std::string_view> NameViews(const std::vector<ImgEntry>& entries) {
  std::vector<std::string_view> names;
  names.reserve(entries.size());
  for (const ImgEntry& entry : entries) names.push_back(NameView(entry));
  return names;
}

int64_t PairwiseDuplicates(const std::vector<ImgEntry>& entries) {
  const std::vector<std::string_view> names = NameViews(entries);
  int64_t pairs = 0;
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i].empty()) continue;
    for (size_t j = i + 1; j < names.size(); ++j) {
      if (names[j] == names[i]) ++pairs;
    }
  }
  return pairs;
}

std::vector<std::string> PairwiseDeleteDuplicates(
    std::vector<ImgEntry>& entries) {
  // Copies, since marking an entry deleted changes what its view shows.
  std::vector<std::string> names;
  for (std::string_view name : NameViews(entries)) names.emplace_back(name);
  std::vector<std::string> deleted;
  for (size_t i = entries.size(); i-- > 1;) {
    if (names[i].empty()) continue;
    for (size_t j = i; j-- > 0;) {
      if (names[j] != names[i]) continue;
      deleted.push_back(names[j]);
      names[j].clear();
      entries[j].MarkDeleted();
    }
  }
  return deleted;
}

bool PairwiseAddressFault(const std::vector<ImgEntry>& entries) {
  std::vector<int32_t> offsets;
  for (const ImgEntry& entry : entries) offsets.push_back(entry.Offset());
  for (size_t i = 0; i + 1 < offsets.size(); ++i) {
    bool found = false;
    for (size_t j = i + 1; j < offsets.size(); ++j) {
      if (offsets[j] <= offsets[i]) found = true;
    }
    if (found) return true;
  }
  return false;
}

// The best of `repeats` timings of `work`, in milliseconds.
double BestMs(int repeats, const std::function<void()>& work) {
  double best = 1e300;
  for (int r = 0; r < repeats; ++r) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double, std::milli> took =
        std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

bool SameBytes(const std::vector<ImgEntry>& a, const std::vector<ImgEntry>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::memcmp(a[i].bytes, b[i].bytes, kImgRecordSize) != 0) return false;
  }
  return true;
}

class NullWindow : public LogWindow {
 public:
  void Append(const std::string&) override {}
  void Clear() override {}
};

std::string EngineForm(const std::filesystem::path& native) {
  std::string text = native.string();
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  return text;
}

// Writes a game folder with the directory and a sparse archive of the
// matching length; returns its engine path ending in a backslash.
std::string WriteGame(const std::filesystem::path& root,
                      const std::vector<ImgEntry>& entries) {
  std::filesystem::create_directories(root / "models");
  std::ofstream dir(root / "models" / "gta3.dir", std::ios::binary);
  for (const ImgEntry& entry : entries) {
    dir.write(reinterpret_cast<const char*>(entry.bytes), kImgRecordSize);
  }
  dir.close();
  const ImgEntry& last = entries.back();
  std::ofstream(root / "models" / "gta3.img", std::ios::binary).close();
  std::filesystem::resize_file(
      root / "models" / "gta3.img",
      static_cast<uintmax_t>(last.Offset() + last.Size()) * 2048);
  return EngineForm(root) + "\\";
}

bool Dispatch(InstallContext& ctx, const char* line) {
  ctx.ScriptLine = line;
  return DispatchLine(ctx) == CommandResult::kContinue;
}

int Run() {
  const std::vector<ImgEntry> directory = MakeDirectory();
  std::printf("directory: %zu entries\n", directory.size());

  int64_t fast_pairs = 0;
  int64_t pairwise_pairs = 0;
  const double fast_count =
      BestMs(20, [&] { fast_pairs = CountDuplicatePairs(directory); });
  const double pairwise_count =
      BestMs(3, [&] { pairwise_pairs = PairwiseDuplicates(directory); });
  std::printf("duplicate pairs: %lld (pairwise %lld) %s\n",
              static_cast<long long>(fast_pairs),
              static_cast<long long>(pairwise_pairs),
              fast_pairs == pairwise_pairs ? "agree" : "DISAGREE");
  std::printf("  count by name: %8.3f ms   pairwise: %9.3f ms\n", fast_count,
              pairwise_count);

  std::vector<ImgEntry> fast_entries;
  std::vector<ImgEntry> pairwise_entries;
  std::vector<std::string> fast_log;
  std::vector<std::string> pairwise_log;
  const double fast_deldup = BestMs(20, [&] {
    fast_entries = directory;
    fast_log = DeleteDuplicates(fast_entries);
  });
  const double pairwise_deldup = BestMs(3, [&] {
    pairwise_entries = directory;
    pairwise_log = PairwiseDeleteDuplicates(pairwise_entries);
  });
  const bool deldup_agrees =
      fast_log == pairwise_log && SameBytes(fast_entries, pairwise_entries);
  std::printf("deleted duplicates: %zu (pairwise %zu) %s\n", fast_log.size(),
              pairwise_log.size(), deldup_agrees ? "agree" : "DISAGREE");
  std::printf("  removal by name: %6.3f ms   pairwise: %9.3f ms\n", fast_deldup,
              pairwise_deldup);

  AddressOrderFault fault;
  bool fast_fault = true;
  bool pairwise_fault = true;
  const double fast_order = BestMs(
      20, [&] { fast_fault = FindAddressOrderFault(directory, &fault); });
  const double pairwise_order =
      BestMs(3, [&] { pairwise_fault = PairwiseAddressFault(directory); });
  std::printf("address order fault: %s (pairwise %s)\n",
              fast_fault ? "yes" : "no", pairwise_fault ? "yes" : "no");
  std::printf("  suffix minimum: %7.3f ms   pairwise: %9.3f ms\n", fast_order,
              pairwise_order);

  const std::filesystem::path root =
      std::filesystem::temp_directory_path() / "quarn-img-verify-bench";
  std::filesystem::remove_all(root);
  const std::string game = WriteGame(root / "game", directory);
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  NullWindow window;
  std::unique_ptr<InstallLog> log =
      InstallLog::Create(*fs, EngineForm(root) + "\\", &window);
  double verify_ms = 0;
  double deldup_ms = 0;
  bool ok = true;
  for (int r = 0; r < 5; ++r) {
    InstallContext ctx(*fs, *log);
    ctx.GamePath = game;
    ok = ok && Dispatch(ctx, "IMG OPENDEF");
    const double verify =
        BestMs(1, [&] { ok = ok && Dispatch(ctx, "IMG VERIFY"); });
    const double deldup =
        BestMs(1, [&] { ok = ok && Dispatch(ctx, "IMG DELDUP"); });
    verify_ms = r == 0 ? verify : std::min(verify_ms, verify);
    deldup_ms = r == 0 ? deldup : std::min(deldup_ms, deldup);
    ctx.Img.CloseFiles();
  }
  std::printf("whole commands (best of 5, log written to a file):\n");
  std::printf("  IMG VERIFY: %8.3f ms (dump of %zu lines included)\n",
              verify_ms, directory.size() + 1);
  std::printf("  IMG DELDUP: %8.3f ms\n", deldup_ms);
  log.reset();
  std::filesystem::remove_all(root);
  const bool agree = fast_pairs == pairwise_pairs && deldup_agrees &&
                     fast_fault == pairwise_fault && ok;
  std::printf("%s\n", agree ? "all results agree" : "MISMATCH");
  return agree ? 0 : 1;
}

}  // namespace
}  // namespace quarn

int main() { return quarn::Run(); }
