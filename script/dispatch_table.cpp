#include "script/dispatch_table.h"

#include "col/col_add.h"
#include "col/col_close.h"
#include "col/col_delete.h"
#include "col/col_open.h"
#include "gamelists/gta_vc_dat_commands.h"
#include "gamelists/object_dat_commands.h"
#include "ide/ide_editor_commands.h"
#include "img/img_add.h"
#include "img/img_deldup.h"
#include "img/img_delete.h"
#include "img/img_open.h"
#include "img/img_rebuild.h"
#include "img/img_verify.h"
#include "ipl/ipl_editor_commands.h"
#include "script/builtin_commands.h"
#include "script/copy_command.h"
#include "script/dir_commands.h"
#include "script/install_path_command.h"
#include "text/ascii.h"

namespace quarn {

const std::vector<DispatchEntry>& DispatchTable() {
  using M = MatchKind;
  static const std::vector<DispatchEntry> table = {
      {"INSTALL PATH ", M::kPrefix, RunInstallPath},
      {"IMG OPENDEF", M::kWhole, RunImgOpenDef},
      {"IMG DELETE ", M::kPrefix, RunImgDelete},
      {"IMG DELFROM ", M::kPrefix, RunImgDelFrom},
      // One command under two names: both rebuild the archive.
      {"IMG CLOSE", M::kWhole, RunImgRebuild},
      {"IMG REBUILD", M::kWhole, RunImgRebuild},
      {"IMG VERIFY", M::kWhole, RunImgVerify},
      {"TERMINATE", M::kWhole, RunTerminate},
      {"IMG DELDUP", M::kWhole, RunImgDelDup},
      {"IMG ADD ", M::kPrefix, RunImgAdd},
      {"IMG ADDALL", M::kWhole, RunImgAddAll},
      {"CLS", M::kWhole, RunCls},
      {"PRINT", M::kWhole, RunPrintBlank},
      {"PRINT ", M::kPrefix, RunPrintText},
      {"DIR CREATE ", M::kPrefix, RunDirCreate},
      {"DIR SELECT ", M::kPrefix, RunDirSelect},
      {"COPY ", M::kPrefix, RunCopyCommand},
      {"COL OPEN ", M::kPrefix, RunColOpen},
      {"COL ADD ", M::kPrefix, RunColAdd},
      {"COL ADDFILE ", M::kPrefix, RunColAddFile},
      {"COL DELETE ", M::kPrefix, RunColDelete},
      {"COL CLOSE", M::kWhole, RunColClose},
      {"IPL OPEN ", M::kPrefix, RunIplOpen},
      {"IPL CREATE ", M::kPrefix, RunIplCreate},
      {"IPL ADD INST ", M::kPrefix, RunIplAdd},
      {"IPL ADD CULL ", M::kPrefix, RunIplAdd},
      {"IPL ADD PATH ", M::kPrefix, RunIplAdd},
      {"IPL ADD PICK ", M::kPrefix, RunIplAdd},
      {"IPL ADDFILE ", M::kPrefix, RunIplAddFile},
      {"IPL DEL ", M::kPrefix, RunIplDel},
      {"IPL CLOSE", M::kWhole, RunIplClose},
      {"IDE OPEN ", M::kPrefix, RunIdeOpen},
      {"IDE ADD OBJS ", M::kPrefix, RunIdeAdd},
      {"IDE ADD TOBJ ", M::kPrefix, RunIdeAdd},
      {"IDE ADD PATH ", M::kPrefix, RunIdeAdd},
      {"IDE ADD 2DFX ", M::kPrefix, RunIdeAdd},
      {"IDE ADD PEDS ", M::kPrefix, RunIdeAdd},
      {"IDE ADD CARS ", M::kPrefix, RunIdeAdd},
      {"IDE ADD WEAP ", M::kPrefix, RunIdeAdd},
      {"IDE ADD HIER ", M::kPrefix, RunIdeAdd},
      {"IDE ADDFILE ", M::kPrefix, RunIdeAddFile},
      {"IDE DEL ", M::kPrefix, RunIdeDel},
      {"IDE CLOSE", M::kWhole, RunIdeClose},
      {"GTA_VC.DAT OPEN", M::kWhole, RunGtaVcDatOpen},
      {"GTA_VC.DAT CLOSE", M::kWhole, RunGtaVcDatClose},
      {"GTA_VC.DAT DEL ", M::kPrefix, RunGtaVcDatDel},
      {"GTA_VC.DAT ADD ", M::kPrefix, RunGtaVcDatAdd},
      {"OBJECT.DAT OPEN", M::kWhole, RunObjectDatOpen},
      {"OBJECT.DAT CLOSE", M::kWhole, RunObjectDatClose},
      {"OBJECT.DAT DEL ", M::kPrefix, RunObjectDatDel},
      {"OBJECT.DAT ADD ", M::kPrefix, RunObjectDatAdd},
  };
  return table;
}

bool Matches(const DispatchEntry& entry, const std::string& line) {
  const std::string keyword = entry.keyword;
  if (entry.match == MatchKind::kWhole) return ToUpperAscii(line) == keyword;
  return line.size() >= keyword.size() &&
         ToUpperAscii(line.substr(0, keyword.size())) == keyword;
}

CommandResult DispatchLine(InstallContext& ctx) {
  ctx.Fs.ClearLastError();  // a failed run reports only its last command's
  ctx.CommandRecognised = false;
  for (const DispatchEntry& entry : DispatchTable()) {
    if (entry.handler == nullptr || !Matches(entry, ctx.ScriptLine)) continue;
    if (entry.handler(ctx) == CommandResult::kEndRun) {
      return CommandResult::kEndRun;
    }
  }
  if (ctx.CommandRecognised) return CommandResult::kContinue;
  return Fail(ctx, "Unknown command: " + ctx.ScriptLine);
}

}  // namespace quarn
