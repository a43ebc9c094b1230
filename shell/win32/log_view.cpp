#include "shell/win32/log_view.h"

namespace quarn {
namespace {

constexpr int kLogViewId = 101;

}  // namespace

HWND CreateLogView(HWND window) {
  HWND view = CreateWindowExA(
      WS_EX_CLIENTEDGE, "EDIT", "",
      WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE |
          ES_AUTOVSCROLL | ES_NOHIDESEL | ES_READONLY,
      10, 10, 575, 350, window,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLogViewId)),
      GetModuleHandleA(nullptr), nullptr);
  if (!view) return nullptr;
  // The default limit would silently stop the log at 30,000 characters.
  SendMessageA(view, EM_SETLIMITTEXT, 0, 0);
  if (HGDIOBJ font = GetStockObject(ANSI_VAR_FONT)) {
    SendMessageA(view, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  return view;
}

void ShowQueuedLog(HWND log_view, LogQueue& queue) {
  const PendingLog pending = queue.Take();
  if (pending.clear_first) {
    SetWindowTextA(log_view, pending.text.c_str());
    const int end = GetWindowTextLengthA(log_view);
    SendMessageA(log_view, EM_SETSEL, end, end);
    SendMessageA(log_view, EM_SCROLLCARET, 0, 0);
    return;
  }
  if (pending.text.empty()) return;
  const int end = GetWindowTextLengthA(log_view);
  SendMessageA(log_view, EM_SETSEL, end, end);
  SendMessageA(log_view, EM_REPLACESEL, FALSE,
               reinterpret_cast<LPARAM>(pending.text.c_str()));
}

}  // namespace quarn
