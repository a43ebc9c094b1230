// The sample setup: an installer folder with a catalogue of mod folders,
// the sample mod among them, for the generated sample game.
#pragma once

#include <string>
#include <vector>

#include "tools/samplegen/sample_game.h"

namespace quarn {

/// One mod folder of the sample catalogue.
struct SampleCatalogueMod {
  std::string folder;     ///< the folder name as written (case kept)
  std::string name_line;  ///< the first line of its "InsName.txt"
  bool ticked;            ///< ticked by default ("***" unticks)
  std::string marker;     ///< what it writes to "install order.txt", or ""
  std::string own_file;   ///< a file only this mod copies into the game
};

/// The name of the game file every mod with a marker overwrites, so the
/// last one installed is the one it names.
inline constexpr char kInstallOrderFile[] = "install order.txt";

/// The mods of the sample catalogue, in folder-number order: X1 the sample
/// mod, X2 a small ticked mod, X3 unticked by "***", x10_Last (a lower-case
/// "x" and a number that sorts before 2 by name).
std::vector<SampleCatalogueMod> SampleCatalogueMods();

/// Writes the sample catalogue into the native folder `dir`: every mod of
/// SampleCatalogueMods in its folder with "InsName.txt", the sample mod in
/// X1 as WriteSampleMod writes it. False with `*error` set when the game
/// does not suit the sample mod or a file cannot be written.
bool WriteSampleCatalogue(const std::string& dir, const SampleGameOptions& game,
                          std::string* error);

}  // namespace quarn
