#include "run/copy_command.h"

#include "editing/contained_path.h"
#include "ide/ide_scan.h"
#include "platform/existence.h"
#include "text/ascii.h"

namespace quarn {
namespace {

constexpr size_t kKeywordLength = 5;  // "COPY "
const char kSeparator[] = " TO ";
constexpr size_t kSeparatorLength = 4;
// Where the 10th character of the line stands; a fourth quote before it
// leaves no room for two paths.
constexpr size_t kTenthCharacter = 9;
const char kUsage[] = "Use COPY <source within your mod> TO <dest within game>";

// Where a copy comes from and goes to, relative to the mod and the game.
struct CopyArguments {
  std::string source;
  std::string destination;
};

size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t pos = text.find(part); pos != std::string::npos;
       pos = text.find(part, pos + part.size())) {
    ++count;
  }
  return count;
}

// COPY a TO b: both paths upper-cased, the separator in any case.
CommandResult ParseUnquoted(InstallContext& ctx, CopyArguments* args) {
  const std::string line = ToUpperAscii(ctx.ScriptLine);
  const size_t separators = CountOf(line, kSeparator);
  if (separators == 0) return Fail(ctx, kUsage);
  if (separators > 1) return Fail(ctx, "Illegal instruction in COPY");
  // The blank that ends "COPY " may also begin the separator: the source is
  // then empty.
  const size_t at = line.find(kSeparator);
  args->source = at > kKeywordLength
                     ? line.substr(kKeywordLength, at - kKeywordLength)
                     : "";
  args->destination = line.substr(at + kSeparatorLength);
  return CommandResult::kContinue;
}

// COPY "a" TO "b": four quotes, the separator in upper case, paths as
// written.
CommandResult ParseQuoted(InstallContext& ctx, const Command& command,
                          size_t quotes, CopyArguments* args) {
  const std::string& line = ctx.ScriptLine;
  if (quotes != 4) {
    return Fail(ctx,
                "When using quotes, make sure you use 4 of them, 2 on each "
                "file");
  }
  if (command.argument.find(kSeparator) == std::string::npos) {
    return Fail(ctx, kUsage);
  }
  size_t at[4];
  for (size_t i = 0, from = 0; i < 4; ++i) {
    at[i] = line.find('"', from);
    from = at[i] + 1;
  }
  // Such a line fails the run without a message of its own.
  if (at[3] < kTenthCharacter) return CommandResult::kEndRun;
  args->source = line.substr(at[0] + 1, at[1] - at[0] - 1);
  args->destination = line.substr(at[2] + 1, at[3] - at[2] - 1);
  return CommandResult::kContinue;
}

CommandResult ParseCopyLine(InstallContext& ctx, const Command& command,
                            CopyArguments* args) {
  const size_t quotes = CountOf(ctx.ScriptLine, "\"");
  return quotes == 0 ? ParseUnquoted(ctx, args)
                     : ParseQuoted(ctx, command, quotes, args);
}

// Windows drops blanks and dots at the end of a file name: "x.ide. "
// lands as x.ide, and must be scanned like it.
bool EndsInIde(const std::string& path) {
  const size_t end = path.find_last_not_of(". ");
  const std::string name =
      end == std::string::npos ? "" : path.substr(0, end + 1);
  return name.size() >= 4 &&
         ToUpperAscii(name.substr(name.size() - 4)) == ".IDE";
}

}  // namespace

CommandResult RunCopyCommand(InstallContext& ctx, const Command& command) {
  CopyArguments args;
  QUARN_RETURN_IF_ENDED(ParseCopyLine(ctx, command, &args));
  const std::string error = ContainedPathError(args.destination, "COPY");
  if (!error.empty()) return Fail(ctx, error);
  // Without a game folder the copy would land wherever the process happens
  // to be.
  QUARN_RETURN_IF_ENDED(RequireGamePath(ctx));
  // A cut path can name a different file (".ide.bak" cut to ".ide").
  const std::string source = ctx.ModPath + args.source;
  const std::string destination = ctx.GamePath + args.destination;
  for (const std::string* path : {&source, &destination}) {
    if (path->size() > kCopyPathCapacity) {
      return Fail(ctx, "Path too long in COPY: " + *path);
    }
  }
  return RunCopy(ctx, source, destination);
}

CommandResult RunCopy(InstallContext& ctx, const std::string& source,
                      const std::string& destination) {
  ctx.Log.LogLine("Copy " + source);
  ctx.Log.LogText(" to " + destination + "... ");
  if (!IsOrdinaryFile(ctx.Fs, source)) {
    ctx.Log.LogLine(" ");
    ctx.Log.LogLine("Not found: " + source);
  }
  if (!ClearAttributesForAccess(ctx.Fs, destination) &&
      ctx.Fs.AttributesOf(destination) != kNoSuchFile) {
    return Fail(ctx, "Can't access " + destination);
  }
  if (!ctx.Fs.CopyOver(source, destination)) return Fail(ctx, "failed");
  ctx.Log.LogLine("ok");
  if (EndsInIde(destination)) return ScanIdeFile(ctx, ctx, destination);
  return CommandResult::kContinue;
}

}  // namespace quarn
