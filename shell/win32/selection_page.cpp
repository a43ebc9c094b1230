#include "shell/win32/selection_page.h"

#include "browser/win32/picker_controls.h"
#include "cli/preview_run.h"
#include "cli/run_lock.h"
#include "shell/catalogue_rows.h"
#include "shell/game_folder.h"
#include "shell/restore.h"
#include "shell/win32/dialog_template.h"
#include "shell/win32/message_boxes.h"
#include "shell/win32/options_dialog.h"
#include "shell/win32/preview_dialog.h"
#include "shell/win32/progress_dialog.h"
#include "shell/win32/undo_dialogs.h"
#include "undo/journal_folder.h"

namespace quarn {
namespace {

enum SelectionControl {
  kUnitLabel = 13,
  kDriveList = 3000,
  kDirList = 3010,
  kFolderLabel = 3050,
  kOkButton = 3060,
  kPreviewButton = 3065,
  kUndoButton = 3070,
  kScriptedButton = 3080,
  kQuitButton = IDCANCEL,
  kFirstRow = 4010,
  kScrollBar = 4030,
  kSelectAllButton = 4050,
  kClearAllButton = 4060,
  kUseBackupButton = 4070,
  kOptionsButton = 4090,
};

// What the page keeps while it is open.
struct SelectionPage {
  SelectionPageData* data;
  HWND dialog;
  HWND dir_list;
  int top;
  std::string restore_dir;
  /// The folder whose unfinished install the page told of last, so that
  /// it tells of it once.
  std::string told_unfinished;
  int wheel_rest;  ///< wheel movement short of a whole notch
};

/// Posted by the page to itself: tell of an unfinished install in the
/// selected folder once the page shows.
constexpr UINT kCheckUnfinished = WM_APP + 30;

HWND Control(const SelectionPage& page, int id) {
  return GetDlgItem(page.dialog, id);
}

void Enable(const SelectionPage& page, int id, bool enabled) {
  EnableWindow(Control(page, id), enabled);
}

// The label draws the path shortened in the middle with an ellipsis; its
// text keeps the whole path.
void ShowFolderInLabel(const SelectionPage& page) {
  SetWindowTextA(Control(page, kFolderLabel),
                 SelectedFolderOf(page.dir_list).c_str());
}

void FillRows(const SelectionPage& page) {
  const ModCatalogue& catalogue = *page.data->catalogue;
  for (int row = 0; row < VisibleRowCount(catalogue); ++row) {
    const RowView view = RowAt(catalogue, page.top, row);
    HWND box = Control(page, kFirstRow + row);
    SetWindowTextA(box, view.text.c_str());
    SendMessageA(box, BM_SETCHECK, view.ticked ? BST_CHECKED : BST_UNCHECKED,
                 0);
  }
}

void AddFolderBrowser(SelectionPage& page, int width) {
  HWND dialog = page.dialog;
  AddControl(dialog, "STATIC", "", SS_LEFT | SS_PATHELLIPSIS | SS_NOPREFIX,
             kFolderLabel, 7, 2, width == 140 ? 139 : 388, 10);
  page.dir_list = CreatePBDirLB(dialog, kDirList, 6, 13, width, 135, 1, "");
  AddControl(dialog, "STATIC", "Unit:", SS_LEFT, kUnitLabel, 7, 149, 140, 10);
  HWND drives = CreatePBDriveCB(dialog, kDriveList, 6, 159, width, 120, 1, "");
  SendMessageA(drives, kDriveLinkDirList,
               reinterpret_cast<WPARAM>(page.dir_list), 0);
  SendMessageA(page.dir_list, kDirLinkFileList, 0, 0);
  SendMessageA(page.dir_list, kDirSetSingleClick, 0, 0);
}

void AddCatalogueControls(SelectionPage& page) {
  const ModCatalogue& catalogue = *page.data->catalogue;
  for (int row = 0; row < VisibleRowCount(catalogue); ++row) {
    AddControl(page.dialog, "BUTTON", "", WS_TABSTOP | BS_AUTOCHECKBOX,
               kFirstRow + row, 160, 13 + 10 * row, 200, 9);
  }
  if (NeedsScrollBar(catalogue)) {
    HWND bar = AddControl(page.dialog, "SCROLLBAR", "", SBS_VERT, kScrollBar,
                          370, 13, 20, 130);
    SCROLLINFO info = {sizeof(info),
                       SIF_RANGE | SIF_PAGE | SIF_POS,
                       0,
                       LastIndex(catalogue),
                       kVisibleRows,
                       page.top,
                       0};
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
  }
  AddButton(page.dialog, "Select All", kSelectAllButton, 160, 145, 40, 14);
  AddButton(page.dialog, "Clear All", kClearAllButton, 210, 145, 40, 14);
  AddButton(page.dialog, "Use backup", kUseBackupButton, 260, 145, 50, 14);
  if (!page.data->setup->options_hidden) {
    AddButton(page.dialog, "Options", kOptionsButton, 320, 145, 50, 14);
  }
  FillRows(page);
}

void AddButtons(SelectionPage& page) {
  AddButton(page.dialog, "&Ok", kOkButton, 6, 181, 90, 14, BS_DEFPUSHBUTTON);
  AddButton(page.dialog, "Preview", kPreviewButton, 101, 181, 46, 14);
  if (!page.data->setup->scripted_path_hidden) {
    AddButton(page.dialog, "&Scripted path", kScriptedButton, 152, 181, 96, 14);
  }
  AddButton(page.dialog, "Undo", kUndoButton, 253, 181, 46, 14);
  AddButton(page.dialog, "&Quit", kQuitButton, 304, 181, 90, 14);
}

// "Preview" goes with "&Ok"; "Undo" wants a journal in the folder, and
// an unfinished install in it is told of once the page shows.
void ApplyChoice(SelectionPage& page, const FolderChoice& choice) {
  Enable(page, kOkButton, choice.ok_enabled);
  Enable(page, kPreviewButton, choice.ok_enabled);
  Enable(page, kUseBackupButton, choice.use_backup_enabled);
  page.restore_dir = choice.restore_dir;
  const std::string folder = SelectedFolderOf(page.dir_list);
  const std::vector<JournalEntry> journal =
      folder.empty() ? std::vector<JournalEntry>()
                     : ListJournalEntries(*page.data->fs, folder);
  Enable(page, kUndoButton, !journal.empty());
  if (UnfinishedEntryOf(journal) != nullptr) {
    PostMessageA(page.dialog, kCheckUnfinished, 0, 0);
  }
}

// The buttons start from the remembered folder: "&Ok" wants the game in
// it, "Use backup" (with a catalogue) both backup folders.
void SetStartState(SelectionPage& page) {
  ApplyChoice(page, OpeningChoice(*page.data->fs, page.data->remembered_path,
                                  page.data->catalogue->Present));
  if (NeedsScrollBar(*page.data->catalogue)) ShowFolderInLabel(page);
}

void OnInitSelection(HWND dialog, SelectionPageData* data) {
  auto* page = new SelectionPage{data, dialog, nullptr, 0, "", "", 0};
  KeepDialogData(dialog, reinterpret_cast<LPARAM>(page));
  const bool catalogue = data->catalogue->Present;
  AddFolderBrowser(*page, catalogue ? 140 : 388);
  if (catalogue) AddCatalogueControls(*page);
  AddButtons(*page);
  SetStartState(*page);
}

void OnFolderSelected(SelectionPage& page) {
  ShowFolderInLabel(page);
  ApplyChoice(page,
              ChooseFolder(*page.data->fs, SelectedFolderOf(page.dir_list)));
}

// Undoes the newest run into `folder`, then gives the buttons the state
// the folder is left in.
void UndoInto(SelectionPage& page, const std::string& folder,
              const std::string& question) {
  if (RunUndoDialogs(page.dialog, *page.data->fs, folder, question)) {
    OnFolderSelected(page);
  }
}

// The page tells of an unfinished install and offers its undo: true when
// `folder` holds one, whatever the player chose.
bool OfferUnfinishedUndo(SelectionPage& page, const std::string& folder) {
  const std::string question =
      UnfinishedInstallQuestion(*page.data->fs, folder);
  if (question.empty()) return false;
  page.told_unfinished = folder;
  UndoInto(page, folder, question);
  return true;
}

// Posted at the start, this comes before the dialog shows itself: the box
// must not stand alone on the screen.
void OnCheckUnfinished(SelectionPage& page) {
  const std::string folder = SelectedFolderOf(page.dir_list);
  if (folder.empty() || folder == page.told_unfinished) return;
  ShowWindow(page.dialog, SW_SHOW);
  UpdateWindow(page.dialog);
  OfferUnfinishedUndo(page, folder);
}

void CloseWithChoice(SelectionPage& page, const std::string& chosen) {
  if (SelectedFolderOf(page.dir_list).empty()) {
    MessageBeep(MB_OK);
    return;
  }
  page.data->chosen_path = chosen;
  EndDialog(page.dialog, IDOK);
}

// The selected folder when it holds the game; else empty, with a beep. A
// drive change selects the drive's root without a new folder choice, so
// the state of "&Ok" may be stale: the folder is tested at the click.
std::string SelectedGame(SelectionPage& page) {
  const std::string folder = SelectedFolderOf(page.dir_list);
  if (!folder.empty() && HoldsGame(*page.data->fs, folder)) return folder;
  MessageBeep(MB_OK);
  return "";
}

// An install that did not finish or another run at work keeps the page
// open.
void OnOk(SelectionPage& page) {
  FileSystem& fs = *page.data->fs;
  const std::string folder = SelectedGame(page);
  if (folder.empty()) return;
  if (OfferUnfinishedUndo(page, folder)) return;
  const std::string busy = GameBusyMessage(fs, folder);
  if (!busy.empty()) {
    MessageBoxA(page.dialog, busy.c_str(), kShellCaption, MB_OK);
    return;
  }
  CloseWithChoice(page, folder);
}

void OnPreview(SelectionPage& page) {
  const std::string folder = SelectedGame(page);
  if (folder.empty()) return;
  PreviewRequest request;
  request.installer_dir = page.data->installer_dir;
  request.catalogue = *page.data->catalogue;
  request.game = folder;
  request.dump_object_ids = page.data->options->DumpObjectIds != 0;
  RunPreviewDialogs(page.dialog, std::move(request));
}

void OnUndo(SelectionPage& page) {
  const std::string folder = SelectedFolderOf(page.dir_list);
  if (!folder.empty()) UndoInto(page, folder, "");
}

// The plain copies a fast restore makes show the wait cursor instead of
// the progress dialog.
class WaitCursorCopier : public FileCopier {
 public:
  explicit WaitCursorCopier(FileSystem& fs) : plain_(fs) {}
  CopyOutcome Copy(const std::string& source,
                   const std::string& target) override {
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const CopyOutcome outcome = plain_.Copy(source, target);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    return outcome;
  }

