// The game's object property list data\object.dat in memory: its lines in
// order, uninterpreted, and the form it is written back in.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quarn {

/// The list file, relative to the game folder.
inline constexpr char kObjectDatFile[] = "data\\object.dat";
/// The most lines the list holds.
inline constexpr size_t kObjectDatCapacity = 1901;
/// The most characters a stored line keeps; the rest is cut.
inline constexpr size_t kObjectDatLineCapacity = 499;

/// The edited list, from OBJECT.DAT OPEN to OBJECT.DAT CLOSE.
struct ObjectDatList {
  bool IsOpen = false;
  std::string Path;  ///< the file OPEN read; CLOSE writes it back there
  std::vector<std::string> Lines;
};

/// The message for a line the full list cannot take.
std::string TooManyObjectDatLines();

/// Fills the empty `list` from the file's lines (as ListFileLines gives
/// them): empty lines and lines beginning with "*" dropped, every other
/// line kept in order. Returns the message when they are too many, or
/// empty.
std::string FillObjectDatList(const std::vector<std::string>& lines,
                              ObjectDatList* list);

/// True when `line` is what OBJECT.DAT DEL's `argument` deletes: equal
/// without regard to case, or, for an argument holding a "*", beginning
/// with the argument's text before its last character.
bool ObjectDatDelMatches(const std::string& line, const std::string& argument);

/// The file's new content: every line, then an empty line and the end
/// marker "* ;end of file", each line ended with CR LF.
std::string ObjectDatLayout(const ObjectDatList& list);

}  // namespace quarn
