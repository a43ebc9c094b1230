#include "tools/gui/gui_session.h"

#include <cstdio>
#include <cwctype>
#include <fstream>
#include <sstream>
#include <vector>

namespace quarn {
namespace {

constexpr DWORD kMessageTimeoutMs = 5000;
constexpr DWORD kPollMs = 20;
// Reading a long text takes the program's time too: not too often.
constexpr DWORD kTextPollMs = 100;

struct WindowSearch {
  DWORD pid;
  const char* window_class;
  const std::string* title;  // null: any title
  HWND found;
};

std::string ClassOf(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof(name));
  return name;
}

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid || !IsWindowVisible(window)) return TRUE;
  if (search->window_class && ClassOf(window) != search->window_class) {
    return TRUE;
  }
  if (search->title) {
    char title[512] = "";
    GetWindowTextA(window, title, sizeof(title));
    if (*search->title != title) return TRUE;
  }
  search->found = window;
  return FALSE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM data) {
  auto* longest = reinterpret_cast<std::string*>(data);
  if (ClassOf(child) != "Static") return TRUE;
  char text[2048] = "";
  GetWindowTextA(child, text, sizeof(text));
  if (strlen(text) > longest->size()) *longest = text;
  return TRUE;
}

}  // namespace

GuiSession::GuiSession(const std::string& scenario, const std::string& work)
    : scenario_(scenario), work_(work) {}

GuiSession::~GuiSession() {
  if (process_.hProcess) {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 99);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
}

void GuiSession::Start(const std::string& program, const std::string& folder) {
  if (process_.hProcess) {
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = {};
  }
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  std::string command = "\"" + program + "\"";
  if (!CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0,
                      nullptr, folder.c_str(), &startup, &process_)) {
    Fail("cannot start " + program + " in " + folder);
  }
}

HWND GuiSession::FindWindowNow(const char* window_class,
                               const std::string& title) {
  WindowSearch search = {process_.dwProcessId, window_class, &title, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND GuiSession::WaitWindow(const char* window_class, const std::string& title,
                            DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeout_ms) {
    if (HWND found = FindWindowNow(window_class, title)) return found;
    if (WaitForSingleObject(process_.hProcess, kPollMs) == WAIT_OBJECT_0) {
      Fail("the program ended while waiting for the window \"" + title + "\"");
    }
  }
  Fail("no window \"" + title + "\" within " + std::to_string(timeout_ms) +
       " ms");
}

HWND GuiSession::WaitMessageBox(const std::string& caption, std::string* text,
                                DWORD timeout_ms) {
  HWND box = WaitWindow("#32770", caption, timeout_ms);
  // The box's text arrives with the box; give it a moment to be filled.
  Sleep(50);
  std::string longest;
  EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&longest));
  *text = longest;
  return box;
}

void GuiSession::WaitGone(HWND window, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount() - start >= timeout_ms) {
      Fail("window \"" + Text(window) + "\" still open after " +
           std::to_string(timeout_ms) + " ms");
    }
    Sleep(kPollMs);
  }
}

HWND GuiSession::Control(HWND window, int id) {
  HWND control = GetDlgItem(window, id);
  if (!control)
    Fail("no control " + std::to_string(id) + " in \"" + Text(window) + "\"");
  return control;
}

bool GuiSession::Lacks(HWND window, int id) {
  return GetDlgItem(window, id) == nullptr;
}

void GuiSession::Click(HWND window, int id) {
  PostMessageA(Control(window, id), BM_CLICK, 0, 0);
}

std::string GuiSession::Text(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                           kMessageTimeoutMs, &length)) {
    Fail("the window does not answer WM_GETTEXTLENGTH");
  }
  std::vector<char> text(length + 1, '\0');
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(),
                           reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kMessageTimeoutMs, &got)) {
    Fail("the window does not answer WM_GETTEXT");
  }
  return std::string(text.data(), got);
}

bool GuiSession::Enabled(HWND window, int id) {
  return IsWindowEnabled(Control(window, id)) != FALSE;
}

