// The directory list: the ancestors of the shown folder and its subfolders,
// walked by double click or Enter.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <memory>

#include "browser/folder_list.h"
#include "browser/win32/picker_controls.h"
#include "browser/win32/picker_pair.h"
#include "text/ascii.h"

namespace quarn {
namespace {

// Posted to the container when a drawn entry names a vanished folder: the
// list cannot be refilled while it paints.
constexpr UINT kRefillForVanishedFolder = WM_APP + 1;
constexpr int kIndentPerLevel = 8;

FileSystem& Disk() {
  static std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  return *fs;
}

LPARAM PackItem(const FolderListEntry& entry) {
  return static_cast<LPARAM>(entry.kind) | (entry.depth << 8);
}

HICON FolderIcon(bool open) {
  static HICON icons[2] = {};
  HICON& icon = icons[open ? 1 : 0];
  if (!icon) {
    SHFILEINFOA info = {};
    UINT flags = SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES;
    if (open) flags |= SHGFI_OPENICON;
    SHGetFileInfoA("folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                   flags);
    icon = info.hIcon;
  }
  return icon;
}

HICON RootIcon(const std::string& root) {
  SHFILEINFOA info = {};
  SHGetFileInfoA(root.c_str(), 0, &info, sizeof(info),
                 SHGFI_ICON | SHGFI_SMALLICON);
  return info.hIcon;
}

std::string CurrentFolder() {
  char folder[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof(folder), folder);
  return folder;
}

// With more than two rows in view, more entries than fit and the selection
// in the last row, the entry above the selection becomes the top row so
// that the subfolders below come into view.
void RevealSubfolders(HWND list, int selected) {
  RECT client;
  GetClientRect(list, &client);
  const int item_height =
      static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  if (item_height <= 0) return;
  const int rows = (client.bottom - client.top) / item_height;
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
  if (rows > 2 && count > rows && selected == top + rows - 1) {
    SendMessageA(list, LB_SETTOPINDEX, selected - 1, 0);
  }
}

void FillDirList(PickerState& state, const std::string& folder) {
  const std::string shown =
      WithTrailingBackslash(folder.empty() ? CurrentFolder() : folder);
  const std::vector<FolderListEntry> entries = FolderListFor(Disk(), shown);
  HWND list = state.inner;
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const FolderListEntry& entry : entries) {
    const LRESULT index = SendMessageA(
        list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.path.c_str()));
    SendMessageA(list, LB_SETITEMDATA, index, PackItem(entry));
  }
  const int selected = static_cast<int>(FolderRowOf(entries));
  SendMessageA(list, LB_SETCURSEL, selected, 0);
  RevealSubfolders(list, selected);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  if (state.root_icon) DestroyIcon(state.root_icon);
  state.root_icon = RootIcon(entries.front().path);
  lstrcpynA(state.folder, shown.c_str(), sizeof(state.folder));
}

void ShowFolder(PickerState& state, const std::string& folder) {
  FillDirList(state, folder);
  if (state.linked) {
    SendMessageA(state.linked, kFileListShowFolder, 0,
                 reinterpret_cast<LPARAM>(state.folder));
  }
}

// The name of a drawn entry, as the folder it shows.
std::string EntryText(HWND list, int index) {
  char text[MAX_PATH] = "";
  if (SendMessageA(list, LB_GETTEXTLEN, index, 0) >= MAX_PATH) return "";
  SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
  return text;
}

// Each row holds a full path; below the root only the folder's own name is
// drawn, the indentation shows where it lies.
std::string ShownName(const std::string& path, FolderKind kind) {
  if (kind == FolderKind::kRoot || path.size() < 2) return path;
  const size_t slash = path.rfind('\\', path.size() - 2);
  return path.substr(slash + 1, path.size() - slash - 2);
}

void OnDrawItem(PickerState& state, const DRAWITEMSTRUCT& item) {
  const int index = static_cast<int>(item.itemID);
  if (index >= 0) {
    const DWORD attributes =
        GetFileAttributesA(EntryText(item.hwndItem, index).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      PostMessageA(state.container, kRefillForVanishedFolder, 0, 0);
    }
  }
  const LPARAM data = SendMessageA(item.hwndItem, LB_GETITEMDATA, index, 0);
  const auto kind = static_cast<FolderKind>(data & 0xFF);
  const int depth = static_cast<int>((data >> 8) & 0xFFFF);
  HICON icon = kind == FolderKind::kRoot       ? state.root_icon
               : kind == FolderKind::kAncestor ? FolderIcon(true)
                                               : FolderIcon(false);
  DrawPickerItem(item, index >= 0 ? icon : nullptr, depth * kIndentPerLevel,
                 ShownName(ItemText(item), kind));
}

void OnEnterFolder(PickerState& state) {
  const std::string folder = SelectedFolderOf(state.inner);
  if (folder.empty()) return;
  SetCurrentDirectoryA(folder.c_str());
  ShowFolder(state, folder);
}

void OnListNotification(HWND container, PickerState& state, WPARAM wparam,
                        LPARAM lparam) {
  if (HIWORD(wparam) == LBN_DBLCLK) OnEnterFolder(state);
  PickerContainerDefault(container, WM_COMMAND, wparam, lparam);
}

void OnVanishedFolder(PickerState& state) {
  const std::string existing = NearestExistingFolder(Disk(), state.folder);
  if (!existing.empty() && existing != state.folder) {
    ShowFolder(state, existing);
  }
}

LRESULT CALLBACK DirContainerProc(HWND container, UINT message, WPARAM wparam,
                                  LPARAM lparam) {
  PickerState* state = ContainerState(container);
  if (!state) return PickerContainerDefault(container, message, wparam, lparam);
  switch (message) {
    case WM_DRAWITEM:
      OnDrawItem(*state, *reinterpret_cast<DRAWITEMSTRUCT*>(lparam));
      return TRUE;
    case WM_COMMAND:
      OnListNotification(container, *state, wparam, lparam);
      return 0;
    case kRefillForVanishedFolder:
      OnVanishedFolder(*state);
      return 0;
  }
  return PickerContainerDefault(container, message, wparam, lparam);
}

void NotifyDoubleClick(PickerState& state) {
  const int id = GetDlgCtrlID(state.inner);
  SendMessageA(state.container, WM_COMMAND, MAKEWPARAM(id, LBN_DBLCLK),
               reinterpret_cast<LPARAM>(state.inner));
}

LRESULT CopySelectedFolder(PickerState& state, WPARAM size, LPARAM buffer) {
  const std::string folder = SelectedFolderOf(state.inner);
  if (buffer && size > 0) {
    lstrcpynA(reinterpret_cast<char*>(buffer), folder.c_str(),
              static_cast<int>(size));
  }
  return static_cast<LRESULT>(folder.size());
}

LRESULT CALLBACK DirInnerProc(HWND inner, UINT message, WPARAM wparam,
                              LPARAM lparam) {
  PickerState* state = InnerState(inner);
  if (!state) return CallInnerProc(inner, message, wparam, lparam);
  switch (message) {
    case WM_GETDLGCODE:
      if (lparam && reinterpret_cast<MSG*>(lparam)->message == WM_KEYDOWN &&
          reinterpret_cast<MSG*>(lparam)->wParam == VK_RETURN) {
        return DLGC_WANTMESSAGE;
      }
      break;
    case WM_KEYDOWN:
      if (wparam == VK_RETURN) {
        NotifyDoubleClick(*state);
        return 0;
      }
      break;
    case WM_LBUTTONUP:
      if (state->single_click) {
        const LRESULT result = CallInnerProc(inner, message, wparam, lparam);
        NotifyDoubleClick(*state);
        return result;
      }
      break;
    case kDirLinkFileList:
      state->linked = reinterpret_cast<HWND>(wparam);
      return 0;
    case kDirSetDisplayFlag:
      // The flag changes nothing the list draws; only the repaint is asked.
      if (lparam) InvalidateRect(inner, nullptr, TRUE);
      return 0;
    case kDirSetSingleClick:
      state->single_click = static_cast<int>(wparam);
      return 0;
    case kDirShowFolder:
      ShowFolder(*state, reinterpret_cast<const char*>(lparam));
      return 0;
    case kDirSelectedFolder:
      return CopySelectedFolder(*state, wparam, lparam);
  }
  return CallInnerProc(inner, message, wparam, lparam);
}

}  // namespace

