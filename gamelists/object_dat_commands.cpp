#include "gamelists/object_dat_commands.h"

#include <algorithm>
#include <string>
#include <utility>

#include "gamelists/list_file_lines.h"
#include "gamelists/object_dat_list.h"
#include "platform/game_file.h"
#include "script/game_file_rewrite.h"
#include "text/ascii.h"

namespace quarn {
namespace {

const char kNotOpen[] = "ERROR: 'object.dat' not open";
const size_t kKeywordLength = 15;  // "OBJECT.DAT ADD " and "OBJECT.DAT DEL "
const size_t kArgumentCapacity = 999;

std::string Argument(const InstallContext& ctx) {
  return CutTo(ArgumentAfter(ctx, kKeywordLength), kArgumentCapacity);
}

std::string WithoutTabs(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\t'), text.end());
  return text;
}

}  // namespace

CommandResult RunObjectDatOpen(InstallContext& ctx) {
  ctx.CommandRecognised = true;
  if (ctx.GamePath.empty()) return Fail(ctx, "Install path unknown");
  ObjectDatList& list = ctx.ObjectDat;
  if (list.IsOpen) return Fail(ctx, "ERROR: 'object.dat' already open");

  ctx.Log.LogText("Opening the 'object.dat' file...");
  const std::string path = ctx.GamePath + kObjectDatFile;
  std::string bytes;
  switch (ReadGameFile(ctx.Fs, path, &bytes)) {
    case GameFileRead::kMissing:
      return Fail(ctx, "file not found");
    case GameFileRead::kInaccessible:
      return Fail(ctx, "Can't access file");
    case GameFileRead::kOkay:
      break;
  }
  ObjectDatList read;
  const std::string problem = FillObjectDatList(ListFileLines(bytes), &read);
  if (!problem.empty()) return Fail(ctx, problem);
  read.Path = path;
  read.IsOpen = true;
  list = std::move(read);
  ctx.Log.LogLine("ok");
  return CommandResult::kContinue;
}

CommandResult RunObjectDatAdd(InstallContext& ctx) {
  ctx.CommandRecognised = true;
  if (ctx.GamePath.empty()) return Fail(ctx, "Install path unknown");
  ObjectDatList& list = ctx.ObjectDat;
  if (!list.IsOpen) return Fail(ctx, kNotOpen);

  const std::string argument = Argument(ctx);
  ctx.Log.LogLine("Adding: " + argument);
  if (list.Lines.size() == kObjectDatCapacity) {
    return Fail(ctx, TooManyObjectDatLines());
  }
  list.Lines.push_back(CutTo(argument, kObjectDatLineCapacity));
  return CommandResult::kContinue;
}

CommandResult RunObjectDatDel(InstallContext& ctx) {
  ctx.CommandRecognised = true;
  if (ctx.GamePath.empty()) return Fail(ctx, "Install path unknown");
  ObjectDatList& list = ctx.ObjectDat;
  if (!list.IsOpen) return Fail(ctx, kNotOpen);

  const std::string argument = Argument(ctx);
  ctx.Log.LogLine("Deleting " + argument + " ...");
  if (argument.compare(0, 1, "*") == 0)
    return Fail(ctx, "'OBJECT.DAT DEL *' not allowed");
  std::vector<std::string> kept;
  for (const std::string& line : list.Lines) {
    if (ObjectDatDelMatches(line, argument)) {
      ctx.Log.LogLine("Deleted: " + WithoutTabs(line));
    } else {
      kept.push_back(line);
    }
  }
  if (kept.size() == list.Lines.size()) ctx.Log.LogLine("nothing deleted");
  list.Lines = std::move(kept);
  return CommandResult::kContinue;
}

CommandResult RunObjectDatClose(InstallContext& ctx) {
  ctx.CommandRecognised = true;
  if (ctx.GamePath.empty()) return Fail(ctx, "Install path unknown");
  ObjectDatList& list = ctx.ObjectDat;
  if (!list.IsOpen) return Fail(ctx, kNotOpen);

  ctx.Log.LogText("Rewriting the 'object.dat' file... ");
  switch (RewriteGameFile(ctx.Fs, list.Path, ObjectDatLayout(list))) {
    case GameFileRewrite::kMissing:
      return Fail(ctx, "file not found");
    case GameFileRewrite::kInaccessible:
      return Fail(ctx, "Can't access file");
    case GameFileRewrite::kWriteFailed:
      return Fail(ctx, "Can't rewrite file");
    case GameFileRewrite::kOkay:
      break;
  }
  list.IsOpen = false;
  ctx.Log.LogLine("ok");
  return CommandResult::kContinue;
}

}  // namespace quarn
