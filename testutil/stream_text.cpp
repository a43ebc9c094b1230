#include "testutil/stream_text.h"

namespace quarn {

std::string TakeStreamText(FILE* stream) {
  std::string text;
  rewind(stream);
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, stream)) > 0) {
    text.append(buffer, got);
  }
  fclose(stream);
  return text;
}

}  // namespace quarn
