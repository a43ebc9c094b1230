#include "shell/win32/welcome_page.h"

#include <algorithm>

#include "shell/win32/dialog_template.h"

namespace quarn {
namespace {

enum WelcomeControl {
  kNextButton = 5010,
  kQuitButton = 5011,
  kPictureLabel = 5012,
  kWelcomeText = 5013,
};

constexpr int kPageWidth = 400;
constexpr int kButtonHeight = 14;
constexpr int kLowestPictureHeight = 180;

struct WelcomeData {
  const SetupSettings* setup;
  HBITMAP picture;
};

SIZE BitmapSize(HBITMAP picture) {
  BITMAP info = {};
  GetObjectA(picture, sizeof(info), &info);
  return {info.bmWidth, info.bmHeight};
}

HWND AddPixelControl(HWND dialog, const char* window_class,
                     const std::string& text, DWORD style, int id,
                     const RECT& rect) {
  HWND control = CreateWindowExA(
      0, window_class, text.c_str(), WS_CHILD | WS_VISIBLE | style, rect.left,
      rect.top, rect.right - rect.left, rect.bottom - rect.top, dialog,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      GetModuleHandleA(nullptr), nullptr);
  SendMessageA(control, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0),
               FALSE);
  return control;
}

// The page is as tall as the picture (at least 180 pixels) plus the button
// row; the buttons sit two pixels below the picture.
void OnInitWelcome(HWND dialog, const WelcomeData& data) {
  const SIZE picture = BitmapSize(data.picture);
  const int height = std::max<int>(picture.cy, kLowestPictureHeight);
  const RECT page = DialogUnitsRect(dialog, 0, 0, kPageWidth, kButtonHeight);
  SetWindowPos(dialog, nullptr, 0, 0, page.right, height + 56,
               SWP_NOMOVE | SWP_NOZORDER);
  CentreOnScreen(dialog);
  HWND label = AddPixelControl(dialog, "STATIC", "", SS_BITMAP, kPictureLabel,
                               {0, 0, picture.cx, picture.cy});
  SendMessageA(label, STM_SETIMAGE, IMAGE_BITMAP,
               reinterpret_cast<LPARAM>(data.picture));
  const int top = height + 2;
  RECT quit = DialogUnitsRect(dialog, 0, 0, 199, kButtonHeight);
  RECT next = DialogUnitsRect(dialog, 201, 0, 195, kButtonHeight);
  OffsetRect(&quit, 0, top);
  OffsetRect(&next, 0, top);
  AddPixelControl(dialog, "BUTTON", "&Quit", WS_TABSTOP | BS_PUSHBUTTON,
                  kQuitButton, quit);
  AddPixelControl(dialog, "BUTTON", "&Next >>", WS_TABSTOP | BS_DEFPUSHBUTTON,
                  kNextButton, next);
  const RECT right = DialogUnitsRect(dialog, 395, 0, 0, 0);
  AddPixelControl(dialog, "STATIC", data.setup->welcome_text,
                  WS_BORDER | SS_LEFT | SS_NOPREFIX, kWelcomeText,
                  {picture.cx, 0, right.left, top});
  SetFocus(GetDlgItem(dialog, kNextButton));
}

void OnWelcomeCommand(HWND dialog, int id) {
  if (id == kNextButton) EndDialog(dialog, IDOK);
  if (id == kQuitButton || id == IDCANCEL) EndDialog(dialog, IDCANCEL);
}

INT_PTR CALLBACK WelcomeProc(HWND dialog, UINT message, WPARAM wparam,
                             LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitWelcome(dialog, *reinterpret_cast<WelcomeData*>(lparam));
      return FALSE;
    case WM_COMMAND:
      OnWelcomeCommand(dialog, LOWORD(wparam));
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

bool RunWelcomePage(const SetupSettings& setup, HBITMAP picture) {
  WelcomeData data = {&setup, picture};
  const DialogFrame frame = {
      setup.welcome_caption, kPageWidth, 200,
      WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME};
  return RunModalDialog(frame, nullptr, WelcomeProc, &data) == IDOK;
}

}  // namespace quarn