std::string SelectedFolderOf(HWND dir_list, const std::string& select_first) {
  if (!select_first.empty()) {
    const LRESULT found =
        SendMessageA(dir_list, LB_FINDSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(select_first.c_str()));
    if (found != LB_ERR) SendMessageA(dir_list, LB_SETCURSEL, found, 0);
  }
  const LRESULT selected = SendMessageA(dir_list, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) return "";
  const std::string text = EntryText(dir_list, static_cast<int>(selected));
  return text.empty() ? "" : WithTrailingBackslash(text);
}

}  // namespace quarn

HWND WINAPI CreatePBDirLB(HWND parent, int id, int x, int y, int w, int h,
                          int dialog_units, const char* path) {
  const quarn::PickerClasses classes = {
      "PBDIRX", quarn::DirContainerProc, "LISTBOX",
      LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | WS_VSCROLL |
          LBS_NOINTEGRALHEIGHT,
      quarn::DirInnerProc};
  quarn::PickerState* state =
      quarn::CreatePickerPair(classes, parent, id, x, y, w, h, dialog_units);
  if (!state) return nullptr;
  SendMessageA(state->inner, LB_SETITEMHEIGHT, 0, quarn::PickerItemHeight(0));
  quarn::ShrinkContainerToInner(*state);
  quarn::FillDirList(*state, path ? path : "");
  return state->inner;
}
