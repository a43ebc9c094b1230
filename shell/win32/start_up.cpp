#include "shell/win32/start_up.h"

#include "run/journaled_run.h"
#include "shell/mod_catalogue_build.h"
#include "shell/saved_selection.h"
#include "shell/shell_messages.h"
#include "shell/win32/message_boxes.h"
#include "shell/win32/selection_page.h"
#include "shell/win32/welcome_page.h"
#include "text/ascii.h"
#include "undo/local_time.h"

namespace quarn {
namespace {

bool CreateLog(InstallerApp& app) {
  app.log = InstallLog::Create(*app.fs, app.installer_dir, &app.log_queue);
  if (!app.log) {
    MessageBoxA(nullptr, "Can't create log file", kShellCaption, MB_OK);
    return false;
  }
  app.journal = std::make_unique<JournalingFileSystem>(*app.fs, LocalTimeNow);
  app.tracker = std::make_unique<ChangeTracker>(*app.journal);
  app.run = std::make_unique<InstallContext>(*app.tracker, *app.log);
  FollowRunInJournal(*app.run, *app.journal, *app.tracker);
  app.run->InstallerDir = app.installer_dir;
  return true;
}

// The welcome page, when "Setup.ini" asks for one; false to end.
bool PassWelcomePage(const SetupSettings& setup) {
  if (!setup.welcome_wanted) return true;
  HANDLE picture = setup.picture_path.empty()
                       ? nullptr
                       : LoadImageA(nullptr, setup.picture_path.c_str(),
                                    IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  if (!picture) {
    MessageBoxA(nullptr, "ERROR: Picture not loaded", kShellCaption, MB_OK);
    return false;
  }
  const bool next = RunWelcomePage(setup, static_cast<HBITMAP>(picture));
  DeleteObject(picture);
  return next;
}

}  // namespace

bool RunStartUp(InstallerApp& app, HWND window) {
  app.installer_dir = CutTo(WithTrailingBackslash(app.fs->CurrentFolder()),
                            kInstallerDirCapacity);
  if (!CreateLog(app)) return false;
  app.main_window = window;
  InstallContext& run = *app.run;
  run.RequestWindowClose = [window] { SendMessageA(window, WM_CLOSE, 0, 0); };
  MessageBoxes boxes(nullptr);
  run.ModCatalogue = LoadModCatalogue(*app.fs, app.installer_dir, boxes);
  app.setup = ReadSetupIni(*app.fs, app.installer_dir);
  const SavedSelection saved = LoadSavedSelection(
      *app.fs, app.installer_dir + kSavedFileName, &run.ModCatalogue);
  app.options = saved.options;
  EnterRememberedFolder(saved.remembered_path);
  SelectionPageData page = {app.fs.get(),
                            &run.ModCatalogue,
                            &app.options,
                            &app.setup,
                            app.installer_dir,
                            saved.remembered_path,
                            ""};
  if (!PassWelcomePage(app.setup)) return false;
  RunSelectionPage(&page);
  if (run.ModCatalogue.Present && !page.chosen_path.empty()) {
    SaveSelection(*app.fs, app.installer_dir + kSavedFileName, page.chosen_path,
                  app.options, run.ModCatalogue);
  }
  if (page.chosen_path.empty()) return false;
  run.ChosenPath = CutTo(page.chosen_path, kChosenPathCapacity);
  run.DumpObjectIds = app.options.DumpObjectIds != 0;
  return true;
}

}  // namespace quarn
