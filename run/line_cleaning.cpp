#include "run/line_cleaning.h"

#include "run/install_context.h"
#include "text/lines.h"

namespace quarn {
namespace {

std::string FoldRuns(const std::string& text, char c) {
  std::string folded;
  for (char ch : text) {
    if (ch == c && !folded.empty() && folded.back() == c) continue;
    folded += ch;
  }
  return folded;
}

}  // namespace

std::string CleanScriptLine(const std::string& raw) {
  std::string line = LineUpToNul(raw, kScriptLineCapacity);
  const size_t comment = line.find(';');
  if (comment != std::string::npos) line.resize(comment);
  return FoldRuns(FoldRuns(TrimBlanks(line), ' '), '\t');
}

}  // namespace quarn