void GuiSession::SelectFolder(HWND page, int id, const std::string& folder) {
  // The page holds the container; the list box inside has the same id.
  HWND list = Control(Control(page, id), id);
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  std::string entries;
  for (int i = 0; i < count; ++i) {
    // Across processes Wine hands list box texts over as UTF-16.
    wchar_t wide[MAX_PATH] = L"";
    char text[MAX_PATH] = "";
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide));
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr,
                        nullptr);
    entries += std::string(text) + "\n";
    if (_stricmp(text, folder.c_str()) != 0) continue;
    SendMessageA(list, LB_SETCURSEL, i, 0);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(page, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(list), SMTO_ABORTIFHUNG,
                        kMessageTimeoutMs, &ignored);
    return;
  }
  Fail("the directory list has no entry " + folder + "; it holds:\n" + entries);
}

void GuiSession::ChangeDrive(HWND page, int id, char letter) {
  HWND container = Control(page, id);
  HWND combo = Control(container, id);
  const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  int index = -1;
  for (int i = 0; i < count && index < 0; ++i) {
    wchar_t wide[MAX_PATH] = L"";
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
    if (towlower(wide[0]) == towlower(letter)) index = i;
  }
  if (index < 0) Fail(std::string("the drive list has no drive ") + letter);
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  // The dropped list of a combo box is a top-level window of its own.
  WindowSearch search = {process_.dwProcessId, "ComboLBox", nullptr, nullptr};
  const DWORD start = GetTickCount();
  while (!search.found && GetTickCount() - start < kMessageTimeoutMs) {
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(kPollMs);
  }
  if (!search.found) Fail("the drive list did not drop");
  RECT list;
  GetWindowRect(search.found, &list);
  SetCursorPos((list.left + list.right) / 2, (list.top + list.bottom) / 2);
  SendMessageA(combo, CB_SETCURSEL, index, 0);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(container, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK),
                      reinterpret_cast<LPARAM>(combo), SMTO_ABORTIFHUNG,
                      kMessageTimeoutMs, &ignored);
  SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

void GuiSession::Wheel(HWND control, int delta) {
  RECT rect;
  GetWindowRect(control, &rect);
  const int x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(control, WM_MOUSEWHEEL, MAKEWPARAM(0, delta),
                      MAKELPARAM(x, y), SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                      &ignored);
}

void GuiSession::Kill() {
  TerminateProcess(process_.hProcess, 9);
  WaitForSingleObject(process_.hProcess, kMessageTimeoutMs);
}

std::string GuiSession::WaitText(HWND window, const std::string& needle,
                                 DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  std::string text = Text(window);
  while (text.find(needle) == std::string::npos) {
    if (GetTickCount() - start >= timeout_ms) {
      Fail("\"" + needle + "\" not shown within " + std::to_string(timeout_ms) +
           " ms; shown:\n" + text);
    }
    Sleep(kTextPollMs);
    text = Text(window);
  }
  return text;
}

DWORD GuiSession::WaitExit(DWORD timeout_ms) {
  if (WaitForSingleObject(process_.hProcess, timeout_ms) != WAIT_OBJECT_0) {
    Fail("the program did not end within " + std::to_string(timeout_ms) +
         " ms");
  }
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

void GuiSession::Screenshot(const std::string& name) {
  const std::string request = work_ + "\\shot.request";
  const std::string done = work_ + "\\shot.done";
  DeleteFileA(done.c_str());
  WriteFileText(request + ".tmp", name);
  MoveFileA((request + ".tmp").c_str(), request.c_str());
  const DWORD start = GetTickCount();
  while (!PathExists(done)) {
    if (GetTickCount() - start > 20000) Fail("no screenshot " + name);
    Sleep(kPollMs);
  }
  DeleteFileA(done.c_str());
}

void GuiSession::Expect(bool condition, const std::string& what) {
  if (!condition) Fail(what);
}

void GuiSession::ExpectEqual(const std::string& expected,
                             const std::string& actual,
                             const std::string& what) {
  if (expected == actual) return;
  Fail(what + "\n--- expected:\n" + expected + "\n--- actual:\n" + actual);
}

void GuiSession::Fail(const std::string& what) {
  fprintf(stderr, "FAILED: %s: %s\n", scenario_.c_str(), what.c_str());
  fflush(stderr);
  if (process_.hProcess) TerminateProcess(process_.hProcess, 99);
  ExitProcess(1);
}

std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFileText(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

bool PathExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace quarn
