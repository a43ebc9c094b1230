#include "cli/terminal_progress.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace quarn {

bool IsTerminal(FILE* stream) {
#ifdef _WIN32
  return _isatty(_fileno(stream)) != 0;
#else
  return isatty(fileno(stream)) != 0;
#endif
}

void TerminalProgress::Begin(const std::string& source, const std::string&,
                             int32_t) {
  name_ = source.substr(source.rfind('\\') + 1);
  done_ = 0;
  Show();
}

void TerminalProgress::Step() {
  ++done_;
  Show();
}

void TerminalProgress::End() {
  if (stream_ == nullptr) return;
  fputc('\n', stream_);
  fflush(stream_);
}

void TerminalProgress::Show() {
  if (stream_ == nullptr) return;
  fprintf(stream_, "\rCopying %s: pieces written: %lld", name_.c_str(),
          static_cast<long long>(done_));
  fflush(stream_);
}

}  // namespace quarn
