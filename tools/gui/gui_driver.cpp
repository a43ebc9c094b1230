// Drives the real QuarnInstaller.exe as a user would, one scenario per run:
//   gui_driver.exe SCENARIO PROGRAM WORK
// WORK is the folder the harness prepared for the scenario: "inst\" (the
// installer folder), "game\" (a game folder) and whatever else the scenario
// names. Prints "ok: SCENARIO" and exits 0, or prints what differed and
// exits 1; a watchdog ends it (exit 3) instead of letting it hang.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "tools/gui/gui_session.h"

namespace quarn {
namespace {

constexpr DWORD kWatchdogMs = 150000;

// Identifiers and texts of the window program.
constexpr char kMainClass[] = "QuarnSINS";
constexpr char kMainTitle[] = "Quarn Installer v1.1";
constexpr char kDialogClass[] = "#32770";
constexpr char kCaption[] = "Quarn Installer";
enum : int {
  kLogView = 101,
  kCloseButton = 1056,
  kFolderLabel = 3050,
  kDirList = 3010,
  kDriveList = 3000,
  kOk = 3060,
  kPreview = 3065,
  kUndo = 3070,
  kScripted = 3080,
  kQuit = 2,
  kFirstRow = 4010,
  kScrollBar = 4030,
  kSelectAll = 4050,
  kClearAll = 4060,
  kUseBackup = 4070,
  kOptions = 4090,
  kOptionsOk = 4080,
  kDumpIds = 4081,
  kFastCopy = 4083,
  kNext = 5010,
  kWelcomeText = 5013,
  kReportView = 7020,
  kReportClose = 7030,
};
constexpr char kReportTitle[] = "Preview: what the ticked mods would do";

struct Paths {
  std::string program;
  std::string work;  ///< ends in a backslash
  std::string inst;  ///< installer folder, ends in a backslash
  std::string game;  ///< game folder, ends in a backslash
};

std::string Banner(const std::string& rule, const std::string& text) {
  return " \r\n" + rule + "\r\n" + text + "\r\n" + rule + "\r\n \r\n";
}

std::string DoneBanner() {
  return Banner(std::string(43, '-'), "                All done.");
}

std::string AbortedBanner() {
  return Banner(std::string(23, '-'), "The script was aborted.");
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool Checked(HWND window, int id) {
  return SendMessageA(GetDlgItem(window, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void AnswerBox(GuiSession& s, const std::string& caption,
               const std::string& expected, int button) {
  std::string text;
  HWND box = s.WaitMessageBox(caption, &text);
  s.ExpectEqual(expected, text, "message box \"" + caption + "\"");
  s.Click(box, button);
  s.WaitGone(box);
}

// The log view shows the last mod's part of the log file, byte for byte.
void ExpectViewIsFileTail(GuiSession& s, const std::string& view,
                          const std::string& file) {
  s.Expect(!view.empty() && EndsWith(file, view),
           "the log view is not the end of the log file\n--- view:\n" + view +
               "\n--- file:\n" + file);
}

void WelcomeAndQuit(GuiSession& s, const Paths& p) {
  s.Start(p.program, p.inst);
  HWND welcome = s.WaitWindow(kDialogClass, "Welcome to the sample mods");
  s.ExpectEqual("  Read me first; please.\r\nSecond line\r\n",
                s.Text(s.Control(welcome, kWelcomeText)), "welcome text");
  s.Screenshot("welcome");
  s.Click(welcome, kNext);
  HWND page = s.WaitWindow(kDialogClass, "  Choose the mods");
  s.Expect(s.Lacks(page, kOptions), "\">OPTIONS OFF\" left \"Options\"");
  s.Expect(s.Lacks(page, kScripted),
           "\">SCRPATH OFF\" left \"&Scripted path\"");
  s.Click(page, kQuit);
  s.ExpectEqual("0", std::to_string(s.WaitExit()), "exit code");
  s.Expect(!PathExists(p.inst + "saved.dat"), "\"&Quit\" wrote saved.dat");
  s.ExpectEqual("", ReadFileText(p.inst + "QuarnInstall-log.txt"),
                "log file after \"&Quit\"");
}

void SecondStartEndsSilently(const Paths& p) {
  GuiSession second("second start", p.work + "second");
  second.Start(p.program, p.work + "second");
  second.ExpectEqual("0", std::to_string(second.WaitExit(15000)),
                     "exit code of a second start");
  second.Expect(!PathExists(p.work + "second\\QuarnInstall-log.txt"),
                "a second start created a log file");
}

void InstallTwoMods(GuiSession& s, const Paths& p) {
  s.Start(p.program, p.inst);
  HWND page = s.WaitWindow(kDialogClass, "");
  s.ExpectEqual("First mod", s.Text(s.Control(page, kFirstRow)), "row 0");
  s.ExpectEqual("Second mod", s.Text(s.Control(page, kFirstRow + 1)), "row 1");
  s.ExpectEqual("Unticked  mod", s.Text(s.Control(page, kFirstRow + 2)),
                "row 2");
  s.Expect(Checked(page, kFirstRow) && Checked(page, kFirstRow + 1) &&
               !Checked(page, kFirstRow + 2),
           "ticks of the rows");
  s.Expect(s.Lacks(page, kFirstRow + 3) && s.Lacks(page, kScrollBar),
           "three mods need three rows and no scroll bar");
  s.ExpectEqual("", s.Text(s.Control(page, kFolderLabel)),
                "the folder label before a selection");
  s.Expect(s.Enabled(page, kOk), "\"&Ok\" disabled in the game folder");
  s.Screenshot("selection");

  s.Click(page, kOptions);
  HWND options = s.WaitWindow(kDialogClass, "Quarn Installer options");
  s.Expect(!Checked(options, kDumpIds) && !Checked(options, kFastCopy),
           "options start off");
  s.Click(options, kDumpIds);
  s.Screenshot("options");
  s.Click(options, kOptionsOk);
  s.WaitGone(options);

  s.Click(page, kOk);
  HWND main = s.WaitWindow(kMainClass, kMainTitle);
  const std::string dump_line =
      "Dumping object ID's from memory to disk... ok\r\n";
  const std::string view =
      s.WaitText(s.Control(main, kLogView), DoneBanner() + dump_line, 60000);
  SecondStartEndsSilently(p);
  s.Screenshot("log");

  const std::string file = ReadFileText(p.inst + "QuarnInstall-log.txt");
  const std::string game_line =
      "Selected game path: " + p.game.substr(0, p.game.size() - 1) + "\r\n";
  s.Expect(file.find(game_line + "First mod runs\r\n") == 0,
           "the log file does not start with the first mod:\n" + file);
  s.Expect(file.find("\r\n\r\n\r\n" + game_line + "Second mod runs\r\n") !=
               std::string::npos,
           "the second mod does not follow the first:\n" + file);
  s.Expect(EndsWith(file, DoneBanner() + dump_line),
           "log file banner:\n" + file);
  s.Expect(file.find("never") == std::string::npos, "the unticked mod ran");
  ExpectViewIsFileTail(s, view, file);
  s.ExpectEqual("from the first mod\r\n", ReadFileText(p.game + "one.txt"),
                "file copied by the first mod");
  s.Expect(PathExists(p.inst + "ID dump.txt"), "no \"ID dump.txt\"");
  s.ExpectEqual("game path: " + p.game + "\r\n 0 \r\n 0 \r\n 1 \r\n" +
                    "X1, 1 \r\nX2, 1 \r\nX3, 0 \r\n",
                ReadFileText(p.inst + "saved.dat"), "saved.dat");

  // The worker has finished: "Close" ends the program without "Quit ?".
  s.Click(main, kCloseButton);
  s.ExpectEqual("0", std::to_string(s.WaitExit(10000)), "exit code");
}

void ScriptedPath(GuiSession& s, const Paths& p) {
  s.Start(p.program, p.inst);
  HWND page = s.WaitWindow(kDialogClass, "");
  s.Expect(!s.Enabled(page, kOk), "\"&Ok\" enabled without gta-vc.exe");
  s.Click(page, kScripted);
  HWND main = s.WaitWindow(kMainClass, kMainTitle);
  const std::string view =
      s.WaitText(s.Control(main, kLogView), DoneBanner(), 60000);
  s.ExpectEqual("Scripted run\r\n\r\n\r\n\r\n" + DoneBanner(), view,
                "log view");
  s.ExpectEqual(view, ReadFileText(p.inst + "QuarnInstall-log.txt"),
                "log file");
  s.ExpectEqual("game path: <scripted>\r\n 0 \r\n 0 \r\n 0 \r\nX1, 1 \r\n",
                ReadFileText(p.inst + "saved.dat"), "saved.dat");
  PostMessageA(main, WM_CLOSE, 0, 0);
  s.ExpectEqual("0", std::to_string(s.WaitExit(10000)), "exit code");
}

void ExpectButtons(GuiSession& s, HWND page, const std::string& folder, bool ok,
                   bool use_backup, bool undo) {
  s.SelectFolder(page, kDirList, folder);
  s.ExpectEqual(folder, s.Text(s.Control(page, kFolderLabel)), "folder label");
  s.Expect(s.Enabled(page, kOk) == ok,
           folder + ": \"&Ok\" should be " + (ok ? "enabled" : "disabled"));
  s.Expect(s.Enabled(page, kPreview) == ok,
           folder + ": \"Preview\" should be " + (ok ? "enabled" : "disabled"));
  s.Expect(s.Enabled(page, kUndo) == undo,
           folder + ": \"Undo\" should be " + (undo ? "enabled" : "disabled"));
  s.Expect(s.Enabled(page, kUseBackup) == use_backup,
           folder + ": \"Use backup\" should be " +
               (use_backup ? "enabled" : "disabled"));
}

void EnablingRules(GuiSession& s, const Paths& p) {
  const std::string tree = p.work + "tree\\";
  const std::string saved = ReadFileText(p.inst + "saved.dat");
  s.Start(p.program, p.inst);
  HWND page = s.WaitWindow(kDialogClass, "");
  // More than 13 mods: a scroll bar, and the label shows the folder at once.
  s.ExpectEqual(tree, s.Text(s.Control(page, kFolderLabel)), "start label");
  s.Expect(!s.Enabled(page, kOk) && !s.Enabled(page, kUseBackup) &&
               !s.Enabled(page, kPreview) && !s.Enabled(page, kUndo),
           "a folder without the game, backups or journal enables nothing");
  ExpectButtons(s, page, tree + "plain\\", true, false, false);
  ExpectButtons(s, page, tree + "journaled\\", true, false, true);
  ExpectButtons(s, page, tree + "backuponly\\", false, true, false);
  ExpectButtons(s, page, tree + "half\\", true, false, false);

  HWND bar = s.Control(page, kScrollBar);
  SendMessageA(page, WM_VSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(bar));
  s.ExpectEqual("Mod 2", s.Text(s.Control(page, kFirstRow)),
                "first row after one page down (14 mods: top 1)");
  s.Click(page, kClearAll);
  Sleep(200);
  for (int row = 0; row < 13; ++row) {
    s.Expect(!Checked(page, kFirstRow + row), "\"Clear All\" left a tick");
  }
  s.Click(page, kQuit);
  s.WaitExit();
  s.ExpectEqual(saved, ReadFileText(p.inst + "saved.dat"),
                "saved.dat after \"&Quit\"");
}

uint64_t FileLength(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
    return 0;
  }
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void Modify(const Paths& p) {
  WriteFileText(p.game + "models\\gta3.img", "modified archive");
  WriteFileText(p.game + "models\\gta3.dir", "modified directory");
  WriteFileText(p.game + "data\\gta_vc.dat", "modified list");
}

void ExpectRestored(GuiSession& s, const Paths& p) {
  s.Expect(FileLength(p.game + "models\\gta3.img") ==
               FileLength(p.game + "models\\backup\\gta3.img"),
           "the archive was not restored");
  for (const char* file : {"models\\gta3.dir", "data\\gta_vc.dat"}) {
    s.ExpectEqual(
        ReadFileText(p.game + file).substr(0, 64),
        ReadFileText(p.game + std::string(file).insert(
                                  std::string(file).find('\\') + 1, "backup\\"))
            .substr(0, 64),
        std::string(file) + " restored");
  }
}

const char kCopiedAll[] = "Copied: gta3.img, gta3.dir, gta_vc.dat, x.ipl";

void Restores(GuiSession& s, const Paths& p) {
  s.Start(p.program, p.inst);
  HWND page = s.WaitWindow(kDialogClass, "");
  s.Expect(s.Enabled(page, kUseBackup), "\"Use backup\" disabled");

  // With the progress dialog; "No" to "Abort the process?" goes on.
  Modify(p);
  s.Click(page, kUseBackup);
  // "&Cancel" at once: the question holds the copy between two pieces.
  HWND progress = s.WaitWindow(kDialogClass, "Copying:", 20000);
  s.Click(progress, IDCANCEL);
  std::string question;
  HWND box = s.WaitMessageBox("Abort?", &question);
  s.ExpectEqual("Abort the process?", question, "question of \"&Cancel\"");
  s.Screenshot("progress");
  s.Click(box, IDNO);
  s.WaitGone(box);
  AnswerBox(s, kCaption, kCopiedAll, IDOK);
  ExpectRestored(s, p);

  // "Yes" leaves the old archive and its directory whole.
  Modify(p);
  s.Click(page, kUseBackup);
  progress = s.WaitWindow(kDialogClass, "Copying:", 20000);
  s.Click(progress, IDCANCEL);
  AnswerBox(s, "Abort?", "Abort the process?", IDYES);
  const std::string models = p.game + "models\\";
  AnswerBox(
      s, kCaption,
      "Can't copy " + models + "backup\\gta3.img\r\nto " + models + "gta3.img",
      IDOK);
  AnswerBox(
      s, kCaption,
      "Can't copy " + models + "backup\\gta3.dir\r\nto " + models + "gta3.dir",
      IDOK);
  AnswerBox(s, kCaption, "Copied: gta_vc.dat, x.ipl", IDOK);
  s.ExpectEqual("modified archive", ReadFileText(models + "gta3.img"),
                "the archive after a cancelled restore");
  s.ExpectEqual("modified directory", ReadFileText(models + "gta3.dir"),
                "the directory after a cancelled restore");

  // "Fast copy": no progress dialog.
  s.Click(page, kOptions);
  HWND options = s.WaitWindow(kDialogClass, "Quarn Installer options");
  s.Click(options, kFastCopy);
  Sleep(200);
  s.Expect(Checked(options, kFastCopy), "\"Fast copy\" did not tick");
  s.Click(options, kOptionsOk);
  s.WaitGone(options);
  Modify(p);
  s.Click(page, kUseBackup);
  std::string text;
  const DWORD start = GetTickCount();
  while (!s.FindWindowNow(kDialogClass, kCaption)) {
    s.Expect(!s.FindWindowNow(kDialogClass, "Copying:"),
             "\"Fast copy\" showed the progress dialog");
    s.Expect(GetTickCount() - start < 60000, "no end of the fast restore");
    Sleep(10);
  }
  AnswerBox(s, kCaption, kCopiedAll, IDOK);
  ExpectRestored(s, p);
  s.Click(page, kQuit);
  s.WaitExit();
}

// Every entry of the directory lies inside the archive, none overlaps the
// next: the pair a rebuild leaves, never a half-moved one.
std::string ArchiveProblem(const std::string& models) {
  const std::string dir = ReadFileText(models + "gta3.dir");
  const uint64_t sectors = FileLength(models + "gta3.img") / 2048;
  if (dir == "<missing>" || dir.size() % 32 != 0) return "bad gta3.dir size";
  std::map<uint32_t, uint32_t> extents;
  for (size_t at = 0; at < dir.size(); at += 32) {
    uint32_t offset = 0, size = 0;
    memcpy(&offset, dir.data() + at, 4);
    memcpy(&size, dir.data() + at + 4, 4);
    if (offset + static_cast<uint64_t>(size) > sectors) {
      return "an entry ends beyond the archive";
    }
    extents[offset] = size;
  }
  uint64_t end = 0;
  for (const auto& [offset, size] : extents) {
    if (offset < end) return "two entries overlap";
    end = offset + static_cast<uint64_t>(size);
  }
  return "";
}

// Starts the long install and waits until it is into its copies, each of
// which takes a while; the log window.
HWND StartLongInstall(GuiSession& s, const Paths& p) {
  s.Start(p.program, p.inst);
  s.Click(s.WaitWindow(kDialogClass, ""), kOk);
  HWND main = s.WaitWindow(kMainClass, kMainTitle);
  s.WaitText(s.Control(main, kLogView), "line 2003\r\n", 60000);
  return main;
}

void QuitDuringInstall(GuiSession& s, const Paths& p) {
  HWND main = StartLongInstall(s, p);
  PostMessageA(main, WM_CLOSE, 0, 0);
  std::string text;
  HWND box = s.WaitMessageBox(kCaption, &text);
  s.ExpectEqual("Quit ?", text, "question on closing during the install");
  s.Click(box, IDYES);
  s.ExpectEqual("0", std::to_string(s.WaitExit(60000)), "exit code");
  const std::string file = ReadFileText(p.inst + "QuarnInstall-log.txt");
  s.Expect(EndsWith(file, AbortedBanner()),
           "the log file does not end with the aborted banner:\n" +
               file.substr(file.size() > 400 ? file.size() - 400 : 0));
  s.Expect(file.find("line 39999") == std::string::npos,
           "the install ran to its end");
  s.Expect(file.find("Rebuilding done\r\n") != std::string::npos,
           "the rebuild did not finish");
  const std::string before =
      file.substr(0, file.size() - AbortedBanner().size());
  const std::string last =
      before.substr(before.rfind("\r\n", before.size() - 3) + 2);
  s.Expect(last.find("line ") == 0 || EndsWith(last, "... ok\r\n"),
           "the last command before the banner did not finish: " + last);
  s.ExpectEqual("", ArchiveProblem(p.game + "models\\"), "archive");
}

// The edit control shows the report with CR LF; the runner wrote LF. The
// preview keeps no log file, so its report has no line for one, nor names
// the log's folder `inst` among those no probe could check.
std::string ShownReport(const std::string& runner_report,
                        const std::string& inst) {
  const std::string log_folder = inst.substr(0, inst.size() - 1) + ", ";
  std::string shown;
  size_t start = 0;
  while (start < runner_report.size()) {
    size_t end = runner_report.find('\n', start);
    if (end == std::string::npos) end = runner_report.size();
    std::string line = runner_report.substr(start, end - start);
    const size_t unprobed = line.find(": " + log_folder);
    if (unprobed != std::string::npos) {
      line.erase(unprobed + 2, log_folder.size());
    }
    if (line.find("QuarnInstall-log.txt") == std::string::npos) {
      shown += line + "\r\n";
    }
    start = end + 1;
  }
  return shown;
}

std::string Preview(GuiSession& s, HWND page, const std::string& shot) {
  s.Click(page, kPreview);
  HWND report = s.WaitWindow(kDialogClass, kReportTitle, 60000);
  const std::string text = s.Text(s.Control(report, kReportView));
  if (!shot.empty()) s.Screenshot(shot);
  // The window can be made larger, and the report grows with it.
  RECT before, after;
  GetWindowRect(s.Control(report, kReportView), &before);
  SetWindowPos(report, nullptr, 0, 0, 900, 600, SWP_NOMOVE | SWP_NOZORDER);
  Sleep(200);
  GetWindowRect(s.Control(report, kReportView), &after);
  s.Expect(after.right - after.left > before.right - before.left &&
               after.bottom - after.top > before.bottom - before.top,
           "the report did not grow with its window");
  s.Click(report, kReportClose);
  s.WaitGone(report);
  return text;
}

// X1 is installed already; X1 and X2 write the same file; X3 fails.
void PreviewTickedMods(GuiSession& s, const Paths& p) {
  const std::string saved = ReadFileText(p.inst + "saved.dat");
  s.Start(p.program, p.inst);
  HWND page = s.WaitWindow(kDialogClass, "");
  s.Expect(s.Enabled(page, kPreview) && s.Enabled(page, kUndo),
           "\"Preview\" and \"Undo\" enabled in a game with a journal");
  Sleep(500);  // until the page has drawn itself
  s.Screenshot("page-buttons");
  s.ExpectEqual(ShownReport(ReadFileText(p.work + "report-X1-X2.txt"), p.inst),
                Preview(s, page, "preview"), "the preview of X1 and X2");
  s.Click(page, kFirstRow + 2);
  Sleep(200);
  const std::string failing =
      ShownReport(ReadFileText(p.work + "report-X1-X2-X3.txt"), p.inst) +
      "The real run would fail in X3 (Broken  mod) at:\r\n" +
      "  COPY \"missing.txt\" TO \"gone.txt\"\r\n" + "  Copy " + p.inst +
      "X3\\missing.txt\r\n   to " + p.game + "gone.txt...\r\n" +
      "  Not found: " + p.inst + "X3\\missing.txt\r\n  failed\r\n";
  s.ExpectEqual(failing, Preview(s, page, ""), "the preview of X1 to X3");
  s.Click(page, kQuit);
  s.WaitExit();
  s.ExpectEqual("", ReadFileText(p.inst + "QuarnInstall-log.txt"),
                "the log file after two previews");
  s.ExpectEqual(saved, ReadFileText(p.inst + "saved.dat"),
                "saved.dat after previews");
}

void RunUntilDone(GuiSession& s, HWND page) {
  s.Click(page, kOk);
  HWND main = s.WaitWindow(kMainClass, kMainTitle);
  s.WaitText(s.Control(main, kLogView), DoneBanner(), 60000);
  s.Click(main, kCloseButton);
  s.WaitExit(10000);
}

void AnswerPrefixedBox(GuiSession& s, const std::string& prefix,
                       const std::string& suffix, int button,
                       const std::string& shot = "") {
  std::string text;
  HWND box = s.WaitMessageBox(kCaption, &text);
  s.Expect(
      text.compare(0, prefix.size(), prefix) == 0 && EndsWith(text, suffix),
      "message box: \"" + text + "\" is not \"" + prefix + "...\" + \"" +
          suffix + "\"");
  if (!shot.empty()) s.Screenshot(shot);
  s.Click(box, button);
  s.WaitGone(box);
}

// Install two mods, change one of their files, and undo: refused first,
// then the files are put back anyway.
void UndoAfterInstall(GuiSession& s, const Paths& p) {
  const std::string folder = p.game.substr(0, p.game.size() - 1);
  s.Start(p.program, p.inst);
  HWND page = s.WaitWindow(kDialogClass, "");
  s.Expect(!s.Enabled(page, kUndo), "\"Undo\" enabled before any install");
  RunUntilDone(s, page);

  WriteFileText(p.game + "one.txt", "changed by the player");
  s.Start(p.program, p.inst);
  page = s.WaitWindow(kDialogClass, "");
  s.Expect(s.Enabled(page, kUndo), "\"Undo\" disabled after an install");
  const std::string question_start =
      "Undo the install of X1 (First mod), X2 (Second mod) of ";
  const std::string question_end = "?\r\n\r\nGame folder: " + folder;
  const std::string changed =
      "These files changed after the install, so nothing was undone:\r\n"
      "    one.txt\r\n\r\nPut them back as they were before the install "
      "anyway?";
  s.Click(page, kUndo);
  AnswerPrefixedBox(s, question_start, question_end, IDYES, "undo-question");
  AnswerBox(s, kCaption, changed, IDNO);
  s.ExpectEqual("changed by the player", ReadFileText(p.game + "one.txt"),
                "the changed file after \"No\"");
  s.Expect(s.Enabled(page, kUndo), "\"Undo\" disabled after a refused undo");

  s.Click(page, kUndo);
  AnswerPrefixedBox(s, question_start, question_end, IDYES);
  AnswerBox(s, kCaption, changed, IDYES);
  std::string result;
  HWND box = s.WaitMessageBox(kCaption, &result);
  s.ExpectEqual(
      "Undone: 2 mods.\r\nRestored:\r\n    models\\gta3.dir\r\n"
      "    models\\gta3.img\r\nRemoved:\r\n    one.txt",
      result, "the outcome of the undo");
  s.Screenshot("undo-result");
  s.Click(box, IDOK);
  s.WaitGone(box);
  s.Expect(!s.Enabled(page, kUndo), "\"Undo\" enabled after the undo");
  s.Click(page, kQuit);
  s.WaitExit();
}

// A run killed in the middle: the page tells of it once, "&Ok" offers the
// undo instead of installing, and the undo puts the game back.
void UnfinishedInstall(GuiSession& s, const Paths& p) {
  StartLongInstall(s, p);
  s.Kill();

  const std::string folder = p.game.substr(0, p.game.size() - 1);
  const std::string start =
      "The install of X1 (Long mod) into " + folder + " (";
  const std::string end =
      ") did not finish.\r\nNo new install goes into this folder until it is "
      "undone.\r\n\r\nUndo it now?";
  s.Start(p.program, p.inst);
  HWND page = s.WaitWindow(kDialogClass, "");
  AnswerPrefixedBox(s, start, end, IDNO, "unfinished");
  Sleep(300);
  s.Expect(!s.FindWindowNow(kDialogClass, kCaption),
           "the page told of the unfinished install twice");
  s.Click(page, kOk);
  AnswerPrefixedBox(s, start, end, IDNO);
  Sleep(300);
  s.Expect(!s.FindWindowNow(kMainClass, kMainTitle),
           "\"&Ok\" started an install over an unfinished one");
  s.Click(page, kOk);
  AnswerPrefixedBox(s, start, end, IDYES);
  AnswerPrefixedBox(s, "Undone: 1 mod.\r\nRestored:\r\n", "", IDOK);
  s.Click(page, kQuit);
  s.WaitExit();
  s.ExpectEqual("", ReadFileText(p.inst + "QuarnInstall-log.txt"),
                "the log file after the undo");
}

// No catalogue and ">SCRPATH OFF": the new buttons stand where they do
// with both. After a drive change "&Ok" tests the folder again.
void OkAfterDriveChange(GuiSession& s, const Paths& p) {
  const std::string saved = ReadFileText(p.inst + "saved.dat");
  s.Start(p.program, p.inst);
  s.Click(s.WaitWindow(kDialogClass, "One script"), kNext);
  HWND page = s.WaitWindow(kDialogClass, "Where is the game?");
  s.Expect(s.Lacks(page, kScripted) && s.Lacks(page, kFirstRow),
           "no catalogue and no \"&Scripted path\"");
  s.Expect(s.Enabled(page, kOk) && s.Enabled(page, kPreview) &&
               !s.Enabled(page, kUndo),
           "buttons in a game without a journal");
  Sleep(500);  // until the page has drawn itself
  s.Screenshot("page-no-catalogue");
  s.ChangeDrive(page, kDriveList, 'c');
  Sleep(300);
  s.Expect(s.Enabled(page, kOk), "the drive change changed \"&Ok\"");
  s.Click(page, kOk);
  Sleep(1500);
  s.Expect(!s.FindWindowNow(kMainClass, kMainTitle) && IsWindow(page),
           "\"&Ok\" left the page after a drive change");
  s.Click(page, kQuit);
  s.ExpectEqual("0", std::to_string(s.WaitExit()), "exit code");
  s.ExpectEqual("", ReadFileText(p.inst + "QuarnInstall-log.txt"),
                "the log file after \"&Ok\" on a drive's root");
  s.ExpectEqual(saved, ReadFileText(p.inst + "saved.dat"),
                "saved.dat after \"&Quit\"");
}

void ExpectTopRow(GuiSession& s, HWND page, int mod, const std::string& what) {
  s.ExpectEqual("Mod " + std::to_string(mod),
                s.Text(s.Control(page, kFirstRow)), what);
}

// Twenty mods, thirteen rows: one notch is one arrow's step, over a row or
// the bar, and the rows stop at the last mod.
void WheelScrollsRows(GuiSession& s, const Paths& p) {
  s.Start(p.program, p.inst);
  HWND page = s.WaitWindow(kDialogClass, "");
  ExpectTopRow(s, page, 1, "first row at the start");
  s.Wheel(s.Control(page, kFirstRow + 3), -WHEEL_DELTA);
  ExpectTopRow(s, page, 2, "one notch down over a row");
  s.Wheel(s.Control(page, kScrollBar), -2 * WHEEL_DELTA);
  ExpectTopRow(s, page, 4, "two notches down over the bar");
  s.Wheel(s.Control(page, kFirstRow), WHEEL_DELTA);
  ExpectTopRow(s, page, 3, "one notch up");
  s.Wheel(s.Control(page, kFirstRow + 12), -WHEEL_DELTA / 2);
  ExpectTopRow(s, page, 3, "half a notch");
  s.Wheel(s.Control(page, kFirstRow + 12), -WHEEL_DELTA / 2);
  ExpectTopRow(s, page, 4, "two halves of a notch");
  s.Wheel(s.Control(page, kFirstRow), -10 * WHEEL_DELTA);
  ExpectTopRow(s, page, 8, "ten notches down: the last page");
  s.ExpectEqual("Mod 20", s.Text(s.Control(page, kFirstRow + 12)),
                "last row at the end");
  s.Click(page, kQuit);
  s.WaitExit();
}

// Not a test: how long 10,000 log lines take to show.
void LogViewBenchmark(GuiSession& s, const Paths& p) {
  s.Start(p.program, p.inst);
  HWND page = s.WaitWindow(kDialogClass, "");
  const DWORD start = GetTickCount();
  s.Click(page, kOk);
  HWND main = s.WaitWindow(kMainClass, kMainTitle);
  const DWORD shown = GetTickCount() - start;
  const std::string log_file = p.inst + "QuarnInstall-log.txt";
  while (!EndsWith(ReadFileText(log_file), DoneBanner())) Sleep(10);
  const DWORD written = GetTickCount() - start;
  printf("main window after %.2f s, log file complete after %.2f s\n",
         shown / 1000.0, written / 1000.0);
  fflush(stdout);
  const std::string view =
      s.WaitText(s.Control(main, kLogView), DoneBanner(), 300000);
  const DWORD took = GetTickCount() - start;
  ExpectViewIsFileTail(s, view, ReadFileText(p.inst + "QuarnInstall-log.txt"));
  printf("10000 log lines shown in %.2f s (%zu characters)\n", took / 1000.0,
         view.size());
  s.Click(main, kCloseButton);
  s.WaitExit();
}

using Scenario = void (*)(GuiSession&, const Paths&);

const std::map<std::string, Scenario>& Scenarios() {
  static const std::map<std::string, Scenario> scenarios = {
      {"welcome", WelcomeAndQuit},
      {"install", InstallTwoMods},
      {"scripted", ScriptedPath},
      {"buttons", EnablingRules},
      {"restore", Restores},
      {"quit", QuitDuringInstall},
      {"preview", PreviewTickedMods},
      {"undo", UndoAfterInstall},
      {"unfinished", UnfinishedInstall},
      {"drive", OkAfterDriveChange},
      {"wheel", WheelScrollsRows},
      {"bench", LogViewBenchmark},
  };
  return scenarios;
}

DWORD WINAPI Watchdog(void* name) {
  Sleep(kWatchdogMs);
  fprintf(stderr, "FAILED: %s: watchdog: no end after %lu s\n",
          static_cast<const char*>(name), kWatchdogMs / 1000);
  fflush(stderr);
  ExitProcess(3);
}

}  // namespace
}  // namespace quarn

int main(int argc, char** argv) {
  using namespace quarn;
  if (argc != 4 || !Scenarios().count(argv[1])) {
    fprintf(stderr, "usage: gui_driver SCENARIO PROGRAM WORK\n");
    return 64;
  }
  CreateThread(nullptr, 0, Watchdog, argv[1], 0, nullptr);
  Paths paths;
  paths.program = argv[2];
  paths.work = std::string(argv[3]) + "\\";
  paths.inst = paths.work + "inst\\";
  paths.game = paths.work + "game\\";
  GuiSession session(argv[1], argv[3]);
  Scenarios().at(argv[1])(session, paths);
  printf("ok: %s\n", argv[1]);
  return 0;
}
