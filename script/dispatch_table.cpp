#include "script/dispatch_table.h"

#include "gamelists/gta_vc_dat_commands.h"
#include "gamelists/object_dat_commands.h"
#include "img/img_add.h"
#include "img/img_deldup.h"
#include "img/img_delete.h"
#include "img/img_open.h"
#include "img/img_rebuild.h"
#include "img/img_verify.h"
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
      {"COL OPEN ", M::kPrefix, nullptr},
      {"COL ADD ", M::kPrefix, nullptr},
      {"COL ADDFILE ", M::kPrefix, nullptr},
      {"COL DELETE ", M::kPrefix, nullptr},
      {"COL CLOSE", M::kWhole, nullptr},
      {"IPL OPEN ", M::kPrefix, nullptr},
      {"IPL CREATE ", M::kPrefix, nullptr},
      {"IPL ADD INST ", M::kPrefix, nullptr},
      {"IPL ADD CULL ", M::kPrefix, nullptr},
      {"IPL ADD PATH ", M::kPrefix, nullptr},
      {"IPL ADD PICK ", M::kPrefix, nullptr},
      {"IPL ADDFILE ", M::kPrefix, nullptr},
      {"IPL DEL ", M::kPrefix, nullptr},
      {"IPL CLOSE", M::kWhole, nullptr},
      {"IDE OPEN ", M::kPrefix, nullptr},
      {"IDE ADD OBJS ", M::kPrefix, nullptr},
      {"IDE ADD TOBJ ", M::kPrefix, nullptr},
      {"IDE ADD PATH ", M::kPrefix, nullptr},
      {"IDE ADD 2DFX ", M::kPrefix, nullptr},
      {"IDE ADD PEDS ", M::kPrefix, nullptr},
      {"IDE ADD CARS ", M::kPrefix, nullptr},
      {"IDE ADD WEAP ", M::kPrefix, nullptr},
      {"IDE ADD HIER ", M::kPrefix, nullptr},
      {"IDE ADDFILE ", M::kPrefix, nullptr},
      {"IDE DEL ", M::kPrefix, nullptr},
      {"IDE CLOSE", M::kWhole, nullptr},
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
