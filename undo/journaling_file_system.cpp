#include "undo/journaling_file_system.h"

#include <algorithm>
#include <limits>

#include "platform/engine_path.h"
#include "platform/folder_lock.h"
#include "text/ascii.h"
#include "undo/byte_ranges.h"
#include "undo/content_hash.h"
#include "undo/fingerprint.h"
#include "undo/journal_folder.h"

namespace quarn {

namespace {

// The key the journals of game folder `game` go by: upper-cased, ending in
// a backslash.
std::string GameKey(const EnginePath& game) {
  return WithTrailingBackslash(game.Key());
}

constexpr uint64_t kEndOfFile = std::numeric_limits<uint64_t>::max();

bool Overlap(uint64_t a, uint64_t a_length, uint64_t b, uint64_t b_length) {
  return a < b + b_length && b < a + a_length;
}

// How many pieces `move` is cut into, and the `n`th of them in the order
// they move: none longer than the shift, so that writing one cannot
// overwrite its own old place; downwards front to back, upwards back to
// front, as the bytes move.
uint64_t PieceCount(const ByteMove& move) {
  if (move.from == move.to || move.length == 0) return 0;
  const uint64_t shift =
      move.to > move.from ? move.to - move.from : move.from - move.to;
  const uint64_t size = std::min(shift, move.length);
  return (move.length + size - 1) / size;
}

MovedPiece PieceOf(const ByteMove& move, uint64_t n) {
  const uint64_t shift =
      move.to > move.from ? move.to - move.from : move.from - move.to;
  const uint64_t size = std::min(shift, move.length);
  const uint64_t count = PieceCount(move);
  const uint64_t k = move.to < move.from ? n : count - 1 - n;
  const uint64_t skip = k * size;
  return {move.from + skip, move.to + skip, std::min(size, move.length - skip),
          0};
}

// The moves as pieces that undo can find again by their hash, each at its
// old or at its new place, whenever the run stops; false, when a move's
// target overlaps the source or target of a later move, or two sources
// overlap: then no such pieces exist.
bool SplitIntoPieces(const std::vector<ByteMove>& moves,
                     std::vector<MovedPiece>* pieces) {
  for (size_t i = 0; i < moves.size(); ++i) {
    for (size_t j = i + 1; j < moves.size(); ++j) {
      const ByteMove& a = moves[i];
      const ByteMove& b = moves[j];
      if (Overlap(a.to, a.length, b.from, b.length) ||
          Overlap(a.to, a.length, b.to, b.length) ||
          Overlap(a.from, a.length, b.from, b.length)) {
        return false;
      }
    }
  }
  for (const ByteMove& move : moves) {
    for (uint64_t n = 0; n < PieceCount(move); ++n) {
      pieces->push_back(PieceOf(move, n));
    }
  }
  return true;
}

}  // namespace

struct JournalingFileSystem::PathJournal {
  std::string path;
  /// Created, or saved whole, by this entry: undo needs nothing more.
  bool answered = false;
  bool attributes_saved = false;
  bool length_saved = false;
  /// The bytes whose state before this entry the log already answers for.
  ByteRanges known;
  /// Moves announced and not all made yet.
  std::vector<ByteMove> expected;
  size_t next_move = 0;
};

struct JournalingFileSystem::GameJournal {
  std::string folder;  // engine form, ending in a backslash
  std::string key;     // upper-cased, ending in a backslash
  std::unique_ptr<FolderLock> lock;
  JournalRefusal refusal = JournalRefusal::kNone;
  int run = 0;  // the first entry this run made here
  JournalEntry entry;
  bool entry_open = false;
  bool ended = false;  // EndMod has written the entry's end
  bool changed_after_end = false;
  std::unique_ptr<ChangeLogWriter> log;
  std::map<std::string, PathJournal> paths;  // by key
  std::vector<std::string> order;            // keys, first change first
};

struct JournalingFileSystem::Target {
  GameJournal* game = nullptr;  // null: not journaled
  PathJournal* path = nullptr;  // set by Prepare
  std::string text;             // absolute, engine form
  std::string key;
};

// A file opened through the journal: its changes are journaled as they come.
class JournaledFile : public File {
 public:
  JournaledFile(JournalingFileSystem& fs, std::unique_ptr<File> inner,
                std::string text, std::string key)
      : fs_(fs),
        inner_(std::move(inner)),
        text_(std::move(text)),
        key_(std::move(key)) {
    fs_.open_files_[key_] = inner_.get();
  }
  ~JournaledFile() override { fs_.open_files_.erase(key_); }

