#include "undo/journal_undo.h"

#include <algorithm>
#include <memory>
#include <set>

#include "platform/file_contents.h"
#include "platform/game_file.h"
#include "text/ascii.h"
#include "undo/change_log.h"
#include "undo/content_hash.h"
#include "undo/fingerprint.h"
#include "undo/journal_folder.h"

namespace quarn {
namespace {

constexpr uint32_t kSettableAttributes =
    kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;
constexpr size_t kCopyChunkBytes = size_t{4} << 20;

std::vector<ChangeRecord> ReadEntryChanges(FileSystem& fs,
                                           const std::string& game,
                                           int number) {
  std::unique_ptr<File> log =
      fs.Open(EntryFolderOf(game, number) + kChangeLogFileName, OpenMode::kRead,
              nullptr);
  return log ? ReadChangeLog(*log) : std::vector<ChangeRecord>();
}

// One entry being put back: the file system, its change log and the
// report.
struct Undoing {
  FileSystem& fs;
  File* log;  // null for an entry that never made its log
  std::string problem;
  std::vector<uint8_t> buffer;

  bool Fail(const std::string& path, const std::string& what) {
    problem = "can't " + what + " " + path;
    const FsError error = fs.LastError();
    if (!error.reason.empty()) problem += ": " + error.reason;
    return false;
  }

  // Copies the record's saved bytes into `file` at `offset`.
  bool CopySaved(const ChangeRecord& record, File& file, uint64_t offset) {
    buffer.resize(kCopyChunkBytes);
    for (uint64_t done = 0; done < record.data_length;) {
      const size_t step = static_cast<size_t>(
          std::min<uint64_t>(record.data_length - done, kCopyChunkBytes));
      size_t got = 0;
      if (!log->ReadAt(record.data_at + done, buffer.data(), step, &got) ||
          got != step || !file.WriteAt(offset + done, buffer.data(), step)) {
        return false;
      }
      done += step;
    }
    return true;
  }

  // Opens `path` for writing even where the change undone since made it
  // read-only; its attributes are put back after `change`.
  template <typename Change>
  bool ChangeFile(const std::string& path, Change change) {
    const uint32_t attributes = fs.AttributesOf(path);
    if (attributes == kNoSuchFile || (attributes & kAttrDirectory) != 0) {
      return Fail(path, "find the file");
    }
    const bool read_only = (attributes & kAttrReadOnly) != 0;
    if (read_only && !fs.SetAttributes(path, attributes & ~kAttrReadOnly &
                                                 kSettableAttributes)) {
      return Fail(path, "make writable");
    }
    std::unique_ptr<File> file = fs.Open(path, OpenMode::kReadWrite, nullptr);
    const bool changed = file && change(*file) && file->Flush();
    file.reset();
    if (read_only) fs.SetAttributes(path, attributes & kSettableAttributes);
    if (!changed && problem.empty()) Fail(path, "write");
    return changed;
  }

  bool RemoveCreated(const ChangeRecord& record) {
    const uint32_t attributes = fs.AttributesOf(record.path);
    if (attributes == kNoSuchFile) return true;
    if ((attributes & kAttrDirectory) != 0) {
      return fs.RemoveFolder(record.path) || Fail(record.path, "remove");
    }
    if ((attributes & kSettableAttributes) != 0) {
      fs.SetAttributes(record.path, 0);
    }
    return fs.RemoveFile(record.path) || Fail(record.path, "remove");
  }

  bool PutContentBack(const ChangeRecord& record) {
    const uint32_t now = fs.AttributesOf(record.path);
    if (record.folder) {
      if (now == kNoSuchFile && !fs.MakeFolder(record.path)) {
        return Fail(record.path, "make the folder");
      }
      fs.SetAttributes(record.path, record.attributes & kSettableAttributes);
      return true;
    }
    if (now != kNoSuchFile && (now & kSettableAttributes) != 0) {
      fs.SetAttributes(record.path, 0);
    }
    std::unique_ptr<File> file =
        fs.Open(record.path, OpenMode::kCreate, nullptr);
    if (!file || !CopySaved(record, *file, 0) || !file->Flush()) {
      return Fail(record.path, "write");
    }
    file.reset();
    return fs.SetAttributes(record.path,
                            record.attributes & kSettableAttributes) ||
           Fail(record.path, "set the attributes of");
  }

  bool PutAttributesBack(const ChangeRecord& record) {
    if (fs.AttributesOf(record.path) == kNoSuchFile) return true;
    return fs.SetAttributes(record.path,
                            record.attributes & kSettableAttributes) ||
           Fail(record.path, "set the attributes of");
  }

