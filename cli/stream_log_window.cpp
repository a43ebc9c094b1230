#include "cli/stream_log_window.h"

namespace quarn {

void StreamLogWindow::Append(const std::string& text) {
  fwrite(text.data(), 1, text.size(), stream_);
  fflush(stream_);
}

}  // namespace quarn
