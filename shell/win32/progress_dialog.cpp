#include "shell/win32/progress_dialog.h"

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "shell/win32/dialog_template.h"

namespace quarn {
namespace {

constexpr int kProgressBarId = 13072;

HBRUSH DialogBrush() {
  static HBRUSH brush = CreateSolidBrush(RGB(192, 192, 222));
  return brush;
}

void OnInitProgress(HWND dialog) {
  AddControl(dialog, PROGRESS_CLASSA, "", 0, kProgressBarId, 5, 12, 190, 12);
  AddButton(dialog, "&Cancel", IDCANCEL, 70, 50, 60, 14);
}

INT_PTR CALLBACK ProgressProc(HWND dialog, UINT message, WPARAM wparam,
                              LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      KeepDialogData(dialog, lparam);
      OnInitProgress(dialog);
      return TRUE;
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(DialogBrush());
    case WM_COMMAND:
      if (LOWORD(wparam) == IDCANCEL) {
        DialogData<ProgressDialog>(dialog)->OnCancel();
      }
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void ProgressDialog::Begin(const std::string&, const std::string&,
                           int32_t steps) {
  abort_ = false;
  const DialogFrame frame = {caption_, 200, 70,
                             WS_POPUP | WS_CAPTION | DS_MODALFRAME};
  dialog_ = CreateModelessDialog(frame, owner_, ProgressProc, this);
  if (!dialog_) return;
  HWND bar = GetDlgItem(dialog_, kProgressBarId);
  SendMessageA(bar, PBM_SETRANGE32, 0, steps);
  SendMessageA(bar, PBM_SETSTEP, 1, 0);
  if (owner_) EnableWindow(owner_, FALSE);
  ShowWindow(dialog_, SW_SHOW);
  // Within a piece nothing repaints: draw everything before the first.
  if (owner_) {
    RedrawWindow(owner_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  UpdateWindow(dialog_);
  PumpMessages();
}

void ProgressDialog::Step() {
  if (!dialog_) return;
  SendDlgItemMessageA(dialog_, kProgressBarId, PBM_STEPIT, 0, 0);
  UpdateWindow(GetDlgItem(dialog_, kProgressBarId));
}

bool ProgressDialog::CancelRequested() {
  if (!abort_) PumpMessages();
  return abort_;
}

void ProgressDialog::End() {
  if (!dialog_) return;
  if (owner_) EnableWindow(owner_, TRUE);
  DestroyWindow(dialog_);
  dialog_ = nullptr;
}

void ProgressDialog::OnCancel() {
  EnableWindow(dialog_, FALSE);
  if (MessageBoxA(dialog_, "Abort the process?", "Abort?",
                  MB_YESNO | MB_ICONQUESTION) == IDYES) {
    abort_ = true;
  }
  EnableWindow(dialog_, TRUE);
}

void ProgressDialog::PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (dialog_ && IsDialogMessageA(dialog_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace quarn
