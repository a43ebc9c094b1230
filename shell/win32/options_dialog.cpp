#include "shell/win32/options_dialog.h"

#include "shell/shell_messages.h"
#include "shell/win32/dialog_template.h"

namespace quarn {
namespace {

enum OptionsControl {
  kOptionsOk = 4080,
  kDumpObjectIdsBox = 4081,
  kScanCullZonesBox = 4082,
  kFastCopyBox = 4083,
};

struct OptionBox {
  int id;
  const char* text;
  int y;
  int32_t InstallerOptions::*option;
};

const OptionBox kOptionBoxes[] = {
    {kDumpObjectIdsBox, "Dump memory object ID's", 10,
     &InstallerOptions::DumpObjectIds},
    {kScanCullZonesBox, "Scan installed CULL zones", 26,
     &InstallerOptions::ScanCullZones},
    {kFastCopyBox, "Fast copy from backup (no progress bar)", 42,
     &InstallerOptions::FastCopyFromBackup},
};

void OnInitOptions(HWND dialog, InstallerOptions& options) {
  for (const OptionBox& box : kOptionBoxes) {
    AddControl(dialog, "BUTTON", box.text,
               WS_TABSTOP | BS_AUTOCHECKBOX | BS_PUSHLIKE, box.id, 10, box.y,
               140, 14);
    CheckDlgButton(dialog, box.id,
                   options.*box.option ? BST_CHECKED : BST_UNCHECKED);
  }
  AddButton(dialog, "&Ok", kOptionsOk, 55, 66, 50, 14, BS_DEFPUSHBUTTON);
}

void OnOptionClicked(HWND dialog, InstallerOptions& options,
                     const OptionBox& box) {
  const int32_t value = IsDlgButtonChecked(dialog, box.id) == BST_CHECKED;
  options.*box.option = value;
  if (box.id != kScanCullZonesBox) return;
  const std::string notice = CullZonesNotice(value);
  if (!notice.empty()) {
    MessageBoxA(dialog, notice.c_str(), kShellCaption, MB_OK);
  }
}

void OnOptionsCommand(HWND dialog, InstallerOptions& options, int id) {
  if (id == kOptionsOk) {
    EndDialog(dialog, IDOK);
    return;
  }
  for (const OptionBox& box : kOptionBoxes) {
    if (box.id == id) OnOptionClicked(dialog, options, box);
  }
}

INT_PTR CALLBACK OptionsProc(HWND dialog, UINT message, WPARAM wparam,
                             LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      KeepDialogData(dialog, lparam);
      OnInitOptions(dialog, *reinterpret_cast<InstallerOptions*>(lparam));
      return TRUE;
    case WM_COMMAND:
      OnOptionsCommand(dialog, *DialogData<InstallerOptions>(dialog),
                       LOWORD(wparam));
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void RunOptionsDialog(HWND owner, InstallerOptions* options) {
  const DialogFrame frame = {"Quarn Installer options", 160, 90,
                             WS_POPUP | WS_CAPTION | DS_MODALFRAME};
  RunModalDialog(frame, owner, OptionsProc, options);
}

}  // namespace quarn
