#include "gamelists/object_dat_list.h"

#include "text/ascii.h"
#include "text/lines.h"

namespace quarn {

std::string TooManyObjectDatLines() {
  return "ERROR: Too many lines for 'object.dat' (at most " +
         std::to_string(kObjectDatCapacity) + ")";
}

std::string FillObjectDatList(const std::vector<std::string>& lines,
                              ObjectDatList* list) {
  for (const std::string& line : lines) {
    if (line.empty() || line[0] == '*') continue;
    if (list->Lines.size() == kObjectDatCapacity) {
      return TooManyObjectDatLines();
    }
    list->Lines.push_back(CutTo(line, kObjectDatLineCapacity));
  }
  return "";
}

bool ObjectDatDelMatches(const std::string& line, const std::string& argument) {
  if (argument.find('*') == std::string::npos) {
    return EqualsIgnoringCase(line, argument);
  }
  // Whatever the last character is, it is the one dropped; a "*" elsewhere
  // is an ordinary character of the prefix.
  const size_t length = argument.size() - 1;
  return line.size() >= length &&
         EqualsIgnoringCase(line.substr(0, length), argument.substr(0, length));
}

std::string ObjectDatLayout(const ObjectDatList& list) {
  std::vector<std::string> lines;
  for (const std::string& line : list.Lines) {
    if (!line.empty()) lines.push_back(line);
  }
  lines.insert(lines.end(), {"", "* ;end of file"});
  return JoinLinesCrLf(lines);
}

}  // namespace quarn
