#include "cli/stream_messages.h"

namespace quarn {

void StreamMessages::Show(const std::string& text) {
  std::string lines;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      lines += '\n';
      ++i;
    } else {
      lines += text[i];
    }
  }
  fprintf(stream_, "%s\n", lines.c_str());
  fflush(stream_);
}

}  // namespace quarn
