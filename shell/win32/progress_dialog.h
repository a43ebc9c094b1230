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
  explicit ProgressDialog(HWND owner) : owner_(owner) {}
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
  HWND dialog_ = nullptr;
  bool abort_ = false;
};

}  // namespace quarn
