// The shell's messages as the window program shows them: one message box
// at a time, captioned "Quarn Installer", with an OK button.
#pragma once

#include <windows.h>

#include "shell/shell_messages.h"

namespace quarn {

/// Shows every message in a message box owned by `owner` (may be null).
class MessageBoxes : public MessageSink {
 public:
  explicit MessageBoxes(HWND owner) : owner_(owner) {}

  void Show(const std::string& text) override {
    MessageBoxA(owner_, text.c_str(), kShellCaption, MB_OK);
  }

 private:
  HWND owner_;
};

}  // namespace quarn
