// The progress copy's progress as one self-updating line on a terminal.
#pragma once

#include <cstdio>
#include <string>

#include "shell/file_copy.h"

namespace quarn {

/// True when `stream` is a terminal.
bool IsTerminal(FILE* stream);

/// Shows "Copying NAME: pieces written: K" on `stream`, rewritten in place; a
/// headless run is never cancelled between pieces.
class TerminalProgress : public CopyProgress {
 public:
  /// Writes to `stream`, which must outlive it; null shows nothing.
  explicit TerminalProgress(FILE* stream) : stream_(stream) {}
  void Begin(const std::string& source, const std::string& target,
             int32_t steps) override;
  void Step() override;
  bool CancelRequested() override { return false; }
  void End() override;

 private:
  void Show();

  FILE* stream_;
  std::string name_;
  int64_t done_ = 0;
};

}  // namespace quarn
