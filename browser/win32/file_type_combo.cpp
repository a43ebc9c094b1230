// The file-type list: an owner-drawn drop-down list whose entries the caller
// adds.
#include "browser/win32/picker_controls.h"
#include "browser/win32/picker_pair.h"

namespace quarn {
namespace {

LRESULT CALLBACK FileTypeContainerProc(HWND container, UINT message,
                                       WPARAM wparam, LPARAM lparam) {
  if (message == WM_DRAWITEM) {
    const auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
    DrawPickerItem(item, nullptr, 0, ItemText(item));
    return TRUE;
  }
  return PickerContainerDefault(container, message, wparam, lparam);
}

LRESULT CALLBACK FileTypeInnerProc(HWND inner, UINT message, WPARAM wparam,
                                   LPARAM lparam) {
  return CallInnerProc(inner, message, wparam, lparam);
}

}  // namespace
}  // namespace quarn

HWND WINAPI CreatePBFileTypeCB(HWND parent, int id, int x, int y, int w, int h,
                               int dialog_units) {
  quarn::PickerState* state = quarn::CreateComboPair(
      "PBFILETYPECB", quarn::FileTypeContainerProc, quarn::FileTypeInnerProc,
      parent, id, x, y, w, h, dialog_units);
  if (!state) return nullptr;
  return state->inner;
}
