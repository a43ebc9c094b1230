// The two helpers around the common-control library.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <string>
#include <vector>

#include "browser/win32/picker_controls.h"

double WINAPI GETSYSFILEVER(const char* file_name) {
  char folder[MAX_PATH] = "";
  if (!GetSystemDirectoryA(folder, sizeof(folder))) return 0;
  const std::string path = std::string(folder) + "\\" + file_name;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return 0;
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return 0;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info),
                      &length) ||
      !info) {
    return 0;
  }
  return HIWORD(info->dwFileVersionMS) + LOWORD(info->dwFileVersionMS) / 100.0;
}

double WINAPI INITCOMCTL32(DWORD flags) {
  HMODULE library = LoadLibraryA("COMCTL32.DLL");
  if (!library) return 0;
  using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  using Init = void(WINAPI*)();
  auto init_ex = reinterpret_cast<InitEx>(
      reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")));
  if (init_ex) {
    INITCOMMONCONTROLSEX classes = {sizeof(classes), flags};
    init_ex(&classes);
  } else if (auto init = reinterpret_cast<Init>(reinterpret_cast<void*>(
                 GetProcAddress(library, "InitCommonControls")))) {
    init();
  }
  return GETSYSFILEVER("COMCTL32.DLL");
}
