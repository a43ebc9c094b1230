#include "img/img_delete.h"

#include <optional>
#include <string>

#include "img/img_names.h"
#include "img/img_required_open.h"
#include "text/ascii.h"

namespace quarn {
namespace {

constexpr char kRangeSeparator[] = " TO ";

CommandResult FailNotOpen(RunContext& ctx) {
  return FailOnNewLine(ctx, kImgNotOpen);
}

CommandResult FailNoObject(RunContext& ctx) {
  return FailOnNewLine(ctx, "no object specified.");
}

}  // namespace

CommandResult RunImgDelete(RunContext& ctx, ImgDirectory& img,
                           const Command& command) {
  const std::string name = CutTo(command.argument, kImgNameBufferCapacity);
  ctx.Log.LogText("Deleting object " + name + " ... ");
  if (!img.IsOpen) return FailNotOpen(ctx);
  if (name.empty()) return FailNoObject(ctx);
  const bool marked = MarkDeletedIgnoringCase(img.Entries, name) > 0;
  ctx.Log.LogLine(marked ? "ok" : "not found");
  return CommandResult::kContinue;
}

CommandResult RunImgDelFrom(RunContext& ctx, ImgDirectory& img,
                            const Command& command) {
  if (!img.IsOpen) return FailNotOpen(ctx);
  // Upper-casing first lets the separator be written in any letter case.
  const std::string range = ToUpperAscii(command.argument);
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

  std::vector<ImgEntry>& entries = img.Entries;
  const std::optional<size_t> from = FindFirstUpperCased(entries, first);
  if (!from) return Fail(ctx, "ERROR: " + first + " not found");
  const std::optional<size_t> to = FindFirstUpperCased(entries, last);
  if (!to) return Fail(ctx, "ERROR: " + last + " not found");
  if (*to <= *from) return Fail(ctx, "ERROR: objects in wrong order");
  for (size_t i = *from; i <= *to; ++i) entries[i].MarkDeleted();
  return CommandResult::kContinue;
}

}  // namespace quarn
