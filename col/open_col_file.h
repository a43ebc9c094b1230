// The collision file the COL commands edit, held in memory from its opening
// to its rewrite, for the whole run across the scripts of all mods.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "col/col_chunks.h"

namespace quarn {

/// The most models the open file may hold.
inline constexpr size_t kColModelCapacity = 3001;

/// The open collision file's state.
struct OpenColFile {
  bool IsOpen = false;
  /// The game folder followed by the file, as opened; the rewrite goes here
  /// even if a later script names another game folder.
  std::string Path;
  /// The models the rewrite writes, in order: those read at the opening
  /// (nameless ones too), then those added. Removed models are gone.
  std::vector<ColChunk> Models;

  /// Removes every model named `name` (letter case ignored); how many went.
  size_t RemoveNamed(const std::string& name);

  /// The bytes of the file the models make, back to back.
  std::string FileBytes() const;

  /// What refuses more than kColModelCapacity models for this file.
  std::string TooManyModelsMessage() const;
};

}  // namespace quarn