 private:
  PlainCopier plain_;
};

void OnUseBackup(SelectionPage& page) {
  FileSystem& fs = *page.data->fs;
  PlainCopier plain(fs);
  WaitCursorCopier fast(fs);
  ProgressDialog dialog(page.dialog);
  ProgressCopier with_progress(fs, dialog);
  FileCopier& archive = page.data->options->FastCopyFromBackup
                            ? static_cast<FileCopier&>(fast)
                            : with_progress;
  MessageBoxes messages(page.dialog);
  RunRestore(fs, page.restore_dir, {archive, plain}, messages);
}

void OnSelectAll(SelectionPage& page, bool ticked) {
  if (ticked) {
    SelectAll(*page.data->catalogue);
  } else {
    ClearAll(*page.data->catalogue);
  }
  FillRows(page);
}

void OnRowClicked(SelectionPage& page, int row) {
  const bool ticked = SendMessageA(Control(page, kFirstRow + row), BM_GETCHECK,
                                   0, 0) == BST_CHECKED;
  SetRowTicked(*page.data->catalogue, page.top, row, ticked);
}

void OnSelectionCommand(SelectionPage& page, int id, int code) {
  switch (id) {
    case kDirList:
      if (code == LBN_SELCHANGE) OnFolderSelected(page);
      return;
    case kDriveList:
      if (code == CBN_SELENDOK) ShowFolderInLabel(page);
      return;
    case kOkButton:
      return OnOk(page);
    case kPreviewButton:
      return OnPreview(page);
    case kUndoButton:
      return OnUndo(page);
    case kScriptedButton:
      return CloseWithChoice(page, kScriptedPath);
    case kQuitButton:
      EndDialog(page.dialog, IDCANCEL);
      return;
    case kUseBackupButton:
      return OnUseBackup(page);
    case kOptionsButton:
      return RunOptionsDialog(page.dialog, page.data->options);
    case kSelectAllButton:
      return OnSelectAll(page, true);
    case kClearAllButton:
      return OnSelectAll(page, false);
  }
  if (id >= kFirstRow && id < kFirstRow + kVisibleRows) {
    OnRowClicked(page, id - kFirstRow);
  }
}

ScrollAction ScrollActionOf(int code) {
  switch (code) {
    case SB_LINEUP:
      return ScrollAction::kLineUp;
    case SB_LINEDOWN:
      return ScrollAction::kLineDown;
    case SB_PAGEUP:
      return ScrollAction::kPageUp;
    case SB_PAGEDOWN:
      return ScrollAction::kPageDown;
    case SB_THUMBTRACK:
      return ScrollAction::kThumbTrack;
  }
  return ScrollAction::kOther;
}

// The bar clamps the new top to its range; the page takes it back from it.
void OnScroll(SelectionPage& page, int code) {
  HWND bar = Control(page, kScrollBar);
  SCROLLINFO info = {sizeof(info), SIF_TRACKPOS, 0, 0, 0, 0, 0};
  GetScrollInfo(bar, SB_CTL, &info);
  const int wanted = ScrolledTop(*page.data->catalogue, page.top,
                                 ScrollActionOf(code), info.nTrackPos);
  SetScrollPos(bar, SB_CTL, wanted, TRUE);
  page.top = GetScrollPos(bar, SB_CTL);
  FillRows(page);
}

// The wheel works where the rows are: over a row or the bar, not over the
// directory list beside them.
bool OverRows(const SelectionPage& page, POINT screen) {
  RECT area = {};
  RECT part;
  for (int row = 0; row < VisibleRowCount(*page.data->catalogue); ++row) {
    GetWindowRect(Control(page, kFirstRow + row), &part);
    UnionRect(&area, &area, &part);
  }
  GetWindowRect(Control(page, kScrollBar), &part);
  UnionRect(&area, &area, &part);
  return PtInRect(&area, screen) != 0;
}

// Each notch of the wheel is one click on an arrow of the bar.
void OnWheel(SelectionPage& page, WPARAM wparam, LPARAM lparam) {
  if (!NeedsScrollBar(*page.data->catalogue)) return;
  const POINT at = {static_cast<short>(LOWORD(lparam)),
                    static_cast<short>(HIWORD(lparam))};
  if (!OverRows(page, at)) return;
  page.wheel_rest += GET_WHEEL_DELTA_WPARAM(wparam);
  while (page.wheel_rest >= WHEEL_DELTA) {
    page.wheel_rest -= WHEEL_DELTA;
    OnScroll(page, SB_LINEUP);
  }
  while (page.wheel_rest <= -WHEEL_DELTA) {
    page.wheel_rest += WHEEL_DELTA;
    OnScroll(page, SB_LINEDOWN);
  }
}

void OnDestroySelection(HWND dialog) {
  delete DialogData<SelectionPage>(dialog);
  KeepDialogData(dialog, 0);
}

INT_PTR CALLBACK SelectionProc(HWND dialog, UINT message, WPARAM wparam,
                               LPARAM lparam) {
  SelectionPage* page = DialogData<SelectionPage>(dialog);
  switch (message) {
    case WM_INITDIALOG:
      OnInitSelection(dialog, reinterpret_cast<SelectionPageData*>(lparam));
      return TRUE;
    case WM_COMMAND:
      if (page) OnSelectionCommand(*page, LOWORD(wparam), HIWORD(wparam));
      return TRUE;
    case WM_VSCROLL:
      if (page) OnScroll(*page, LOWORD(wparam));
      return TRUE;
    case WM_MOUSEWHEEL:
      if (page) OnWheel(*page, wparam, lparam);
      return TRUE;
    case kCheckUnfinished:
      if (page) OnCheckUnfinished(*page);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    case WM_DESTROY:
      OnDestroySelection(dialog);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void EnterRememberedFolder(const std::string& remembered_path) {
  if (remembered_path.empty()) return;
  if (!SetCurrentDirectoryA(remembered_path.c_str())) {
    SetCurrentDirectoryA(remembered_path.substr(0, 2).c_str());
  }
}

void RunSelectionPage(SelectionPageData* data) {
  data->chosen_path.clear();
  const DialogFrame frame = {
      data->setup->selection_caption, 400, 200,
      WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME};
  RunModalDialog(frame, nullptr, SelectionProc, data);
}

}  // namespace quarn
