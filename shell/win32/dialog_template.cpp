#include "shell/win32/dialog_template.h"

#include <vector>

namespace quarn {
namespace {

// The template's strings are UTF-16 even for the ANSI functions.
void AppendWide(std::vector<WORD>* words, const std::string& text) {
  const int count =
      MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::vector<wchar_t> wide(count > 0 ? count : 1, L'\0');
  if (count > 0) {
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), count);
  }
  words->insert(words->end(), wide.begin(), wide.end());
}

std::vector<WORD> BuildTemplate(const DialogFrame& frame) {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
  header->style = frame.style | DS_SETFONT | DS_SHELLFONT | DS_CENTER;
  header->cdit = 0;
  header->cx = static_cast<short>(frame.width);
  header->cy = static_cast<short>(frame.height);
  words.push_back(0);  // no menu
  words.push_back(0);  // the standard dialog class
  AppendWide(&words, frame.caption);
  words.push_back(8);  // point size
  AppendWide(&words, "MS Shell Dlg");
  return words;
}

}  // namespace

INT_PTR RunModalDialog(const DialogFrame& frame, HWND owner, DLGPROC procedure,
                       void* data) {
  const std::vector<WORD> words = BuildTemplate(frame);
  return DialogBoxIndirectParamA(
      GetModuleHandleA(nullptr),
      reinterpret_cast<const DLGTEMPLATE*>(words.data()), owner, procedure,
      reinterpret_cast<LPARAM>(data));
}

HWND CreateModelessDialog(const DialogFrame& frame, HWND owner,
                          DLGPROC procedure, void* data) {
  const std::vector<WORD> words = BuildTemplate(frame);
  return CreateDialogIndirectParamA(
      GetModuleHandleA(nullptr),
      reinterpret_cast<const DLGTEMPLATE*>(words.data()), owner, procedure,
      reinterpret_cast<LPARAM>(data));
}

RECT DialogUnitsRect(HWND dialog, int x, int y, int w, int h) {
  RECT rect = {x, y, x + w, y + h};
  MapDialogRect(dialog, &rect);
  return rect;
}

HWND AddControl(HWND dialog, const char* window_class, const std::string& text,
                DWORD style, int id, int x, int y, int w, int h) {
  const RECT rect = DialogUnitsRect(dialog, x, y, w, h);
  HWND control = CreateWindowExA(
      0, window_class, text.c_str(), WS_CHILD | WS_VISIBLE | style, rect.left,
      rect.top, rect.right - rect.left, rect.bottom - rect.top, dialog,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      GetModuleHandleA(nullptr), nullptr);
  if (control) {
    SendMessageA(control, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0),
                 FALSE);
  }
  return control;
}

HWND AddButton(HWND dialog, const std::string& text, int id, int x, int y,
               int w, int h, DWORD extra_style) {
  return AddControl(dialog, "BUTTON", text,
                    WS_TABSTOP | BS_PUSHBUTTON | extra_style, id, x, y, w, h);
}

void KeepDialogData(HWND dialog, LPARAM data) {
  SetWindowLongPtrA(dialog, DWLP_USER, data);
}

void CentreOnScreen(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace quarn
