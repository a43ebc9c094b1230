#include "gamecheck/game_check.h"

#include "gamecheck/level_list_rules.h"
#include "gamecheck/loaded_game.h"

namespace quarn {

CheckFindings CheckGame(FileSystem& fs, const std::string& game,
                        const CheckLimits& limits) {
  LoadedGame loaded(fs, game, limits);
  CheckLevelLists(&loaded);
  return loaded.findings;
}

}  // namespace quarn
