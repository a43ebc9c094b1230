#include "browser/win32/picker_pair.h"

#include <cstdlib>

namespace quarn {
namespace {

constexpr int kStateSlot = 0;

bool RegisterContainerClass(const PickerClasses& classes) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExA(GetModuleHandleA(nullptr), classes.container_class,
                      &wc)) {
    return true;
  }
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = classes.container_proc;
  wc.cbWndExtra = sizeof(PickerState*);
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = classes.container_class;
  return RegisterClassExA(&wc) != 0;
}

RECT PlacementRect(HWND parent, int x, int y, int w, int h, int dialog_units) {
  RECT rect = {x, y, x + w, y + h};
  if (dialog_units) MapDialogRect(parent, &rect);
  return rect;
}

}  // namespace

PickerState* CreatePickerPair(const PickerClasses& classes, HWND parent, int id,
                              int x, int y, int w, int h, int dialog_units) {
  if (!RegisterContainerClass(classes)) return nullptr;
  const RECT rect = PlacementRect(parent, x, y, w, h, dialog_units);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const HMENU menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
  HWND container = CreateWindowExA(0, classes.container_class, "",
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                   rect.left, rect.top, width, height, parent,
                                   menu, GetModuleHandleA(nullptr), nullptr);
  if (!container) return nullptr;
  auto* state = static_cast<PickerState*>(calloc(1, sizeof(PickerState)));
  if (!state) return nullptr;
  state->container = container;
  SetWindowLongPtrA(container, kStateSlot, reinterpret_cast<LONG_PTR>(state));
  state->inner = CreateWindowExA(
      WS_EX_CLIENTEDGE, classes.inner_class, "",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | classes.inner_style, 0, 0, width,
      height, container, menu, GetModuleHandleA(nullptr), nullptr);
  if (!state->inner) return nullptr;
  SetWindowLongPtrA(state->inner, GWLP_USERDATA,
                    reinterpret_cast<LONG_PTR>(state));
  state->inner_proc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(state->inner, GWLP_WNDPROC,
                        reinterpret_cast<LONG_PTR>(classes.inner_subclass)));
  SendMessageA(state->inner, WM_SETFONT,
               reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), 0);
  return state;
}

PickerState* CreateComboPair(const char* container_class,
                             WNDPROC container_proc, WNDPROC inner_subclass,
                             HWND parent, int id, int x, int y, int w, int h,
                             int dialog_units) {
  const PickerClasses classes = {
      container_class, container_proc, "COMBOBOX",
      CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL,
      inner_subclass};
  PickerState* state =
      CreatePickerPair(classes, parent, id, x, y, w, h, dialog_units);
  if (!state) return nullptr;
  const int height = PickerItemHeight(3);
  SendMessageA(state->inner, CB_SETITEMHEIGHT, 0, height);
  SendMessageA(state->inner, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
  ShrinkContainerToInner(*state);
  return state;
}

void ShrinkContainerToInner(const PickerState& state) {
  RECT rect;
  GetWindowRect(state.inner, &rect);
  SetWindowPos(state.container, nullptr, 0, 0, rect.right - rect.left,
               rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER);
}

PickerState* ContainerState(HWND container) {
  return reinterpret_cast<PickerState*>(
      GetWindowLongPtrA(container, kStateSlot));
}

PickerState* InnerState(HWND inner) {
  return reinterpret_cast<PickerState*>(
      GetWindowLongPtrA(inner, GWLP_USERDATA));
}

LRESULT PickerContainerDefault(HWND container, UINT message, WPARAM wparam,
                               LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      return SendMessageA(GetParent(container), WM_COMMAND, wparam, lparam);
    case WM_NCDESTROY: {
      PickerState* state = ContainerState(container);
      if (state && state->root_icon) DestroyIcon(state->root_icon);
      free(state);
      SetWindowLongPtrA(container, kStateSlot, 0);
      break;
    }
  }
  return DefWindowProcA(container, message, wparam, lparam);
}

LRESULT CallInnerProc(HWND inner, UINT message, WPARAM wparam, LPARAM lparam) {
  PickerState* state = InnerState(inner);
  if (!state || !state->inner_proc) {
    return DefWindowProcA(inner, message, wparam, lparam);
  }
  return CallWindowProcA(state->inner_proc, inner, message, wparam, lparam);
}

int PickerItemHeight(int extra) {
  return GetSystemMetrics(SM_CYSMICON) + extra;
}

std::string ItemText(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return "";
  const bool combo = item.CtlType == ODT_COMBOBOX;
  const LRESULT length = SendMessageA(
      item.hwndItem, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, item.itemID, 0);
  if (length <= 0) return "";
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(item.hwndItem, combo ? CB_GETLBTEXT : LB_GETTEXT, item.itemID,
               reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  return text;
}

void DrawPickerItem(const DRAWITEMSTRUCT& item, HICON icon, int indent,
                    const std::string& text) {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(item.hDC, &item.rcItem,
           GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID == static_cast<UINT>(-1)) return;
  const int icon_size = GetSystemMetrics(SM_CXSMICON);
  int left = item.rcItem.left + 2 + indent;
  if (icon) {
    const int top = item.rcItem.top +
                    (item.rcItem.bottom - item.rcItem.top - icon_size) / 2;
    DrawIconEx(item.hDC, left, top, icon, icon_size, icon_size, 0, nullptr,
               DI_NORMAL);
    left += icon_size + 4;
  }
  RECT text_rect = item.rcItem;
  text_rect.left = left;
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC,
               GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawTextA(item.hDC, text.c_str(), -1, &text_rect,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

}  // namespace quarn
