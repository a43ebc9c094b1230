// The shell's messages on a stdio stream, one message after another.
#pragma once

#include <cstdio>
#include <string>

#include "shell/shell_messages.h"

namespace quarn {

/// Prints every message as a line; a CR LF inside becomes a line break.
class StreamMessages : public MessageSink {
 public:
  /// Writes to `stream`, which must outlive it.
  explicit StreamMessages(FILE* stream) : stream_(stream) {}
  void Show(const std::string& text) override;

 private:
  FILE* stream_;
};

}  // namespace quarn
