// The steps both list editors take alike: the opening command that reads a
// fresh list, and the checks before a command that needs the list open.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "editing/command.h"
#include "editing/edited_game_file.h"
#include "editing/list_file_lines.h"

namespace quarn {

/// The texts that tell one list editor's opening command apart.
struct ListOpenTexts {
  const char* file;          ///< the list file, relative to the game folder
  const char* already_open;  ///< the message for a second opening
  const char* opening;       ///< starts the line the outcome completes
};

/// Reads the list file of the game folder into a fresh `List` through
/// `fill` (which returns the message of what it cannot store, or empty) and
/// makes it `*list`, open, only when all of it was read: a failed opening
/// leaves `*list` as it was.
template <typename List>
CommandResult OpenGameList(RunContext& ctx, const ListOpenTexts& texts,
                           std::string (*fill)(const std::vector<std::string>&,
                                               List*),
                           List* list) {
  QUARN_RETURN_IF_ENDED(RequireGamePath(ctx));
  if (list->IsOpen) return Fail(ctx, texts.already_open);

  ctx.Log.LogText(texts.opening);
  const std::string path = ctx.GamePath + texts.file;
  std::string bytes;
  QUARN_RETURN_IF_ENDED(ReadEditedFile(ctx, path, "file not found", &bytes));
  List read;
  const std::string problem = fill(ListFileLines(bytes), &read);
  if (!problem.empty()) return Fail(ctx, problem);
  read.Path = path;
  read.IsOpen = true;
  *list = std::move(read);
  ctx.Log.LogLine("ok");
  return CommandResult::kContinue;
}

/// The checks before a list command that needs its list open: fails the
/// run with "Install path unknown" or `not_open`.
CommandResult RequireOpenList(RunContext& ctx, bool is_open,
                              const char* not_open);

}  // namespace quarn
