// A file system that writes, before each change a run makes inside a game
// folder, what undo needs to put that change back, and puts it on the disk
// first. One journal entry per mod and game folder.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/engine_path.h"
#include "platform/file_system_wrapper.h"
#include "undo/change_log.h"
#include "undo/journal_entry.h"

namespace quarn {

/// The mod whose changes come next, as its journal entry names it.
struct JournaledMod {
  std::string installer_dir;  ///< ends in a backslash
  std::string mod_folder;     ///< empty for a single script
  std::string mod_name;
};

/// Why a run may not change a game folder.
enum class JournalRefusal {
  kNone,
  kLocked,      ///< another run holds the game's run lock
  kUnfinished,  ///< an earlier run did not finish; it must be undone first
  kFailed,      ///< the lock or the journal could not be read or made
};

/// The reason a change is refused with while an unfinished run blocks it.
inline constexpr char kReasonUnfinished[] =
    "an install that did not finish must be undone first";

/// Passes every call to `target` and journals the changes made inside the
/// game folder the run is in; a change whose journal record cannot be
/// written is not made, and fails.
class JournalingFileSystem : public FileSystemWrapper {
 public:
  /// Journals changes to `target`; `clock` gives the local time as
  /// "YYYY-MM-DD HH:MM:SS". Nothing is journaled until FollowGameFolder.
  JournalingFileSystem(FileSystem& target, std::function<std::string()> clock);
  ~JournalingFileSystem() override;

  /// Journals the changes inside the game folder `game_folder` names as the
  /// run goes (ending in a backslash; empty for none).
  void FollowGameFolder(std::function<std::string()> game_folder);

  /// Takes the run lock of `game` (engine form) and checks that no entry of
  /// its journal is unfinished (then `*unfinished` tells which). A game
  /// changed without this call first gets it at its first change.
  JournalRefusal OpenGame(const std::string& game, JournalEntry* unfinished);

  /// The changes from now on are `mod`'s.
  void BeginMod(const JournaledMod& mod);

  /// The current mod ended as `end`: its entries record it, with the
  /// fingerprint of every path it changed. False if an entry file could not
  /// be written.
  bool EndMod(EntryEnd end);

  /// EndMod(end), and the entry of game folder `game` also records
  /// `changes`, what the mod changed there in the game's terms.
  bool EndMod(EntryEnd end, const std::string& game,
              std::vector<ChangeFact> changes);

  /// Brings the fingerprints of entries changed after their mod ended up to
  /// date and closes the change logs. False if an entry file failed. The
  /// destructor does it too, for an owner that cannot report a failure.
  bool Finish();

  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode,
                             FsStatus* status) override;
  bool CopyOver(const std::string& from, const std::string& to) override;
  bool RenameOver(const std::string& from, const std::string& to) override;
  bool MakeFolder(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;

 private:
  friend class JournaledFile;

  // What the journal knows of a path the current entry changed.
  struct PathJournal;
  // One game folder's journal: its lock and current entry.
  struct GameJournal;
  // A path resolved: its game's journal (null when not journaled).
  struct Target;

  Target Resolve(const std::string& path);
  GameJournal& JournalOf(const EnginePath& game);
  bool Prepare(Target* target);
  bool OpenEntry(GameJournal& game);
  bool Record(GameJournal& game, const ChangeRecord& record, File* source,
              uint64_t offset, bool flush);
  bool SaveWholeBefore(Target& target);
  bool SaveAttributesBefore(Target& target);
  File* OpenFileOf(const std::string& key);
  bool SaveFingerprints(GameJournal& game);

  std::function<std::string()> game_folder_;
  std::function<std::string()> clock_;
  JournaledMod mod_;
  std::map<std::string, std::unique_ptr<GameJournal>> games_;  // by key
  std::map<std::string, File*> open_files_;  // by key, the run's open files
};

}  // namespace quarn
