// What the game has loaded so far while the check follows its loading
// order: the models it defined, the texture dictionaries, which models have
// object information. The rule families share it.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "gamecheck/check_findings.h"
#include "platform/file_system.h"

namespace quarn {

/// The kind of model an IDE section defines.
enum class ModelKind { kSimple, kTime, kPed, kVehicle, kWeapon, kClump };

/// One defined model.
struct DefinedModel {
  ModelKind kind = ModelKind::kSimple;  ///< by the section defining it
  std::string name;  ///< lower case, as the game keeps it (21 characters)
  std::string file;  ///< where it was defined
  size_t line = 0;
};

/// The loading game's state, for one check.
struct LoadedGame {
  /// A game in `game` (ending in a backslash), checked against `limits`.
  LoadedGame(FileSystem& files, const std::string& game,
             const CheckLimits& limits);

  FileSystem& fs;           ///< what the game's files are read through
  std::string game_folder;  ///< ending in a backslash
  CheckFindings findings;   ///< what the check found so far
  std::unordered_map<long, DefinedModel> models;  ///< by ID
  std::unordered_set<std::string>
      model_names;  ///< every one defined, lower case
  std::unordered_set<std::string> texture_dictionaries;  ///< lower case
  std::unordered_set<std::string> object_info_models;    ///< lower case
  bool archive_read = false;  ///< object.dat and the directory are in

  /// Reads the game's file `path` (relative to the game folder) into
  /// `*bytes`; false when it is missing or unreadable.
  bool ReadFile(const std::string& path, std::string* bytes);
  /// True when `path` (relative to the game folder) is an ordinary file.
  bool HasFile(const std::string& path);
  /// True when model `id` fits the model table; else reports the crash
  /// against `file`'s `line`.
  bool IdInModelTable(long id, const std::string& file, size_t line);
  /// Counts texture dictionary `name` once, the first time it is named.
  void NameTextureDictionary(const std::string& name, const std::string& file,
                             size_t line);
};

}  // namespace quarn
