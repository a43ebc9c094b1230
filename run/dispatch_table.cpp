#include "run/dispatch_table.h"

#include "col/col_add.h"
#include "col/col_close.h"
#include "col/col_delete.h"
#include "col/col_open.h"
#include "gamelists/gta_vc_dat_commands.h"
#include "gamelists/object_dat_commands.h"
#include "ide/ide_editor_commands.h"
#include "ide/ide_sections.h"
#include "img/img_add.h"
#include "img/img_deldup.h"
#include "img/img_delete.h"
#include "img/img_open.h"
#include "img/img_rebuild.h"
#include "img/img_verify.h"
#include "ipl/ipl_editor.h"
#include "ipl/ipl_editor_commands.h"
#include "run/builtin_commands.h"
#include "run/copy_command.h"
#include "run/dir_commands.h"
#include "run/install_path_command.h"
#include "text/ascii.h"

namespace quarn {
namespace {

// An editor's handler, handed the run's state `member` of that editor.
template <auto member, auto handler>
CommandResult On(InstallContext& ctx, const Command& command) {
  return handler(ctx, ctx.*member, command);
}

// An item-definition handler, handed the run's item-definition state.
template <auto handler>
CommandResult OnIde(InstallContext& ctx, const Command& command) {
  return handler(ctx, ctx, command);
}

constexpr size_t Ide(IdeSection section) {
  return static_cast<size_t>(section);
}

constexpr size_t Ipl(IplSection section) {
  return static_cast<size_t>(section);
}

// The part of `line` a row hands its handler.
std::string ArgumentOf(const DispatchEntry& entry, const std::string& line) {
  if (entry.match == MatchKind::kWhole) return std::string();
  return line.substr(std::string(entry.keyword).size());
}

}  // namespace

const std::vector<DispatchEntry>& DispatchTable() {
  using M = MatchKind;
  using C = InstallContext;
  using I = IdeSection;
  using P = IplSection;
  static const std::vector<DispatchEntry> table = {
      {"INSTALL PATH ", M::kPrefix, RunInstallPath},
      {"IMG OPENDEF", M::kWhole, On<&C::Img, RunImgOpenDef>},
      {"IMG DELETE ", M::kPrefix, On<&C::Img, RunImgDelete>},
      {"IMG DELFROM ", M::kPrefix, On<&C::Img, RunImgDelFrom>},
      // One command under two names: both rebuild the archive.
      {"IMG CLOSE", M::kWhole, On<&C::Img, RunImgRebuild>},
      {"IMG REBUILD", M::kWhole, On<&C::Img, RunImgRebuild>},
      {"IMG VERIFY", M::kWhole, On<&C::Img, RunImgVerify>},
      {"TERMINATE", M::kWhole, RunTerminate},
      {"IMG DELDUP", M::kWhole, On<&C::Img, RunImgDelDup>},
      {"IMG ADD ", M::kPrefix, On<&C::Img, RunImgAdd>},
      {"IMG ADDALL", M::kWhole, On<&C::Img, RunImgAddAll>},
      {"CLS", M::kWhole, RunCls},
      {"PRINT", M::kWhole, RunPrintBlank},
      {"PRINT ", M::kPrefix, RunPrintText},
      {"DIR CREATE ", M::kPrefix, RunDirCreate},
      {"DIR SELECT ", M::kPrefix, RunDirSelect},
      {"COPY ", M::kPrefix, RunCopyCommand},
      {"COL OPEN ", M::kPrefix, On<&C::Col, RunColOpen>},
      {"COL ADD ", M::kPrefix, On<&C::Col, RunColAdd>},
      {"COL ADDFILE ", M::kPrefix, On<&C::Col, RunColAddFile>},
      {"COL DELETE ", M::kPrefix, On<&C::Col, RunColDelete>},
      {"COL CLOSE", M::kWhole, On<&C::Col, RunColClose>},
      {"IPL OPEN ", M::kPrefix, On<&C::Ipl, RunIplOpen>},
      {"IPL CREATE ", M::kPrefix, On<&C::Ipl, RunIplCreate>},
      {"IPL ADD INST ", M::kPrefix, On<&C::Ipl, RunIplAdd>, Ipl(P::kInst)},
      {"IPL ADD CULL ", M::kPrefix, On<&C::Ipl, RunIplAdd>, Ipl(P::kCull)},
      {"IPL ADD PATH ", M::kPrefix, On<&C::Ipl, RunIplAdd>, Ipl(P::kPath)},
      {"IPL ADD PICK ", M::kPrefix, On<&C::Ipl, RunIplAdd>, Ipl(P::kPick)},
      {"IPL ADDFILE ", M::kPrefix, On<&C::Ipl, RunIplAddFile>},
      {"IPL DEL ", M::kPrefix, On<&C::Ipl, RunIplDel>},
      {"IPL CLOSE", M::kWhole, On<&C::Ipl, RunIplClose>},
      {"IDE OPEN ", M::kPrefix, OnIde<RunIdeOpen>},
      {"IDE ADD OBJS ", M::kPrefix, OnIde<RunIdeAdd>, Ide(I::kObjs)},
      {"IDE ADD TOBJ ", M::kPrefix, OnIde<RunIdeAdd>, Ide(I::kTobj)},
      {"IDE ADD PATH ", M::kPrefix, OnIde<RunIdeAdd>, Ide(I::kPath)},
      {"IDE ADD 2DFX ", M::kPrefix, OnIde<RunIdeAdd>, Ide(I::k2dfx)},
      {"IDE ADD PEDS ", M::kPrefix, OnIde<RunIdeAdd>, Ide(I::kPeds)},
      {"IDE ADD CARS ", M::kPrefix, OnIde<RunIdeAdd>, Ide(I::kCars)},
      {"IDE ADD WEAP ", M::kPrefix, OnIde<RunIdeAdd>, Ide(I::kWeap)},
      {"IDE ADD HIER ", M::kPrefix, OnIde<RunIdeAdd>, Ide(I::kHier)},
      {"IDE ADDFILE ", M::kPrefix, OnIde<RunIdeAddFile>},
      {"IDE DEL ", M::kPrefix, OnIde<RunIdeDel>},
      {"IDE CLOSE", M::kWhole, OnIde<RunIdeClose>},
      {"GTA_VC.DAT OPEN", M::kWhole, On<&C::GtaVcDat, RunGtaVcDatOpen>},
      {"GTA_VC.DAT CLOSE", M::kWhole, On<&C::GtaVcDat, RunGtaVcDatClose>},
      {"GTA_VC.DAT DEL ", M::kPrefix, On<&C::GtaVcDat, RunGtaVcDatDel>},
      {"GTA_VC.DAT ADD ", M::kPrefix, On<&C::GtaVcDat, RunGtaVcDatAdd>},
      {"OBJECT.DAT OPEN", M::kWhole, On<&C::ObjectDat, RunObjectDatOpen>},
      {"OBJECT.DAT CLOSE", M::kWhole, On<&C::ObjectDat, RunObjectDatClose>},
      {"OBJECT.DAT DEL ", M::kPrefix, On<&C::ObjectDat, RunObjectDatDel>},
      {"OBJECT.DAT ADD ", M::kPrefix, On<&C::ObjectDat, RunObjectDatAdd>},
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
    if (!Matches(entry, ctx.ScriptLine)) continue;
    ctx.CommandRecognised = true;
    const Command command{ArgumentOf(entry, ctx.ScriptLine), entry.section};
    QUARN_RETURN_IF_ENDED(entry.handler(ctx, command));
  }
  if (ctx.CommandRecognised) return CommandResult::kContinue;
  return Fail(ctx, "Unknown command: " + ctx.ScriptLine);
}

}  // namespace quarn
