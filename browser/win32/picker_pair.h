// The mechanics every picker control shares: a container window of the
// control's own class around one standard inner control with the same
// identifier, a zero-filled state record owned by the container, and the
// inner control subclassed with its old window procedure kept in the record.
#pragma once

#include <windows.h>

#include <string>

namespace quarn {

/// The state record of one picker control.
struct PickerState {
  HWND container;
  HWND inner;
  WNDPROC inner_proc;  ///< the inner control's own window procedure
  HWND linked;       ///< drive list: directory list; directory list: file list
  int single_click;  ///< directory list: a button release acts as a double
                     ///< click
  HICON root_icon;   ///< directory list: the icon of the listed drive
  char folder[260];  ///< directory list: the folder it shows
};

/// How one picker control is made.
struct PickerClasses {
  const char* container_class;
  WNDPROC container_proc;  ///< must end with PickerContainerDefault
  const char* inner_class;
  DWORD inner_style;       ///< besides WS_CHILD and WS_VISIBLE
  WNDPROC inner_subclass;  ///< must end with CallInnerProc
};

/// Creates the pair at the given place (dialog units of `parent` when
/// `dialog_units` is non-zero), gives the inner control the stock
/// variable-pitch font. Returns the state record, or null when a window or the
/// record cannot be made (a window already made is left).
PickerState* CreatePickerPair(const PickerClasses& classes, HWND parent, int id,
                              int x, int y, int w, int h, int dialog_units);

/// Creates an owner-drawn drop-down list pair (the drive and file-type
/// lists) whose items are the small-icon height plus 3 pixels tall, its
/// container shrunk to the closed field. Null when it cannot be made.
PickerState* CreateComboPair(const char* container_class,
                             WNDPROC container_proc, WNDPROC inner_subclass,
                             HWND parent, int id, int x, int y, int w, int h,
                             int dialog_units);

/// Makes the container exactly as large as its inner control really is (a
/// combo box is only as tall as its closed field).
void ShrinkContainerToInner(const PickerState& state);

/// The state record of a container.
PickerState* ContainerState(HWND container);

/// The state record of an inner control.
PickerState* InnerState(HWND inner);

/// What a container does with messages it does not handle itself: command
/// notifications go on to its parent unchanged; the record is freed with
/// the window.
LRESULT PickerContainerDefault(HWND container, UINT message, WPARAM wparam,
                               LPARAM lparam);

/// Passes a message on to the inner control's own window procedure.
LRESULT CallInnerProc(HWND inner, UINT message, WPARAM wparam, LPARAM lparam);

/// The small-icon height plus `extra` pixels: the item height of the lists.
int PickerItemHeight(int extra);

/// The text of the item to be drawn.
std::string ItemText(const DRAWITEMSTRUCT& item);

/// Fills the item's background and draws `text` after `indent` pixels,
/// with `icon` (may be null) in front of it.
void DrawPickerItem(const DRAWITEMSTRUCT& item, HICON icon, int indent,
                    const std::string& text);

}  // namespace quarn
