// The one shared state of an installation run.
#pragma once

#include "col/open_col_file.h"
#include "editing/command.h"
#include "editing/run_context.h"
#include "gamelists/gta_vc_dat_list.h"
#include "gamelists/object_dat_list.h"
#include "ide/ide_state.h"
#include "img/img_directory.h"
#include "ipl/ipl_editor.h"

namespace quarn {

/// Everything one installation run reads and changes: the run's own state
/// and every editor's. Tests create as many as they like; nothing of it is
/// global. The item-definition state is a base, so that its fields read as
/// the context's own while the IDE commands can be handed it alone.
struct InstallContext : RunContext, IdeState {
  /// A run over `fs` that reports to `log`.
  InstallContext(FileSystem& fs, InstallLog& log) : RunContext(fs, log) {}

  // Model archive.
  ImgDirectory Img;

  // Game list editors.
  GtaVcDatList GtaVcDat;
  ObjectDatList ObjectDat;

  // Placements.
  IplEditor Ipl;  ///< the IPL file being edited or made

  // Collision file editor.
  OpenColFile Col;
};

/// The signature of a command handler that works on the whole run.
using RunCommand = CommandResult(InstallContext& ctx, const Command& command);

}  // namespace quarn
