// The progress dialog: shows the progress copy of the archive piece by
// piece and offers "&Cancel" between pieces.
#pragma once

#include <windows.h>

#include "shell/file_copy.h"

namespace quarn {

/// A CopyProgress shown as the "Copying:" dialog over `owner`, which stays
/// disabled while the copy runs.
class ProgressDialog : public CopyProgress {
 public:
  /// Captioned `caption`: "Copying:" for a restore's copies.
  explicit ProgressDialog(HWND owner, const char* caption = "Copying:")
      : owner_(owner), caption_(caption) {}
  ~ProgressDialog() override { End(); }
  ProgressDialog(const ProgressDialog&) = delete;
  ProgressDialog& operator=(const ProgressDialog&) = delete;

  void Begin(const std::string& source, const std::string& target,
             int32_t steps) override;
  void Step() override;
  /// Handles the window messages that arrived meanwhile ("&Cancel" among
  /// them); true once the user agreed to abort.
  bool CancelRequested() override;
  void End() override;

  /// "&Cancel" or Esc: asks "Abort the process?" with the dialog disabled.
  void OnCancel();

 private:
  void PumpMessages();

  HWND owner_;
  const char* caption_;
  HWND dialog_ = nullptr;
  bool abort_ = false;
};

}  // namespace quarn
