#include "shell/win32/main_window.h"

#include "run/runner.h"
#include "shell/shell_messages.h"
#include "shell/win32/log_view.h"
#include "shell/win32/start_up.h"

namespace quarn {
namespace {

constexpr int kCloseButtonId = 1056;
constexpr UINT_PTR kFinishingTimer = 1;
constexpr UINT_PTR kLogTimer = 2;
// Lines that arrive within this time reach the view in one append: each
// append costs the edit control about as much as a thousand characters.
constexpr UINT kLogBatchMs = 100;
constexpr UINT kFinishingNoticeDelayMs = 2000;

InstallerApp* AppOf(HWND window) {
  return reinterpret_cast<InstallerApp*>(
      GetWindowLongPtrA(window, GWLP_USERDATA));
}

void ShowLogView(InstallerApp& app, HWND window) {
  app.log_view = CreateLogView(window);
  app.close_button = CreateWindowExA(
      0, "BUTTON", "Close",
      WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_MULTILINE, 10, 370, 575, 40,
      window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCloseButtonId)),
      GetModuleHandleA(nullptr), nullptr);
  const int left = GetSystemMetrics(SM_CXSCREEN) / 2 - 300;
  const int top = GetSystemMetrics(SM_CYSCREEN) / 2 - 235;
  SetWindowPos(window, nullptr, left, top, 600, 450, SWP_NOZORDER);
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA& create) {
  auto* app = static_cast<InstallerApp*>(create.lpCreateParams);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
  if (!RunStartUp(*app, window)) return -1;
  ShowLogView(*app, window);
  PostMessageA(window, kStartWorker, 1, 1);
  return 0;
}

DWORD WINAPI WorkerMain(void* parameter) {
  auto* app = static_cast<InstallerApp*>(parameter);
  RunInstallation(*app->run);
  PostMessageA(app->main_window, kWorkerReturned, 0, 0);
  return 0;
}

void OnStartWorker(InstallerApp& app, WPARAM wparam) {
  if (LOWORD(wparam) != 1 || app.worker) return;
  app.worker = CreateThread(nullptr, 0, WorkerMain, &app, 0, nullptr);
}

// "Quit ?" during the run asks the worker to stop after the command under
// way; the program ends when the worker has closed its files.
void OnClose(InstallerApp& app) {
  if (!app.worker || app.run->WorkerFinished) {
    PostQuitMessage(0);
    return;
  }
  if (app.quitting) return;
  if (MessageBoxA(app.main_window, "Quit ?", kShellCaption,
                  MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return;
  }
  if (app.run->WorkerFinished) {
    PostQuitMessage(0);
    return;
  }
  app.quitting = true;
  app.run->StopRequested = true;
  SetTimer(app.main_window, kFinishingTimer, kFinishingNoticeDelayMs, nullptr);
}

void OnFinishingTimer(InstallerApp& app) {
  KillTimer(app.main_window, kFinishingTimer);
  if (app.run->WorkerFinished) return;
  SetWindowTextA(app.close_button,
                 "Finishing the command under way, then quitting...");
  EnableWindow(app.close_button, FALSE);
}

// The first text in an empty queue: show it, with whatever follows it
// meanwhile, a moment later.
void OnLogPending(InstallerApp& app) {
  if (app.log_timer_running) return;
  app.log_timer_running = true;
  SetTimer(app.main_window, kLogTimer, kLogBatchMs, nullptr);
}

void OnLogTimer(InstallerApp& app) {
  KillTimer(app.main_window, kLogTimer);
  app.log_timer_running = false;
  ShowQueuedLog(app.log_view, app.log_queue);
}

void OnTimer(InstallerApp& app, WPARAM timer) {
  if (timer == kLogTimer) OnLogTimer(app);
  if (timer == kFinishingTimer) OnFinishingTimer(app);
}

void OnWorkerReturned(InstallerApp& app) {
  ShowQueuedLog(app.log_view, app.log_queue);
  if (app.quitting) PostQuitMessage(0);
}

void OnDestroy(InstallerApp* app) {
  if (app && app->log && app->run && app->run->WorkerFinished) {
    app->log->CloseFile();
  }
  PostQuitMessage(0);
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = MAINWNDPROC;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  wc.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
  wc.lpszClassName = kMainClassName;
  return RegisterClassExA(&wc) != 0;
}

}  // namespace quarn

LRESULT CALLBACK MAINWNDPROC(HWND window, UINT message, WPARAM wparam,
                             LPARAM lparam) {
  using namespace quarn;
  InstallerApp* app = AppOf(window);
  switch (message) {
    case WM_CREATE:
      return OnCreate(window, *reinterpret_cast<CREATESTRUCTA*>(lparam));
    case kStartWorker:
      if (app) OnStartWorker(*app, wparam);
      return 0;
    case kLogPending:
      if (app) OnLogPending(*app);
      return 0;
    case kWorkerReturned:
      if (app) OnWorkerReturned(*app);
      return 0;
    case WM_TIMER:
      if (app) OnTimer(*app, wparam);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wparam) == kCloseButtonId)
        SendMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE:
      if (app) OnClose(*app);
      return 0;
    case WM_DESTROY:
      OnDestroy(app);
      return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}
