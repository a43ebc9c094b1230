// The drive list: every logical drive with its label and icon; a confirmed
// choice moves the linked directory list to that drive's root.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <string>

#include "browser/folder_list.h"
#include "browser/win32/picker_controls.h"
#include "browser/win32/picker_pair.h"
#include "text/ascii.h"

namespace quarn {
namespace {

void ForgetIcons(HWND combo) {
  const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    DestroyIcon(
        reinterpret_cast<HICON>(SendMessageA(combo, CB_GETITEMDATA, i, 0)));
  }
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
}

void AddDrive(HWND combo, const char* root) {
  SHFILEINFOA info = {};
  SHGetFileInfoA(root, 0, &info, sizeof(info),
                 SHGFI_DISPLAYNAME | SHGFI_ICON | SHGFI_SMALLICON);
  const std::string text = DriveEntryText(root, info.szDisplayName);
  const LRESULT index = SendMessageA(combo, CB_ADDSTRING, 0,
                                     reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageA(combo, CB_SETITEMDATA, index,
               reinterpret_cast<LPARAM>(info.hIcon));
}

void SelectDriveOf(HWND combo, const std::string& path) {
  const std::string letter = ToUpperAscii(path.substr(0, 1));
  const LRESULT found =
      SendMessageA(combo, CB_FINDSTRING, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(letter.c_str()));
  SendMessageA(combo, CB_SETCURSEL, found == CB_ERR ? 0 : found, 0);
}

std::string CurrentFolder() {
  char folder[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof(folder), folder);
  return folder;
}

void FillDriveList(HWND combo, const std::string& path) {
  char roots[512] = "";
  ForgetIcons(combo);
  const DWORD length = GetLogicalDriveStringsA(sizeof(roots) - 1, roots);
  for (const char* root = roots; root < roots + length && *root;
       root += lstrlenA(root) + 1) {
    AddDrive(combo, root);
  }
  SelectDriveOf(combo, path.empty() ? CurrentFolder() : path);
}

// Moving through the list with the arrow keys confirms a selection too;
// only Enter, or a click inside the dropped list, changes the drive.
bool ChoiceWasConfirmed(HWND combo) {
  if (GetAsyncKeyState(VK_ESCAPE) & 0x8000) return false;
  if (GetAsyncKeyState(VK_RETURN) & 0x8000) return true;
  COMBOBOXINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetComboBoxInfo(combo, &info) || !info.hwndList) return false;
  RECT list_rect;
  POINT cursor;
  GetWindowRect(info.hwndList, &list_rect);
  GetCursorPos(&cursor);
  return PtInRect(&list_rect, cursor) != 0;
}

std::string SelectedRoot(HWND combo) {
  char text[64] = "";
  const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return "";
  SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
  return std::string(text, 2) + "\\";
}

void ShowSystemMessage(HWND owner, DWORD error) {
  char text[512] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, error, 0, text, sizeof(text), nullptr);
  MessageBoxA(owner, text, "System message", MB_OK | MB_ICONEXCLAMATION);
}

// True when the drive changed and the parent may hear of it.
bool ChangeDrive(PickerState& state) {
  const std::string remembered =
      state.linked ? SelectedFolderOf(state.linked) : CurrentFolder();
  const std::string root = SelectedRoot(state.inner);
  if (root.size() != 3 || !SetCurrentDirectoryA(root.c_str())) {
    ShowSystemMessage(GetParent(state.container), GetLastError());
    SelectDriveOf(state.inner, remembered);
    return false;
  }
  if (state.linked) {
    SendMessageA(state.linked, kDirShowFolder, 0,
                 reinterpret_cast<LPARAM>(root.c_str()));
  }
  return true;
}

void OnComboNotification(HWND container, PickerState& state, WPARAM wparam,
                         LPARAM lparam) {
  if (HIWORD(wparam) == CBN_SELENDOK) {
    if (!ChoiceWasConfirmed(state.inner) || !ChangeDrive(state)) return;
  }
  PickerContainerDefault(container, WM_COMMAND, wparam, lparam);
}

LRESULT CALLBACK DriveContainerProc(HWND container, UINT message, WPARAM wparam,
                                    LPARAM lparam) {
  PickerState* state = ContainerState(container);
  if (!state) return PickerContainerDefault(container, message, wparam, lparam);
  switch (message) {
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
      const HICON icon = item.itemID == static_cast<UINT>(-1)
                             ? nullptr
                             : reinterpret_cast<HICON>(item.itemData);
      DrawPickerItem(item, icon, 0, ItemText(item));
      return TRUE;
    }
    case WM_COMMAND:
      OnComboNotification(container, *state, wparam, lparam);
      return 0;
    case WM_DESTROY:
      ForgetIcons(state->inner);
      break;
  }
  return PickerContainerDefault(container, message, wparam, lparam);
}

LRESULT CALLBACK DriveInnerProc(HWND inner, UINT message, WPARAM wparam,
                                LPARAM lparam) {
  PickerState* state = InnerState(inner);
  if (state) {
    switch (message) {
      case kDriveLinkDirList:
        state->linked = reinterpret_cast<HWND>(wparam);
        return 0;
      case kDriveSetDisplayFlag:
        // The flag changes nothing the list draws; only the repaint is asked.
        if (lparam) InvalidateRect(inner, nullptr, TRUE);
        return 0;
    }
  }
  return CallInnerProc(inner, message, wparam, lparam);
}

}  // namespace
}  // namespace quarn

HWND WINAPI CreatePBDriveCB(HWND parent, int id, int x, int y, int w, int h,
                            int dialog_units, const char* path) {
  quarn::PickerState* state = quarn::CreateComboPair(
      "PBDRIVEX", quarn::DriveContainerProc, quarn::DriveInnerProc, parent, id,
      x, y, w, h, dialog_units);
  if (!state) return nullptr;
  quarn::FillDriveList(state->inner, path ? path : "");
  return state->inner;
}
