// Pages and dialogs are built from code: an empty in-memory template gives
// the frame, the caption and the dialog font; the controls are added in
// dialog units when the dialog starts.
#pragma once

#include <windows.h>

#include <string>

namespace quarn {

/// The frame of a dialog built from code.
struct DialogFrame {
  std::string caption;
  int width;    ///< dialog units
  int height;   ///< dialog units
  DWORD style;  ///< besides DS_SETFONT and DS_CENTER
};

/// Runs a modal dialog with `frame` and `procedure`, which gets `data` as
/// the WM_INITDIALOG parameter. Returns what EndDialog was given, or -1.
INT_PTR RunModalDialog(const DialogFrame& frame, HWND owner, DLGPROC procedure,
                       void* data);

/// Creates a modeless dialog with `frame`; null on failure.
HWND CreateModelessDialog(const DialogFrame& frame, HWND owner,
                          DLGPROC procedure, void* data);

/// The rectangle in pixels of x, y, w, h dialog units of `dialog`.
RECT DialogUnitsRect(HWND dialog, int x, int y, int w, int h);

/// Adds a control of `window_class` at x, y, w, h dialog units, with the
/// dialog's font. Returns it, or null.
HWND AddControl(HWND dialog, const char* window_class, const std::string& text,
                DWORD style, int id, int x, int y, int w, int h);

/// Adds a push button (BS_PUSHBUTTON plus `extra_style`).
HWND AddButton(HWND dialog, const std::string& text, int id, int x, int y,
               int w, int h, DWORD extra_style = 0);

/// The data pointer a dialog was started with.
template <typename T>
T* DialogData(HWND dialog) {
  return reinterpret_cast<T*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

/// Keeps `data` as the dialog's data pointer (at WM_INITDIALOG).
void KeepDialogData(HWND dialog, LPARAM data);

/// Moves `window` to the middle of the screen.
void CentreOnScreen(HWND window);

}  // namespace quarn
