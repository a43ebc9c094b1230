#include "img/img_rebuild.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "img/img_data_copy.h"
#include "img/img_paths.h"
#include "img/img_rebuild_plan.h"
#include "img/img_required_open.h"
#include "text/numbers.h"

namespace quarn {
namespace {

// The game's two files, and the new versions written beside them first.
struct RebuildPaths {
  explicit RebuildPaths(const std::string& game_path)
      : dir(game_path + kImgDirFile),
        img(game_path + kImgArchiveFile),
        new_dir(dir + ".new"),
        new_img(img + ".new") {}

  std::string dir;
  std::string img;
  std::string new_dir;
  std::string new_img;
};

// One rebuild in progress: what it writes into, and the one copy buffer.
struct Rebuild {
  RunContext& ctx;
  ImgDirectory& img;
  const RebuildPaths& paths;
  const ImgRebuildPlan& plan;
  File* target = nullptr;  // the archive itself, or its new version
  std::string target_path;
  std::vector<uint8_t> buffer;
  bool target_touched = false;  // a byte of the target may have changed
};

// Every queued file in the order it is written: other files, then textures.
std::vector<const PendingAdd*> QueueInWriteOrder(const ImgPendingAdds& adds) {
  std::vector<const PendingAdd*> order;
  for (const PendingAdd& add : adds.Others) order.push_back(&add);
  for (const PendingAdd& add : adds.Textures) order.push_back(&add);
  return order;
}

std::string SourcePath(const PendingAdd& add) {
  return add.SourceFolder + add.Name;
}

// A queued file's line as the filling-in writes it, with `outcome` after it.
CommandResult FailQueuedFile(RunContext& ctx, const PendingAdd& add,
                             const std::string& outcome) {
  ctx.Log.LogText(add.Name + " ... ");
  return Fail(ctx, outcome);
}

// Every queued file must open and hold bytes before anything changes, so a
// bad one costs nothing. Its line reads as the filling-in would write it.
CommandResult CheckQueuedFiles(RunContext& ctx,
                               const std::vector<const PendingAdd*>& order,
                               std::vector<ImgQueuedFile>* queued) {
  for (const PendingAdd* add : order) {
    const std::string path = SourcePath(*add);
    std::unique_ptr<File> file = ctx.Fs.Open(path, OpenMode::kRead, nullptr);
    uint64_t length = 0;
    if (!file) return FailQueuedFile(ctx, *add, "Can't access file: " + path);
    if (!file->Length(&length)) {
      return FailQueuedFile(ctx, *add, "Can't read " + path);
    }
    if (length == 0) return FailQueuedFile(ctx, *add, "null file");
    queued->push_back({add->Name, static_cast<int64_t>(length)});
  }
  return CommandResult::kContinue;
}

std::string DescribeProblem(const ImgRebuildPlan& plan,
                            const RebuildPaths& paths) {
  const std::string entry = plan.problem_entry.empty()
                                ? std::string("a nameless entry")
                                : plan.problem_entry;
  switch (plan.problem) {
    case ImgPlanProblem::kTooLarge:
      return "Can't rebuild " + paths.img + ": it would reach 2 GB";
    case ImgPlanProblem::kBadEntry:
      return ".DIR file corrupt. Invalid entry: " + entry;
    case ImgPlanProblem::kDataMissing:
      return "Can't read " + entry + " from " + paths.img +
             ": its data lies beyond the end of the file";
    case ImgPlanProblem::kTooManyEntries:
      return "Can't rebuild " + paths.img + ": the directory would hold " +
             FormatSigned(static_cast<int64_t>(plan.records.size())) +
             " entries (at most " + std::to_string(kImgDirectoryCapacity) + ")";
    case ImgPlanProblem::kNone:
      break;
  }
  return std::string();
}

// Writes the new directory beside the old one and puts it on the disk; it
// replaces the old one only at the very end, so the game never lacks a
// directory.
CommandResult WriteNewDirectory(RunContext& ctx,
                                const std::vector<ImgEntry>& records,
                                const std::string& path) {
  std::unique_ptr<File> file = ctx.Fs.Open(path, OpenMode::kCreate, nullptr);
  if (!file) return Fail(ctx, "Can't access " + path);
  std::vector<uint8_t> bytes(records.size() * kImgRecordSize);
  for (size_t i = 0; i < records.size(); ++i) {
    std::memcpy(&bytes[i * kImgRecordSize], records[i].bytes, kImgRecordSize);
  }
  if ((!bytes.empty() && !file->WriteAt(0, bytes.data(), bytes.size())) ||
      !file->Flush()) {
    file.reset();
    ctx.Fs.RemoveFile(path);
    return Fail(ctx, "Can't write " + path);
  }
  return CommandResult::kContinue;
}

// Says plainly that the archive no longer matches its directory, so the
// player knows the backup is needed before the game is started.
void WarnArchiveChanged(RunContext& ctx, const RebuildPaths& paths) {
  ctx.Log.LogLine("WARNING: " + paths.img +
                  " was changed part-way and no longer matches " + paths.dir +
                  "; restore both from the backup");
}

bool ReportCopyFailure(Rebuild& r, TransferOutcome outcome,
                       const std::string& source_path) {
  if (outcome == TransferOutcome::kReadFailed) {
    r.ctx.Log.LogLine("Can't read " + source_path);
  } else {
    r.ctx.Log.LogLine("Can't write " + r.target_path);
  }
  return false;
}

// A kept entry moves inside the archive itself, or is copied into the new
// one.
TransferOutcome PutKeptEntry(Rebuild& r, const ImgDataMove& move,
                             int64_t* written) {
  File& archive = *r.img.ImgFile;
  if (r.plan.in_place) {
    return MoveData(archive, move.from, move.to, move.length, written);
  }
  return CopyData(archive, move.from, *r.target, move.to, move.length,
                  &r.buffer, written);
}

// A file that keeps what it needs to undo the moves learns them all first.
bool AnnounceMoves(Rebuild& r) {
  if (!r.plan.in_place || r.plan.moves.empty()) return true;
  std::vector<ByteMove> moves;
  for (const ImgDataMove& move : r.plan.moves) {
    moves.push_back({static_cast<uint64_t>(move.from),
                     static_cast<uint64_t>(move.to),
                     static_cast<uint64_t>(move.length)});
  }
  if (r.img.ImgFile->ExpectMoves(moves)) return true;
  r.ctx.Log.LogLine("Can't write " + r.target_path);
  return false;
}

bool MoveKeptData(Rebuild& r) {
  if (!AnnounceMoves(r)) return false;
  for (const ImgDataMove& move : r.plan.moves) {
    int64_t written = 0;
    const TransferOutcome outcome = PutKeptEntry(r, move, &written);
    r.target_touched = r.target_touched || written > 0 ||
                       outcome == TransferOutcome::kWriteFailed;
    if (outcome != TransferOutcome::kDone) {
      return ReportCopyFailure(r, outcome, r.paths.img);
    }
  }
  return true;
}

// Copies one queued file to its place; the rest of its last sector becomes
// zeros, never old archive bytes.
bool FillIn(Rebuild& r, const PendingAdd& add,
            const ImgPlannedAddition& where) {
  RunContext& ctx = r.ctx;
  const std::string path = SourcePath(add);
  ctx.Log.LogText(add.Name + " ... ");
  std::unique_ptr<File> source = ctx.Fs.Open(path, OpenMode::kRead, nullptr);
  if (!source) {
    ctx.Log.LogLine("Can't access file: " + path);
    return false;
  }
  uint64_t length = 0;
  if (!source->Length(&length) ||
      length != static_cast<uint64_t>(where.length)) {
    ctx.Log.LogLine("Can't read " + path);
    return false;
  }
  const TransferOutcome outcome =
      CopyData(*source, 0, *r.target, where.position, where.length, &r.buffer);
  if (outcome != TransferOutcome::kDone) {
    return ReportCopyFailure(r, outcome, path);
  }
  if (!WriteZeros(*r.target, where.position + where.length,
                  where.padded_length - where.length)) {
    ctx.Log.LogLine("Can't write " + r.target_path);
    return false;
  }
  ctx.Log.LogLine("ok");
  if (ctx.ArchiveEntryWritten) ctx.ArchiveEntryWritten(add.Name);
  return true;
}

// How far writing the archive got.
enum class ArchiveOutcome {
  kWritten,     // everything is in place
  kMoveFailed,  // a move of kept data failed part-way
  // Every kept entry was moved; a queued file, the cut or the flush failed.
  kFillFailed,
};

ArchiveOutcome WriteArchive(Rebuild& r,
                            const std::vector<const PendingAdd*>& order) {
  if (!MoveKeptData(r)) return ArchiveOutcome::kMoveFailed;
  r.ctx.Log.LogLine("Filling in objects...");
  for (size_t n = 0; n < order.size(); ++n) {
    if (!FillIn(r, *order[n], r.plan.additions[n])) {
      return ArchiveOutcome::kFillFailed;
    }
  }
  // The archive's bytes reach the disk before a directory describes them.
  if (!r.target->Resize(static_cast<uint64_t>(r.plan.archive_length)) ||
      !r.target->Flush()) {
    r.ctx.Log.LogLine("Can't write " + r.target_path);
    return ArchiveOutcome::kFillFailed;
  }
  return ArchiveOutcome::kWritten;
}

// Replaces the game's directory by the one written beside it. The archive
// files must be closed first: an open file cannot be replaced on Windows.
bool ReplaceDirectory(RunContext& ctx, ImgDirectory& img,
                      const RebuildPaths& paths) {
  img.CloseFiles();
  // On failure the new directory stays beside the old one: it is the only
  // description of the archive just written.
  if (!ctx.Fs.RenameOver(paths.new_dir, paths.dir)) {
    ctx.Log.LogLine("Can't access " + paths.dir);
    return false;
  }
  return true;
}

// The kept entries already lie in their new places when only a queued file
// or the final cut failed: a directory without the queued files describes
// the archive as it now is, so the game keeps every entry it had.
void RecreateWithoutAdditions(RunContext& ctx, ImgDirectory& img,
                              const RebuildPaths& paths,
                              const ImgRebuildPlan& plan) {
  const std::vector<ImgEntry> kept(
      plan.records.begin(),
      plan.records.end() - static_cast<std::ptrdiff_t>(plan.additions.size()));
  ctx.Log.LogLine("- recreating without the new objects: " + paths.dir);
  if (EndsRun(WriteNewDirectory(ctx, kept, paths.new_dir)) ||
      !ReplaceDirectory(ctx, img, paths)) {
    WarnArchiveChanged(ctx, paths);
  }
}

// Puts the new files in the old ones' places. The archive files must be
// closed first: an open file cannot be replaced on Windows.
bool ReplaceGameFiles(RunContext& ctx, ImgDirectory& img,
                      const RebuildPaths& paths,
                      std::unique_ptr<File> new_archive) {
  img.CloseFiles();
  if (new_archive) {
    new_archive.reset();
    if (!ctx.Fs.RenameOver(paths.new_img, paths.img)) {
      ctx.Fs.RemoveFile(paths.new_img);
      ctx.Fs.RemoveFile(paths.new_dir);
      ctx.Log.LogLine("Can't access " + paths.img);
      return false;
    }
  }
  // The archive is the new one by now, so the old directory no longer
  // describes it.
  if (!ReplaceDirectory(ctx, img, paths)) {
    WarnArchiveChanged(ctx, paths);
    return false;
  }
  return true;
}

// A file of the name the rebuild writes beside the game's files belongs to
// someone else: it is never overwritten or deleted.
CommandResult RequireFreeTemporaryFiles(RunContext& ctx,
                                        const RebuildPaths& paths,
                                        bool in_place) {
  for (const std::string* path : {&paths.new_dir, &paths.new_img}) {
    if (path == &paths.new_img && in_place) continue;
    if (ctx.Fs.AttributesOf(*path) != kNoSuchFile) {
      return Fail(ctx, "Can't rebuild: " + *path + " already exists");
    }
  }
  return CommandResult::kContinue;
}

}  // namespace

CommandResult RunImgRebuild(RunContext& ctx, ImgDirectory& img,
                            const Command&) {
  QUARN_RETURN_IF_ENDED(RequireOpenImg(ctx, img));
  ctx.Log.LogLine("Rebuilding IMG...");

  const RebuildPaths paths(img.GameFolder);
  const std::vector<const PendingAdd*> order =
      QueueInWriteOrder(img.PendingAdds);
  std::vector<ImgQueuedFile> queued;
  QUARN_RETURN_IF_ENDED(CheckQueuedFiles(ctx, order, &queued));

  uint64_t archive_length = 0;
  if (!img.ImgFile->Length(&archive_length)) {
    return Fail(ctx, "Can't read " + paths.img);
  }
  ImgRebuildPlan plan =
      PlanImgRebuild(img.Entries, queued, static_cast<int64_t>(archive_length));
  if (plan.problem != ImgPlanProblem::kNone) {
    return Fail(ctx, DescribeProblem(plan, paths));
  }
  QUARN_RETURN_IF_ENDED(RequireFreeTemporaryFiles(ctx, paths, plan.in_place));
  QUARN_RETURN_IF_ENDED(WriteNewDirectory(ctx, plan.records, paths.new_dir));

  std::unique_ptr<File> new_archive;
  if (!plan.in_place) {
    new_archive = ctx.Fs.Open(paths.new_img, OpenMode::kCreate, nullptr);
    if (!new_archive) {
      ctx.Fs.RemoveFile(paths.new_dir);
      return Fail(ctx, "Can't access " + paths.new_img);
    }
  }
  Rebuild r{ctx,
            img,
            paths,
            plan,
            plan.in_place ? img.ImgFile.get() : new_archive.get(),
            plan.in_place ? paths.img : paths.new_img,
            {},
            false};
  const ArchiveOutcome outcome = WriteArchive(r, order);
  if (outcome != ArchiveOutcome::kWritten) {
    ctx.Fs.RemoveFile(paths.new_dir);
    if (new_archive) {
      // The game's own archive was only read: it still matches its
      // directory.
      new_archive.reset();
      ctx.Fs.RemoveFile(paths.new_img);
    } else if (outcome == ArchiveOutcome::kFillFailed) {
      RecreateWithoutAdditions(ctx, img, paths, plan);
    } else if (r.target_touched) {
      WarnArchiveChanged(ctx, paths);
    }
    // The failed step has said what failed, before the tidying up.
    return CommandResult::kEndRun;
  }

  ctx.Log.LogLine("- objects deleted (or replaced): " +
                  FormatSigned(plan.reclaimed));
  ctx.Log.LogLine("- recreating: " + paths.dir);
  if (!ReplaceGameFiles(ctx, img, paths, std::move(new_archive))) {
    return CommandResult::kEndRun;  // it has said what failed
  }

  img.Entries = std::move(plan.records);
  img.IsOpen = false;
  img.PendingAdds = ImgPendingAdds();
  ctx.Log.LogLine("Rebuilding done");
  return CommandResult::kContinue;
}

}  // namespace quarn
