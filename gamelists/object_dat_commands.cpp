#include "gamelists/object_dat_commands.h"

#include <algorithm>
#include <string>
#include <vector>

#include "editing/edited_game_file.h"
#include "editing/list_editor.h"
#include "gamelists/object_dat_list.h"
#include "text/ascii.h"

namespace quarn {
namespace {

const ListOpenTexts kOpenTexts = {kObjectDatFile,
                                  "ERROR: 'object.dat' already open",
                                  "Opening the 'object.dat' file..."};
const char kNotOpen[] = "ERROR: 'object.dat' not open";
const RewriteMessages kRewriteMessages = {"file not found",
                                          "Can't access file"};
const size_t kArgumentCapacity = 999;

std::string Argument(const Command& command) {
  return CutTo(command.argument, kArgumentCapacity);
}

std::string WithoutTabs(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\t'), text.end());
  return text;
}

}  // namespace

CommandResult RunObjectDatOpen(RunContext& ctx, ObjectDatList& list,
                               const Command&) {
  return OpenGameList(ctx, kOpenTexts, FillObjectDatList, &list);
}

CommandResult RunObjectDatAdd(RunContext& ctx, ObjectDatList& list,
                              const Command& command) {
  QUARN_RETURN_IF_ENDED(RequireOpenList(ctx, list.IsOpen, kNotOpen));

  const std::string argument = Argument(command);
  ctx.Log.LogLine("Adding: " + argument);
  if (list.Lines.size() == kObjectDatCapacity) {
    return Fail(ctx, TooManyObjectDatLines());
  }
  list.Lines.push_back(CutTo(argument, kObjectDatLineCapacity));
  return CommandResult::kContinue;
}

CommandResult RunObjectDatDel(RunContext& ctx, ObjectDatList& list,
                              const Command& command) {
  QUARN_RETURN_IF_ENDED(RequireOpenList(ctx, list.IsOpen, kNotOpen));

  const std::string argument = Argument(command);
  ctx.Log.LogLine("Deleting " + argument + " ...");
  if (argument.compare(0, 1, "*") == 0) {
    return Fail(ctx, "'OBJECT.DAT DEL *' not allowed");
  }
  // A deleted line keeps its place, empty, and counts towards the capacity
  // until the next reading.
  bool deleted = false;
  for (std::string& line : list.Lines) {
    if (line.empty() || !ObjectDatDelMatches(line, argument)) continue;
    ctx.Log.LogLine("Deleted: " + WithoutTabs(line));
    line.clear();
    deleted = true;
  }
  if (!deleted) ctx.Log.LogLine("nothing deleted");
  return CommandResult::kContinue;
}

CommandResult RunObjectDatClose(RunContext& ctx, ObjectDatList& list,
                                const Command&) {
  QUARN_RETURN_IF_ENDED(RequireOpenList(ctx, list.IsOpen, kNotOpen));

  ctx.Log.LogText("Rewriting the 'object.dat' file... ");
  QUARN_RETURN_IF_ENDED(RewriteEditedFile(ctx, list.Path, ObjectDatLayout(list),
                                          kRewriteMessages));
  list.IsOpen = false;
  ctx.Log.LogLine("ok");
  return CommandResult::kContinue;
}

}  // namespace quarn
