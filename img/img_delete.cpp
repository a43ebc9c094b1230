#include "img/img_delete.h"

#include <optional>
#include <string>

#include "img/img_names.h"
#include "text/ascii.h"

namespace quarn {
namespace {

constexpr size_t kDeleteKeywordLength = 11;   // "IMG DELETE "
constexpr size_t kDelFromKeywordLength = 12;  // "IMG DELFROM "
constexpr char kRangeSeparator[] = " TO ";

CommandResult FailNotOpen(InstallContext& ctx) {
  ctx.Log.LogLine(" ");
  return Fail(ctx, "ERROR: IMG not open");
}

CommandResult FailNoObject(InstallContext& ctx) {
  ctx.Log.LogLine(" ");
  return Fail(ctx, "no object specified.");
}

}  // namespace

CommandResult RunImgDelete(InstallContext& ctx) {
  ctx.CommandRecognised = true;
  const std::string name =
      CutTo(ArgumentAfter(ctx, kDeleteKeywordLength), kImgNameBufferCapacity);
  ctx.Log.LogText("Deleting object " + name + " ... ");
  if (!ctx.Img.IsOpen) return FailNotOpen(ctx);
  if (name.empty()) return FailNoObject(ctx);
  const bool marked = MarkDeletedIgnoringCase(ctx.Img.Entries, name) > 0;
  ctx.Log.LogLine(marked ? "ok" : "not found");
  return CommandResult::kContinue;
}

CommandResult RunImgDelFrom(InstallContext& ctx) {
  ctx.CommandRecognised = true;
  if (!ctx.Img.IsOpen) return FailNotOpen(ctx);
  // Upper-casing first lets the separator be written in any letter case.
  const std::string range =
      ToUpperAscii(ArgumentAfter(ctx, kDelFromKeywordLength));
  const size_t separator = range.find(kRangeSeparator);
  std::string first = range;
  std::string last;
  if (separator != std::string::npos) {
    first = range.substr(0, separator);
    last = range.substr(separator + std::string(kRangeSeparator).size());
  }
  first = CutTo(first, kImgNameBufferCapacity);
  last = CutTo(last, kImgNameBufferCapacity);
  if (first.empty() || last.empty()) return FailNoObject(ctx);

  std::vector<ImgEntry>& entries = ctx.Img.Entries;
  const std::optional<size_t> from = FindFirstUpperCased(entries, first);
  if (!from) return Fail(ctx, "ERROR: " + first + " not found");
  const std::optional<size_t> to = FindFirstUpperCased(entries, last);
  if (!to) return Fail(ctx, "ERROR: " + last + " not found");
  if (*to <= *from) return Fail(ctx, "ERROR: objects in wrong order");
  for (size_t i = *from; i <= *to; ++i) entries[i].MarkDeleted();
  return CommandResult::kContinue;
}

}  // namespace quarn
