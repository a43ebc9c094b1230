// The sample mod: a single-mod installer folder whose script exercises the
// script commands against the sample game it is written for.
#pragma once

#include <string>
#include <vector>

#include "tools/samplegen/sample_game.h"

namespace quarn {

/// What the sample mod does to the game, so tests can check the outcome.
struct SampleModPlan {
  std::string replaced_entry;    ///< an archive entry IMG ADD replaces
  std::string deleted_entry;     ///< an archive entry IMG DELETE removes
  std::string added_model;       ///< a new ".dff" entry IMG ADD appends
  std::string added_texture;     ///< a new ".txd" entry IMG ADD appends
  std::string created_folder;    ///< the game folder DIR CREATE makes
  std::string copied_ide;        ///< the IDE file COPY installs (game-relative)
  std::string copied_text;       ///< the text file quoted COPY installs
  std::vector<int> new_ids;      ///< IDs of the copied IDE file, all unused
  std::string listed_ide;        ///< the gta_vc.dat line GTA_VC.DAT ADD adds
  std::string redefined_object;  ///< the game object whose object.dat line
                                 ///< the mod replaces; empty when none
  std::vector<std::string> object_lines;  ///< the object.dat lines it adds
  std::string col_file;      ///< the game's COL file the COL commands edit
  std::string col_source;    ///< the mod's COL file they add from
  std::string col_replaced;  ///< the model COL ADD replaces
  std::string col_deleted;   ///< the model COL DELETE removes
  std::vector<std::string> col_added;  ///< models new to the COL file
  // A new object takes the place of a map area's first object; all empty
  // when the game has no map area with objects or no ID left for it.
  std::string edited_ide;  ///< the area's IDE file, as gta_vc.dat names it
  std::string edited_ipl;  ///< the area's IPL file, as gta_vc.dat names it
  int removed_id = 0;      ///< the object whose definition and placements go
  std::string added_definition;     ///< the "objs" line IDE ADD adds
  std::string added_placement;      ///< the "inst" line IPL ADD adds
  std::vector<std::string> script;  ///< the lines of "QuarnInstall.txt"
};

/// The mod for the game `game` describes (its archive needs at least three
/// entries; its highest object ID must leave room for four more).
/// Empty `replaced_entry` when the game does not qualify.
SampleModPlan PlanSampleMod(const SampleGameOptions& game);

/// Writes the sample mod into the native folder `dir`: "QuarnInstall.txt"
/// (CR LF) and the files it installs: "SAMPLE.IDE", "SAMPLE.COL" and
/// "Read Me.txt" beside it, the archive files in the subfolder "models". The
/// script uses comments (whole-line and trailing), blank lines, mixed-case
/// keywords, PRINT with and without text, CLS, DIR CREATE, both COPY forms
/// (one with the IDE file of fresh IDs), the list editors, the IDE and IPL
/// editors (OPEN, DEL, ADD, CLOSE), DIR SELECT, IMG OPENDEF, IMG ADD (a
/// replacement, a new model, a new texture), IMG DELETE and IMG CLOSE, and
/// the COL commands, and ends with "All done." against the game. False with
/// `*error` set when the game does not qualify or a file cannot be written.
bool WriteSampleMod(const std::string& dir, const SampleGameOptions& game,
                    std::string* error);

}  // namespace quarn