  bool ReadAt(uint64_t offset, void* data, size_t size, size_t* got) override {
    return inner_->ReadAt(offset, data, size, got);
  }
  bool Length(uint64_t* length) override { return inner_->Length(length); }
  bool Flush() override { return inner_->Flush(); }

  bool WriteAt(uint64_t offset, const void* data, size_t size) override {
    JournalingFileSystem::Target target = Prepared();
    if (refused_) return false;
    if (target.game != nullptr && !target.path->answered) {
      AbandonMoves(*target.path);
      if (!SaveBytes(target, offset, offset + size)) return false;
    }
    return inner_->WriteAt(offset, data, size);
  }

  bool Resize(uint64_t length) override {
    JournalingFileSystem::Target target = Prepared();
    if (refused_) return false;
    if (target.game != nullptr && !target.path->answered) {
      AbandonMoves(*target.path);
      if (!SaveBytes(target, length, kEndOfFile)) return false;
    }
    return inner_->Resize(length);
  }

  TransferOutcome MoveBytes(uint64_t from, uint64_t to, uint64_t length,
                            uint64_t* written) override;
  bool ExpectMoves(const std::vector<ByteMove>& moves) override;

 private:
  // The journal of this file in the current entry; `game` is null when the
  // file is not journaled, or when the journal refused (then `refused_`).
  JournalingFileSystem::Target Prepared() {
    JournalingFileSystem::Target target = fs_.Resolve(text_);
    refused_ = target.game != nullptr && !fs_.Prepare(&target);
    if (refused_) target.game = nullptr;
    return target;
  }

  bool SaveLength(JournalingFileSystem::Target& target, uint64_t* length);
  bool AppendBytes(JournalingFileSystem::Target& target,
                   const std::vector<ByteRange>& ranges);
  bool SaveBytes(JournalingFileSystem::Target& target, uint64_t begin,
                 uint64_t end);
  void AbandonMoves(JournalingFileSystem::PathJournal& path);
  TransferOutcome MovePlanned(const ByteMove& move, uint64_t* written);

