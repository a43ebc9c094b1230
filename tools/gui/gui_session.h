// What the GUI tests do to the window program: start it, find its windows
// and controls by class, title and identifier, click, read texts, ask for
// screenshots. Every wait has a time limit; a failure ends the driver with
// a message instead of hanging.
#pragma once

#include <windows.h>

#include <string>

namespace quarn {

/// One run of the program under test, started in its installer folder.
class GuiSession {
 public:
  /// `scenario` names the test in messages; `work` is the folder the
  /// harness prepared (it also takes the screenshot requests).
  GuiSession(const std::string& scenario, const std::string& work);
  ~GuiSession();

  /// Starts `program` with `folder` as its current folder.
  void Start(const std::string& program, const std::string& folder);
  /// The process id of the program started last.
  DWORD pid() const { return process_.dwProcessId; }

  /// Waits for a visible top-level window of the program with `window_class`
  /// (null: any) and the exact `title`.
  HWND WaitWindow(const char* window_class, const std::string& title,
                  DWORD timeout_ms = 20000);
  /// True when such a window exists now.
  HWND FindWindowNow(const char* window_class, const std::string& title);
  /// Waits for a message box captioned `caption` and returns its text.
  HWND WaitMessageBox(const std::string& caption, std::string* text,
                      DWORD timeout_ms = 20000);
  /// Waits until `window` is gone.
  void WaitGone(HWND window, DWORD timeout_ms = 20000);

  /// The control `id` of `window`; fails when it does not exist.
  HWND Control(HWND window, int id);
  /// True when `window` has no control `id`.
  bool Lacks(HWND window, int id);
  /// Clicks the button `id` of `window` as a user would (without waiting
  /// for what the click starts).
  void Click(HWND window, int id);
  /// The text of `window`.
  std::string Text(HWND window);
  /// Whether the control `id` of `window` is enabled.
  bool Enabled(HWND window, int id);
  /// Selects the entry of the directory list `id` of `page` whose text is
  /// `folder`, as a single click does.
  void SelectFolder(HWND page, int id, const std::string& folder);
  /// Changes the drive list `id` of `page` to the drive of `letter` as a
  /// click inside its dropped list does.
  void ChangeDrive(HWND page, int id, char letter);
  /// Turns the mouse wheel by `delta` with the cursor over the middle of
  /// `control`, which hears of it first as when it has the focus.
  void Wheel(HWND control, int delta);
  /// Waits until the text of `window` contains `needle`.
  std::string WaitText(HWND window, const std::string& needle,
                       DWORD timeout_ms = 60000);

  /// Ends the program at once, as a crash or a power cut would.
  void Kill();
  /// Waits for the program to end and returns its exit code.
  DWORD WaitExit(DWORD timeout_ms = 30000);
  /// Asks the harness for a screenshot named `name` and waits for it.
  void Screenshot(const std::string& name);

  /// Checks a condition; on failure reports `what` and ends the driver.
  void Expect(bool condition, const std::string& what);
  /// Compares two texts; on a difference reports both and ends the driver.
  void ExpectEqual(const std::string& expected, const std::string& actual,
                   const std::string& what);
  /// Reports `what` as a failure and ends the driver.
  [[noreturn]] void Fail(const std::string& what);

 private:
  std::string scenario_;
  std::string work_;
  PROCESS_INFORMATION process_ = {};
};

/// The whole content of a file, or "<missing>".
std::string ReadFileText(const std::string& path);
/// Writes `bytes` into `path`, replacing it.
void WriteFileText(const std::string& path, const std::string& bytes);
/// True when `path` names a file or folder.
bool PathExists(const std::string& path);

}  // namespace quarn
