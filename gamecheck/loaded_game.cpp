#include "gamecheck/loaded_game.h"

#include "platform/file_contents.h"
#include "text/ascii.h"
#include "text/numbers.h"

namespace quarn {

LoadedGame::LoadedGame(FileSystem& files, const std::string& game,
                       const CheckLimits& limits)
    : fs(files), game_folder(game) {
  findings.limits = limits;
  // The game makes the slot of its own textures before it reads a file.
  texture_dictionaries.insert("generic");
  findings.Use(Limit::kTextureDictionaries, "", 0);
}

bool LoadedGame::ReadFile(const std::string& path, std::string* bytes) {
  return HasFile(path) && ReadWholeFile(fs, game_folder + path, bytes);
}

bool LoadedGame::HasFile(const std::string& path) {
  const uint32_t attributes = fs.AttributesOf(game_folder + path);
  return attributes != kNoSuchFile && (attributes & kAttrDirectory) == 0;
}

bool LoadedGame::IdInModelTable(long id, const std::string& file, size_t line) {
  const int64_t size = findings.limits.Of(Limit::kModelIds);
  if (id >= 0 && id < size) return true;
  findings.Add(file, line, CheckEffect::kCrashes,
               "model ID " + std::to_string(id) + " outside 0 to " +
                   FormatGrouped(size - 1),
               TableLimitOf(Limit::kModelIds).name);
  return false;
}

void LoadedGame::NameTextureDictionary(const std::string& name,
                                       const std::string& file, size_t line) {
  if (texture_dictionaries.insert(ToLowerAscii(name)).second) {
    findings.Use(Limit::kTextureDictionaries, file, line);
  }
}

}  // namespace quarn