  JournalingFileSystem& fs_;
  std::unique_ptr<File> inner_;
  std::string text_;
  std::string key_;
  bool refused_ = false;
};

// The file's length before the entry's first change of it is the first
// thing recorded; bytes past it were never the game's.
bool JournaledFile::SaveLength(JournalingFileSystem::Target& target,
                               uint64_t* length) {
  if (!inner_->Length(length)) return false;
  JournalingFileSystem::PathJournal& path = *target.path;
  if (path.length_saved) return true;
  ChangeRecord record;
  record.kind = ChangeKind::kLength;
  record.path = target.text;
  record.offset = *length;
  if (!fs_.Record(*target.game, record, nullptr, 0, true)) return false;
  path.length_saved = true;
  path.known.Add(*length, kEndOfFile);
  return true;
}

// Appends what `ranges` of the file hold now to the log, not yet flushed.
bool JournaledFile::AppendBytes(JournalingFileSystem::Target& target,
                                const std::vector<ByteRange>& ranges) {
  for (const ByteRange& range : ranges) {
    ChangeRecord record;
    record.kind = ChangeKind::kBytes;
    record.path = target.text;
    record.offset = range.begin;
    record.data_length = range.end - range.begin;
    if (!fs_.Record(*target.game, record, inner_.get(), range.begin, false)) {
      return false;
    }
  }
  return true;
}

// Saves what [begin, end) holds now where the log does not answer for it
// yet, and puts it on the disk.
bool JournaledFile::SaveBytes(JournalingFileSystem::Target& target,
                              uint64_t begin, uint64_t end) {
  uint64_t length = 0;
  if (!SaveLength(target, &length)) return false;
  JournalingFileSystem::PathJournal& path = *target.path;
  const std::vector<ByteRange> missing =
      path.known.Missing(begin, std::min(end, length));
  if (!AppendBytes(target, missing)) return false;
  if (!missing.empty() && !target.game->log->Flush()) return false;
  path.known.Add(begin, end);
  return true;
}

// Moves announced but left unmade lose their claim: the bytes they were to
// move or reach must be saved again before any other change.
void JournaledFile::AbandonMoves(JournalingFileSystem::PathJournal& path) {
  for (const ByteMove& move : path.expected) {
    path.known.Remove(move.from, move.from + move.length);
    path.known.Remove(move.to, move.to + move.length);
  }
  path.expected.clear();
  path.next_move = 0;
}

bool JournaledFile::ExpectMoves(const std::vector<ByteMove>& moves) {
  JournalingFileSystem::Target target = Prepared();
  if (refused_) return false;
  if (target.game == nullptr || target.path->answered) return true;
  AbandonMoves(*target.path);
  std::vector<MovedPiece> pieces;
  // Moves that undo could not find again are journaled one by one instead.
  if (!SplitIntoPieces(moves, &pieces)) return true;
  uint64_t length = 0;
  if (!SaveLength(target, &length)) return false;
  std::vector<uint8_t> buffer;
  for (MovedPiece& piece : pieces) {
    if (!HashFileRange(*inner_, piece.from, piece.length, &buffer,
                       &piece.hash)) {
      return false;
    }
  }
  // Bytes the moves overwrite that no piece carries (deleted entries, gaps)
  // are saved as they are.
  JournalingFileSystem::PathJournal& path = *target.path;
  ByteRanges overwritten;
  for (const ByteMove& move : moves) {
    overwritten.Add(move.to, move.to + move.length);
  }
  for (const ByteMove& move : moves) {
    overwritten.Remove(move.from, move.from + move.length);
  }
  for (const ByteRange& range : overwritten.Ranges()) {
    if (!AppendBytes(target, path.known.Missing(range.begin,
                                                std::min(range.end, length)))) {
      return false;
    }
  }
  ChangeRecord record;
  record.kind = ChangeKind::kMoves;
  record.path = target.text;
  record.pieces = std::move(pieces);
  if (!fs_.Record(*target.game, record, nullptr, 0, true)) return false;
  path.expected = moves;
  path.next_move = 0;
  return true;
}

// A downward move runs front to back as it always does: each piece then
// lies whole at its old or its new place at every moment. An upward one is
// made piece by piece from the back, for the same reason.
TransferOutcome JournaledFile::MovePlanned(const ByteMove& move,
                                           uint64_t* written) {
  if (move.to <= move.from) {
    return inner_->MoveBytes(move.from, move.to, move.length, written);
  }
  uint64_t done = 0;
  for (uint64_t n = 0; n < PieceCount(move); ++n) {
    const MovedPiece piece = PieceOf(move, n);
    uint64_t piece_written = 0;
    const TransferOutcome outcome =
        inner_->MoveBytes(piece.from, piece.to, piece.length, &piece_written);
    done += piece_written;
    if (written != nullptr) *written = done;
    if (outcome != TransferOutcome::kDone) return outcome;
  }
  return TransferOutcome::kDone;
}

TransferOutcome JournaledFile::MoveBytes(uint64_t from, uint64_t to,
                                         uint64_t length, uint64_t* written) {
  if (written != nullptr) *written = 0;
  JournalingFileSystem::Target target = Prepared();
  if (refused_) return TransferOutcome::kWriteFailed;
  if (target.game == nullptr || target.path->answered) {
    return inner_->MoveBytes(from, to, length, written);
  }
  JournalingFileSystem::PathJournal& path = *target.path;
  if (path.next_move < path.expected.size()) {
    const ByteMove& next = path.expected[path.next_move];
    if (next.from == from && next.to == to && next.length == length) {
      const TransferOutcome outcome = MovePlanned(next, written);
      if (outcome != TransferOutcome::kDone) {
        AbandonMoves(path);
        return outcome;
      }
      if (++path.next_move == path.expected.size()) {
        // Every piece is at its new place: what its old place holds now no
        // longer matters to undo, and its new place must not change unsaved.
        for (const ByteMove& move : path.expected) {
          path.known.Add(move.from, move.from + move.length);
        }
        for (const ByteMove& move : path.expected) {
          path.known.Remove(move.to, move.to + move.length);
        }
        path.expected.clear();
        path.next_move = 0;
      }
      return outcome;
    }
  }
  AbandonMoves(path);
  if (!SaveBytes(target, to, to + length)) {
    return TransferOutcome::kWriteFailed;
  }
  return inner_->MoveBytes(from, to, length, written);
}

JournalingFileSystem::JournalingFileSystem(FileSystem& target,
                                           std::function<std::string()> clock)
    : FileSystemWrapper(target), clock_(std::move(clock)) {}

JournalingFileSystem::~JournalingFileSystem() { Finish(); }

void JournalingFileSystem::FollowGameFolder(
    std::function<std::string()> game_folder) {
  game_folder_ = std::move(game_folder);
}

JournalingFileSystem::Target JournalingFileSystem::Resolve(
    const std::string& path) {
  Target target;
  const std::string current = FileSystemWrapper::CurrentFolder();
  const EnginePath parsed = ParseEnginePath(path, current);
  target.text = parsed.Text();
  target.key = parsed.Key();
  const std::string game = game_folder_ ? game_folder_() : std::string();
  if (game.empty()) return target;
  GameJournal& journal = JournalOf(ParseEnginePath(game, current));
  if (JournalKeeps(journal.key, target.key)) target.game = &journal;
  return target;
}

JournalingFileSystem::GameJournal& JournalingFileSystem::JournalOf(
    const EnginePath& game) {
  const std::string key = GameKey(game);
  std::unique_ptr<GameJournal>& journal = games_[key];
  if (!journal) {
    journal = std::make_unique<GameJournal>();
    journal->folder = WithTrailingBackslash(game.Text());
    journal->key = key;
  }
  return *journal;
}

JournalRefusal JournalingFileSystem::OpenGame(const std::string& game,
                                              JournalEntry* unfinished) {
  GameJournal* journal =
      &JournalOf(ParseEnginePath(game, FileSystemWrapper::CurrentFolder()));
  if (journal->lock || journal->refusal != JournalRefusal::kNone) {
    return journal->refusal;
  }
  FsStatus status = FsStatus::kOkay;
  journal->lock = FileSystemWrapper::LockFolder(journal->folder, &status);
  if (!journal->lock) {
    journal->refusal = status == FsStatus::kSharingViolation
                           ? JournalRefusal::kLocked
                           : JournalRefusal::kFailed;
    return journal->refusal;
  }
  if (FindUnfinishedEntry(*this, journal->folder, unfinished)) {
    journal->refusal = JournalRefusal::kUnfinished;
    journal->lock.reset();
  }
  return journal->refusal;
}

bool JournalingFileSystem::OpenEntry(GameJournal& game) {
  if (game.entry_open) return true;
  game.entry = JournalEntry();
  game.entry.number = NextEntryNumber(*this, game.folder);
  if (game.run == 0) game.run = game.entry.number;
  game.entry.run = game.run;
  game.entry.installer_dir = mod_.installer_dir;
  game.entry.mod_folder = mod_.mod_folder;
  game.entry.mod_name = mod_.mod_name;
  game.entry.started = clock_ ? clock_() : std::string();
  // The log is made before the entry file, whose replacing puts the
  // folder's names on the disk.
  const std::string log_path =
      EntryFolderOf(game.folder, game.entry.number) + kChangeLogFileName;
  if (!MakeEntryFolder(*this, game.folder, game.entry.number)) return false;
  std::unique_ptr<File> log =
      FileSystemWrapper::Open(log_path, OpenMode::kCreate, nullptr);
  if (!log || !SaveJournalEntry(*this, game.folder, game.entry)) return false;
  game.log = std::make_unique<ChangeLogWriter>(std::move(log), log_path);
  game.entry_open = true;
  game.ended = false;
  game.changed_after_end = false;
  game.paths.clear();
  game.order.clear();
  return true;
}

bool JournalingFileSystem::Prepare(Target* target) {
  GameJournal& game = *target->game;
  if (!game.lock) {
    const JournalRefusal refusal = OpenGame(game.folder, nullptr);
    if (refusal != JournalRefusal::kNone) {
      if (refusal == JournalRefusal::kLocked) {
        errors()->Record(game.folder, kReasonLocked);
      } else if (refusal == JournalRefusal::kUnfinished) {
        errors()->Record(game.folder, kReasonUnfinished);
      }
      return false;
    }
  }
  if (!OpenEntry(game)) return false;
  if (game.ended) game.changed_after_end = true;
  auto found = game.paths.find(target->key);
  if (found == game.paths.end()) {
    found = game.paths.emplace(target->key, PathJournal()).first;
    found->second.path = target->text;
    game.order.push_back(target->key);
  }
  target->path = &found->second;
  return true;
}

bool JournalingFileSystem::Record(GameJournal& game, const ChangeRecord& record,
                                  File* source, uint64_t offset, bool flush) {
  return game.log->Append(record, source, offset) &&
         (!flush || game.log->Flush());
}

File* JournalingFileSystem::OpenFileOf(const std::string& key) {
  const auto found = open_files_.find(key);
  return found == open_files_.end() ? nullptr : found->second;
}

// Before a change that replaces, removes or empties the whole file: what
// was there, or that nothing was.
bool JournalingFileSystem::SaveWholeBefore(Target& target) {
  if (target.game == nullptr) return true;
  if (!Prepare(&target)) return false;
  PathJournal& path = *target.path;
  if (path.answered) return true;
  ChangeRecord record;
  record.path = target.text;
  const uint32_t attributes = FileSystemWrapper::AttributesOf(target.text);
  std::unique_ptr<File> opened;
  File* source = nullptr;
  if (attributes == kNoSuchFile) {
    record.kind = ChangeKind::kCreated;
  } else {
    record.kind = ChangeKind::kContent;
    record.attributes = attributes;
    record.folder = (attributes & kAttrDirectory) != 0;
    if (!record.folder) {
      source = OpenFileOf(target.key);
      if (source == nullptr) {
        opened = FileSystemWrapper::Open(target.text, OpenMode::kRead, nullptr);
        source = opened.get();
      }
      if (source == nullptr || !source->Length(&record.data_length)) {
        return false;
      }
    }
  }
  if (!Record(*target.game, record, source, 0, true)) return false;
  path.answered = true;
  return true;
}

bool JournalingFileSystem::SaveAttributesBefore(Target& target) {
  if (target.game == nullptr) return true;
  if (!Prepare(&target)) return false;
  PathJournal& path = *target.path;
  if (path.answered || path.attributes_saved) return true;
  const uint32_t attributes = FileSystemWrapper::AttributesOf(target.text);
  if (attributes == kNoSuchFile) return true;
  ChangeRecord record;
  record.kind = ChangeKind::kAttributes;
  record.path = target.text;
  record.attributes = attributes;
  if (!Record(*target.game, record, nullptr, 0, true)) return false;
  path.attributes_saved = true;
  return true;
}

bool JournalingFileSystem::SetAttributes(const std::string& path,
                                         uint32_t attributes) {
  Target target = Resolve(path);
  return SaveAttributesBefore(target) &&
         FileSystemWrapper::SetAttributes(path, attributes);
}

std::unique_ptr<File> JournalingFileSystem::Open(const std::string& path,
                                                 OpenMode mode,
                                                 FsStatus* status) {
  Target target = Resolve(path);
  if (target.game == nullptr) {
    return FileSystemWrapper::Open(path, mode, status);
  }
  if (mode == OpenMode::kCreate && !SaveWholeBefore(target)) {
    if (status != nullptr) *status = FsStatus::kOtherError;
    return nullptr;
  }
  std::unique_ptr<File> inner = FileSystemWrapper::Open(path, mode, status);
  if (!inner) return nullptr;
  return std::make_unique<JournaledFile>(*this, std::move(inner), target.text,
                                         target.key);
}

bool JournalingFileSystem::CopyOver(const std::string& from,
                                    const std::string& to) {
  Target target = Resolve(to);
  return SaveWholeBefore(target) && FileSystemWrapper::CopyOver(from, to);
}

bool JournalingFileSystem::RenameOver(const std::string& from,
                                      const std::string& to) {
  Target source = Resolve(from);
  Target target = Resolve(to);
  return SaveWholeBefore(source) && SaveWholeBefore(target) &&
         FileSystemWrapper::RenameOver(from, to);
}

bool JournalingFileSystem::MakeFolder(const std::string& path) {
  Target target = Resolve(path);
  return SaveWholeBefore(target) && FileSystemWrapper::MakeFolder(path);
}

bool JournalingFileSystem::RemoveFile(const std::string& path) {
  Target target = Resolve(path);
  return SaveWholeBefore(target) && FileSystemWrapper::RemoveFile(path);
}

bool JournalingFileSystem::RemoveFolder(const std::string& path) {
  Target target = Resolve(path);
  return SaveWholeBefore(target) && FileSystemWrapper::RemoveFolder(path);
}

// The entries of the mod before end here; the next change opens new ones.
void JournalingFileSystem::BeginMod(const JournaledMod& mod) {
  Finish();
  mod_ = mod;
}

bool JournalingFileSystem::SaveFingerprints(GameJournal& game) {
  game.entry.fingerprints.clear();
  for (const std::string& key : game.order) {
    game.entry.fingerprints.push_back(
        TakeFingerprint(*this, game.paths[key].path, OpenFileOf(key)));
  }
  game.changed_after_end = false;
  return SaveJournalEntry(*this, game.folder, game.entry);
}

bool JournalingFileSystem::EndMod(EntryEnd end) {
  bool saved = true;
  for (auto& game : games_) {
    GameJournal& journal = *game.second;
    if (!journal.entry_open) continue;
    journal.entry.end = end;
    journal.ended = true;
    saved = SaveFingerprints(journal) && saved;
  }
  return saved;
}

bool JournalingFileSystem::EndMod(EntryEnd end, const std::string& game,
                                  std::vector<ChangeFact> changes) {
  if (!game.empty()) {
    const auto journal = games_.find(
        GameKey(ParseEnginePath(game, FileSystemWrapper::CurrentFolder())));
    if (journal != games_.end() && journal->second->entry_open) {
      journal->second->entry.changes = std::move(changes);
    }
  }
  return EndMod(end);
}

bool JournalingFileSystem::Finish() {
  bool saved = true;
  for (auto& game : games_) {
    GameJournal& journal = *game.second;
    if (journal.entry_open && journal.ended && journal.changed_after_end) {
      saved = SaveFingerprints(journal) && saved;
    }
    journal.entry_open = false;
    journal.log.reset();
  }
  return saved;
}

}  // namespace quarn