  // Each piece is found by its hash at its old place (never moved, or
  // moved back already) or at its new one; the last to move goes back
  // first, so that no piece lands on one not yet back.
  bool MovePiecesBack(File& file, const ChangeRecord& record) {
    for (auto piece = record.pieces.rbegin(); piece != record.pieces.rend();
         ++piece) {
      uint64_t hash = 0;
      if (HashFileRange(file, piece->from, piece->length, &buffer, &hash) &&
          hash == piece->hash) {
        continue;
      }
      if (!HashFileRange(file, piece->to, piece->length, &buffer, &hash) ||
          hash != piece->hash) {
        problem = "can't find the bytes moved from byte " +
                  std::to_string(piece->from) + " of " + record.path;
        return false;
      }
      if (file.MoveBytes(piece->to, piece->from, piece->length, nullptr) !=
          TransferOutcome::kDone) {
        return Fail(record.path, "move bytes back in");
      }
    }
    return true;
  }

  bool Apply(const ChangeRecord& record) {
    // A failure's reason must be this record's, not an earlier query's.
    fs.ClearLastError();
    switch (record.kind) {
      case ChangeKind::kCreated:
        return RemoveCreated(record);
      case ChangeKind::kContent:
        return PutContentBack(record);
      case ChangeKind::kAttributes:
        return PutAttributesBack(record);
      case ChangeKind::kBytes:
        return ChangeFile(record.path, [&](File& file) {
          return CopySaved(record, file, record.offset);
        });
      case ChangeKind::kLength:
        return ChangeFile(record.path, [&](File& file) {
          return file.Resize(record.offset);
        });
      case ChangeKind::kMoves:
        return ChangeFile(record.path, [&](File& file) {
          return MovePiecesBack(file, record);
        });
    }
    problem = "unknown change record for " + record.path;
    return false;
  }
};

size_t ReadProgress(FileSystem& fs, const std::string& path) {
  std::string text;
  if (!ReadWholeFile(fs, path, &text)) return 0;
  size_t done = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    done = done * 10 + static_cast<size_t>(c - '0');
  }
  return done;
}

// Whole and on the disk before the next record is put back, so that an
// undo stopped half-way goes on where it stopped.
bool WriteProgress(FileSystem& fs, const std::string& path, size_t done) {
  return ReplaceWholeFile(fs, path, std::to_string(done) + "\r\n");
}

void Note(std::vector<UndonePath>* undone, const std::string& path) {
  for (const UndonePath& known : *undone) {
    if (EqualsIgnoringCase(known.path, path)) return;
  }
  undone->push_back({path, false});
}

}  // namespace

std::vector<std::string> ChangedSinceInstall(
    FileSystem& fs, const std::string& game,
    const std::vector<JournalEntry>& newest_first) {
  std::set<std::string> seen;
  std::vector<std::string> changed;
  for (const JournalEntry& entry : newest_first) {
    if (entry.end == EntryEnd::kUnfinished) {
      for (const ChangeRecord& record :
           ReadEntryChanges(fs, game, entry.number)) {
        seen.insert(ToUpperAscii(record.path));
      }
      continue;
    }
    for (const Fingerprint& print : entry.fingerprints) {
      if (!seen.insert(ToUpperAscii(print.path)).second) continue;
      if (TakeFingerprint(fs, print.path) != print) {
        changed.push_back(print.path);
      }
    }
  }
  return changed;
}

bool UndoEntry(FileSystem& fs, const std::string& game,
               const JournalEntry& entry, std::vector<UndonePath>* undone,
               std::string* problem) {
  const std::string folder = EntryFolderOf(game, entry.number);
  const std::string progress = folder + kUndoneFileName;
  std::unique_ptr<File> log =
      fs.Open(folder + kChangeLogFileName, OpenMode::kRead, nullptr);
  std::vector<ChangeRecord> records;
  if (log) records = ReadChangeLog(*log);
  Undoing undoing{fs, log.get(), std::string(), {}};
  const size_t already = std::min(ReadProgress(fs, progress), records.size());
  for (size_t done = already; done < records.size(); ++done) {
    const ChangeRecord& record = records[records.size() - 1 - done];
    // A temporary file made and renamed away in one step is nothing to
    // report.
    if (record.kind != ChangeKind::kCreated ||
        fs.AttributesOf(record.path) != kNoSuchFile) {
      Note(undone, record.path);
    }
    if (!undoing.Apply(record)) {
      *problem = undoing.problem;
      return false;
    }
    if (!WriteProgress(fs, progress, done + 1)) {
      *problem = "can't write " + progress;
      return false;
    }
  }
  for (UndonePath& path : *undone) {
    path.removed = fs.AttributesOf(path.path) == kNoSuchFile;
  }
  log.reset();
  if (!RemoveJournalEntry(fs, game, entry.number)) {
    *problem = "can't remove the journal entry " + folder;
    return false;
  }
  return true;
}

}  // namespace quarn
