#include "shell/win32/preview_dialog.h"

#include <memory>
#include <string>
#include <utility>

#include "shell/win32/dialog_template.h"

namespace quarn {
namespace {

enum PreviewControl {
  kWaitText = 7010,
  kReportView = 7020,
  kReportClose = 7030,
};

/// Posted to the wait dialog when the worker has the report.
constexpr UINT kPreviewFinished = WM_APP + 40;

// What the worker and the wait dialog share. The worker gets a file system
// of its own: the page's stays with the window thread.
struct PreviewJob {
  explicit PreviewJob(PreviewRequest request) : run(std::move(request)) {}
  PreviewRun run;
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  std::string report;
  HWND wait_dialog = nullptr;
};

DWORD WINAPI PreviewWorker(void* parameter) {
  auto* job = static_cast<PreviewJob*>(parameter);
  job->report = job->run.Run(*job->fs);
  PostMessageA(job->wait_dialog, kPreviewFinished, 0, 0);
  return 0;
}

void OnInitWait(HWND dialog, PreviewJob& job) {
  AddControl(dialog, "STATIC",
             "Running the ticked mods without changing anything...", SS_LEFT,
             kWaitText, 10, 12, 180, 10);
  AddButton(dialog, "&Cancel", IDCANCEL, 70, 32, 60, 14);
  job.wait_dialog = dialog;
  HANDLE worker = CreateThread(nullptr, 0, PreviewWorker, &job, 0, nullptr);
  if (!worker) {
    EndDialog(dialog, IDABORT);
    return;
  }
  CloseHandle(worker);
}

// "&Cancel" stops the run between two commands; the dialog ends when the
// worker has returned, so the job outlives it.
void OnCancelWait(HWND dialog, PreviewJob& job) {
  job.run.Stop();
  EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
}

INT_PTR CALLBACK WaitProc(HWND dialog, UINT message, WPARAM wparam,
                          LPARAM lparam) {
  PreviewJob* job = DialogData<PreviewJob>(dialog);
  switch (message) {
    case WM_INITDIALOG:
      KeepDialogData(dialog, lparam);
      OnInitWait(dialog, *reinterpret_cast<PreviewJob*>(lparam));
      return TRUE;
    case WM_SETCURSOR:
      SetCursor(LoadCursorA(nullptr, IDC_WAIT));
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDCANCEL && job) OnCancelWait(dialog, *job);
      return TRUE;
    case kPreviewFinished:
      EndDialog(dialog, IDOK);
      return TRUE;
  }
  return FALSE;
}

// The edit control wants CR LF; the report has LF.
std::string WithCrLf(const std::string& text) {
  std::string shown;
  for (char c : text) {
    if (c == '\n') shown += '\r';
    shown += c;
  }
  return shown;
}

void LayOutReport(HWND dialog) {
  RECT client;
  GetClientRect(dialog, &client);
  const RECT button = DialogUnitsRect(dialog, 0, 0, 60, 14);
  const RECT margin = DialogUnitsRect(dialog, 0, 0, 6, 4);
  const int width = button.right, height = button.bottom;
  const int gap = margin.right, below = margin.bottom;
  MoveWindow(GetDlgItem(dialog, kReportView), gap, gap, client.right - 2 * gap,
             client.bottom - height - 2 * below - gap, TRUE);
  MoveWindow(GetDlgItem(dialog, kReportClose), client.right - width - gap,
             client.bottom - height - below, width, height, TRUE);
}

void OnInitReport(HWND dialog, const std::string& report) {
  HWND view = AddControl(dialog, "EDIT", "",
                         WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                             ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                         kReportView, 0, 0, 10, 10);
  SendMessageA(view, EM_SETLIMITTEXT, 0, 0);
  SendMessageA(view, WM_SETFONT,
               reinterpret_cast<WPARAM>(GetStockObject(ANSI_FIXED_FONT)),
               FALSE);
  SetWindowTextA(view, WithCrLf(report).c_str());
  AddButton(dialog, "Close", kReportClose, 0, 0, 60, 14, BS_DEFPUSHBUTTON);
  LayOutReport(dialog);
  SetFocus(GetDlgItem(dialog, kReportClose));
}

INT_PTR CALLBACK ReportProc(HWND dialog, UINT message, WPARAM wparam,
                            LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitReport(dialog, *reinterpret_cast<const std::string*>(lparam));
      return FALSE;
    case WM_SIZE:
      LayOutReport(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == kReportClose || LOWORD(wparam) == IDCANCEL) {
        EndDialog(dialog, IDOK);
      }
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, IDOK);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void RunPreviewDialogs(HWND owner, PreviewRequest request) {
  PreviewJob job(std::move(request));
  const DialogFrame wait = {"Preview", 200, 56,
                            WS_POPUP | WS_CAPTION | DS_MODALFRAME};
  if (RunModalDialog(wait, owner, WaitProc, &job) != IDOK) return;
  if (job.report.empty()) return;
  const DialogFrame report = {
      "Preview: what the ticked mods would do", 420, 260,
      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX};
  RunModalDialog(report, owner, ReportProc, &job.report);
}

}  // namespace quarn
