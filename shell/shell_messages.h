// How the shell's window-free logic tells the user something: the window
// program shows each text in a message box, the headless runner prints it.
#pragma once

#include <string>
#include <vector>

namespace quarn {

/// The caption of every message box the shell shows.
inline constexpr char kShellCaption[] = "Quarn Installer";

/// Receives the shell's messages one at a time, in the order they arise.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  /// Shows `text` (which may hold CR LF) and returns once the user has seen
  /// it; the caller then goes on.
  virtual void Show(const std::string& text) = 0;
};

/// Keeps every message in memory, for callers that show them later.
class CollectedMessages : public MessageSink {
 public:
  void Show(const std::string& text) override { texts.push_back(text); }

  std::vector<std::string> texts;  ///< every message, oldest first
};

}  // namespace quarn
