// The text files the game keeps in sections (item definitions, placements):
// a keyword line opens a section, "end" closes it. One reader and one writer
// serve every editor of such files, so they all drop and keep the same lines.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quarn {

/// The most characters a line kept in a section holds; longer ones are cut.
inline constexpr size_t kSectionLineCapacity = 499;

/// The lines of a game text file that carry meaning: split as every text
/// file is, each cut to 999 characters and trimmed of blanks, without
/// empty lines and without comments (lines beginning with "#").
std::vector<std::string> MeaningfulLines(const std::string& bytes);

/// One thing the reader found, in file order.
struct SectionFileEntry {
  enum Kind {
    kLine,    ///< a line kept in section `section`
    kHeader,  ///< a keyword line that opens section `section`
  };
  Kind kind = kLine;
  size_t section = 0;  ///< index into the keyword list
  std::string text;    ///< the line as read: at most 999 characters, trimmed
};

/// Reads `bytes` as a section file whose sections are `keywords` (lower
/// case; headers match in any case), taking its MeaningfulLines. "end" closes
/// the open section; any other line met while a section is open is kept in it;
/// then a keyword line opens its section. So a header met while a section is
/// still open is first kept as a line of that section. Lines outside the known
/// sections are dropped.
std::vector<SectionFileEntry> ReadSectionFile(
    const std::string& bytes, const std::vector<std::string>& keywords);

/// One section as it is written: its keyword and its lines.
struct SectionBlock {
  std::string keyword;                    ///< lower case
  const std::vector<std::string>* lines;  ///< empty lines are deleted ones
};

/// The bytes of a section file holding `blocks` in order: each is its
/// keyword, its non-empty lines and "end", every line ending in CR LF. A
/// block without lines is written as its keyword and "end".
std::string SectionFileBytes(const std::vector<SectionBlock>& blocks);

/// A section's lines as an editor holds them, up to a fixed count. A
/// deleted line keeps its place as an empty line: it is never written and
/// still counts towards the limit until the list is emptied.
class SectionList {
 public:
  /// An empty list that holds at most `limit` lines.
  explicit SectionList(size_t limit) : limit_(limit) {}

  /// Appends `line` cut to 499 characters. False, with nothing appended,
  /// when the list already holds its limit of lines.
  bool Append(const std::string& line);

  /// Deletes every line that `search` matches (SearchMatches) and returns
  /// their texts in list order.
  std::vector<std::string> Delete(const std::string& search);

  /// Forgets every line, deleted ones included.
  void Clear() { lines_.clear(); }

  /// The lines in order, deleted ones as empty lines.
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  size_t limit_;
  std::vector<std::string> lines_;
};

/// A section file held in memory from an editor's opening command to its
/// closing one.
struct EditedSectionFile {
  /// Closed, with one empty list per limit, in the editor's section order.
  explicit EditedSectionFile(const std::vector<size_t>& limits);

  std::vector<SectionList> Sections;
  std::string Path;     ///< the file the closing command writes
  bool IsOpen = false;  ///< between the opening and the closing command

  /// Empties every list, deleted lines included.
  void ClearSections();
};

/// True when `line` is found by `search`: a search ending in "*" finds the
/// lines that begin with the rest of it, any other search only the line
/// equal to it; both exact, case included. An empty line is never found.
bool SearchMatches(const std::string& search, const std::string& line);

/// True when a search text can find anything sensible: "*" alone would
/// find every line.
bool IsValidSearch(const std::string& search);

/// A command argument that may name a section first.
struct SectionArgument {
  bool all_sections = true;  ///< no section was named
  size_t section = 0;  ///< index into the keyword list, unless all_sections
  std::string text;    ///< the rest: a line to add or a search text
};

/// Splits a command argument that may begin with one of `keywords` (any
/// case) and a blank: that section and the rest of the argument, or all
/// sections and the whole argument.
SectionArgument SplitSectionArgument(const std::string& argument,
                                     const std::vector<std::string>& keywords);

}  // namespace quarn
