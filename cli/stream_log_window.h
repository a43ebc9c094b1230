// The headless runner's log window: a stream that sees every byte the log
// file gets, as it is written.
#pragma once

#include <cstdio>

#include "editing/install_log.h"

namespace quarn {

/// Shows the log on a stdio stream, flushed after every write.
class StreamLogWindow : public LogWindow {
 public:
  /// Writes to `stream`, which must outlive the window.
  explicit StreamLogWindow(FILE* stream) : stream_(stream) {}

  void Append(const std::string& text) override;

  /// A stream cannot be emptied; like the log file, it keeps everything.
  void Clear() override {}

 private:
  FILE* stream_;
};

}  // namespace quarn
