#include "run/object_id_dump.h"

#include "platform/file_contents.h"

namespace quarn {
namespace {

constexpr int kLastId = 65535;
constexpr size_t kLineWidth = 80;

std::string RunItem(int first, int last) {
  const std::string a = std::to_string(first);
  const std::string b = std::to_string(last);
  if (first == last) return a + ", ";
  if (last == first + 1) return a + ", " + b + ", ";
  return a + " - " + b + ", ";
}

std::string StripCommasAndBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(", ");
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(", ");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string ObjectIdListText(const ObjectIdRegistry& ids) {
  std::string text;
  size_t line_start = 0;
  int run_start = -1;
  for (int id = 0; id <= kLastId; ++id) {
    const bool used = ids.IsUsed(static_cast<uint16_t>(id));
    if (used && run_start < 0) run_start = id;
    if (used || run_start < 0) continue;
    text += RunItem(run_start, id - 1);
    run_start = -1;
    if (text.size() - line_start > kLineWidth) {
      text += "\r\n";
      line_start = text.size();
    }
  }
  if (run_start >= 0) {
    text += " " + std::to_string(run_start) + " - " + std::to_string(kLastId);
  }
  return StripCommasAndBlanks(text);
}

void WriteObjectIdDump(InstallContext& ctx) {
  const std::string list = ObjectIdListText(ctx.ObjectIds);
  ctx.Log.LogText("Dumping object ID's from memory to disk... ");
  const std::string contents =
      "Memory object ID dump of used ID's\r\n" + list + "\r\n";
  if (!WriteWholeFile(ctx.Fs, ctx.InstallerDir + "ID dump.txt", contents)) {
    ctx.Log.LogLine("Can't access file");
    return;
  }
  ctx.Log.LogLine("ok");
}

}  // namespace quarn
