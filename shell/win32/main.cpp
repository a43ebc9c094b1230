// QuarnInstaller.exe: one installer at a time; the whole interactive phase
// runs inside the main window's creation.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "shell/win32/installer_app.h"
#include "shell/win32/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  using namespace quarn;
  if (FindWindowA(kMainClassName, kMainTitle)) return 0;
  InitCommonControls();
  if (!RegisterMainWindowClass(instance)) return 1;
  static InstallerApp app;
  HWND window = CreateWindowExA(0, kMainClassName, kMainTitle,
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0,
                                0, 0, nullptr, nullptr, instance, &app);
  if (!window) return 0;
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
