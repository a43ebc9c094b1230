// The game's master list data\gta_vc.dat in memory: its lines sorted by
// class, and the fixed layout the list is written back in.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace quarn {

/// The list file, relative to the game folder.
inline constexpr char kGtaVcDatFile[] = "data\\gta_vc.dat";
/// The most lines each of the four class lists holds.
inline constexpr size_t kGtaVcDatListCapacity = 2001;
/// The most characters a stored line keeps; the rest is cut.
inline constexpr size_t kGtaVcDatEntryCapacity = 263;
/// The most characters a splash slot keeps; the rest is cut.
inline constexpr size_t kSplashSlotCapacity = 299;
/// How many splash lines the list has places for.
inline constexpr size_t kSplashSlotCount = 3;

/// What a line of the list is, by its first word and, for IPL lines, by
/// whether it names a zone file.
enum class GtaVcDatClass { kIde, kColFile, kZone, kIpl, kSplash, kUnknown };

/// The edited list, from GTA_VC.DAT OPEN to GTA_VC.DAT CLOSE.
struct GtaVcDatList {
  bool IsOpen = false;
  std::string Path;  ///< the file OPEN read; CLOSE writes it back there
  std::vector<std::string> Ide;
  std::vector<std::string> ColFiles;
  std::vector<std::string> Zones;
  std::vector<std::string> Ipl;
  /// Whole lines written at the three splash places; empty means none.
  std::array<std::string, kSplashSlotCount> SplashSlots;
};

/// The class of `line`, told by its beginning compared without regard to
/// case: "IDE ", "COLFILE ", "IPL " (a zone when it ends in ".ZON"),
/// "SPLASH ".
GtaVcDatClass ClassOfGtaVcDatLine(const std::string& line);

/// The list of `list` that keeps lines of class `kind`; null for splash
/// lines and unknown ones.
std::vector<std::string>* ListOfClass(GtaVcDatList& list, GtaVcDatClass kind);

/// The message for a line of class `kind` that its full list cannot take.
std::string TooManyGtaVcDatLines(GtaVcDatClass kind);

/// Fills the empty `list` from the file's lines (as ListFileLines gives
/// them): comments and empty lines dropped, the others stored by class, the
/// splash lines in the slots in file order. Returns the message of the
/// first line that cannot be stored, or empty.
std::string FillGtaVcDatList(const std::vector<std::string>& lines,
                             GtaVcDatList* list);

/// The file's new content: fixed comment lines, then the IDE lines, splash
/// slot 1, the COLFILE lines, the zone lines, splash slot 2, the IPL lines
/// and splash slot 3, each line ended with CR LF.
std::string GtaVcDatLayout(const GtaVcDatList& list);

}  // namespace quarn
