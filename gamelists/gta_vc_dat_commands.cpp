#include "gamelists/gta_vc_dat_commands.h"

#include <string>
#include <vector>

#include "editing/edited_game_file.h"
#include "editing/list_editor.h"
#include "gamelists/gta_vc_dat_list.h"
#include "text/ascii.h"

namespace quarn {
namespace {

const ListOpenTexts kOpenTexts = {kGtaVcDatFile,
                                  "ERROR: 'gta_vc.dat' already open",
                                  "Opening the 'gta_vc.dat' file... "};
const char kNotOpen[] = "ERROR: 'gta_vc.dat' not open";
const RewriteMessages kRewriteMessages = {"file disappeared into thin air",
                                          "Can't rewrite"};
const size_t kArgumentCapacity = 999;

// The slot "SPLASH1" to "SPLASH3" names (0 to 2), or -1.
int SplashSlotNamed(const std::string& upper_word) {
  for (size_t slot = 0; slot < kSplashSlotCount; ++slot) {
    if (upper_word == "SPLASH" + std::to_string(slot + 1)) {
      return static_cast<int>(slot);
    }
  }
  return -1;
}

std::string UpperArgument(const Command& command) {
  return ToUpperAscii(CutTo(command.argument, kArgumentCapacity));
}

CommandResult SetSplashSlot(RunContext& ctx, GtaVcDatList& list,
                            const Command& command, int slot) {
  const std::string argument = CutTo(command.argument, kArgumentCapacity);
  std::string& text = list.SplashSlots[slot];
  text = CutTo(argument.substr(8), kSplashSlotCapacity);
  ctx.Log.LogLine("Setting SPLASH " + std::to_string(slot + 1) + ": " + text);
  return CommandResult::kContinue;
}

// Empties every entry equal to `upper` once upper-cased; how many went. An
// emptied entry keeps its place and counts towards the capacity until the
// next reading, as it does in every editor of the program.
size_t DeleteEqual(std::vector<std::string>* entries,
                   const std::string& upper) {
  size_t deleted = 0;
  for (std::string& entry : *entries) {
    if (entry.empty() || ToUpperAscii(entry) != upper) continue;
    entry.clear();
    ++deleted;
  }
  return deleted;
}

}  // namespace

// The list is read into a fresh one, splash slots included: a list read
// twice in one run must not keep splash lines of the first reading.
CommandResult RunGtaVcDatOpen(RunContext& ctx, GtaVcDatList& list,
                              const Command&) {
  return OpenGameList(ctx, kOpenTexts, FillGtaVcDatList, &list);
}

CommandResult RunGtaVcDatAdd(RunContext& ctx, GtaVcDatList& list,
                             const Command& command) {
  QUARN_RETURN_IF_ENDED(RequireOpenList(ctx, list.IsOpen, kNotOpen));

  const std::string upper = UpperArgument(command);
  if (upper.size() >= 8 && upper[7] == ' ') {
    const int slot = SplashSlotNamed(upper.substr(0, 7));
    if (slot >= 0) return SetSplashSlot(ctx, list, command, slot);
  }
  ctx.Log.LogText("Adding: " + upper + " ... ");
  const GtaVcDatClass kind = ClassOfGtaVcDatLine(upper);
  std::vector<std::string>* entries = ListOfClass(list, kind);
  if (entries == nullptr) {
    ctx.Log.LogLine(" ");
    return Fail(ctx,
                "Failed. Use GTA_VC.DAT ADD <<IPL|IDE|COLFILE|SPLASH1|SPLASH2|"
                "SPLASH3> (and the rest of it)>");
  }
  if (entries->size() == kGtaVcDatListCapacity) {
    return Fail(ctx, TooManyGtaVcDatLines(kind));
  }
  entries->push_back(CutTo(upper, kGtaVcDatEntryCapacity));
  ctx.Log.LogLine("ok");
  return CommandResult::kContinue;
}

CommandResult RunGtaVcDatDel(RunContext& ctx, GtaVcDatList& list,
                             const Command& command) {
  QUARN_RETURN_IF_ENDED(RequireOpenList(ctx, list.IsOpen, kNotOpen));

  const std::string upper = UpperArgument(command);
  const int slot = SplashSlotNamed(upper);
  if (slot >= 0) {
    list.SplashSlots[slot].clear();
    ctx.Log.LogLine("SPLASH " + std::to_string(slot + 1) + " removed");
    return CommandResult::kContinue;
  }
  std::vector<std::string>* entries =
      ListOfClass(list, ClassOfGtaVcDatLine(upper));
  if (entries == nullptr) {
    return Fail(
        ctx, "Can't delete entry in 'gta_vc.dat'. Unknown class in: " + upper);
  }
  ctx.Log.LogText("Deleting: " + upper + " ... ");
  if (DeleteEqual(entries, upper) == 0) return Fail(ctx, "not found");
  ctx.Log.LogLine("ok");
  return CommandResult::kContinue;
}

CommandResult RunGtaVcDatClose(RunContext& ctx, GtaVcDatList& list,
                               const Command&) {
  QUARN_RETURN_IF_ENDED(RequireGamePath(ctx));
  ctx.Log.LogText("Rewriting the 'gta_vc.dat' file... ");
  if (!list.IsOpen) return Fail(ctx, kNotOpen);

  QUARN_RETURN_IF_ENDED(RewriteEditedFile(ctx, list.Path, GtaVcDatLayout(list),
                                          kRewriteMessages));
  list.IsOpen = false;
  ctx.Log.LogLine("ok");
  return CommandResult::kContinue;
}

}  // namespace quarn
