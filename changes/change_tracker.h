// Follows a run mod by mod and tells, when a mod ends, what it changed in
// the game's terms: the files and folders, and the entries of the game files
// it rewrote.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system_wrapper.h"
#include "undo/change_fact.h"

namespace quarn {

/// Passes every call to `target`. Between BeginMod and EndMod it notes the
/// state of every path before the mod's first change of it (and the bytes
/// of the game files it looks into), so that EndMod can compare. Its own
/// reads leave the record of failures as it was. Not for two threads.
class ChangeTracker : public FileSystemWrapper {
 public:
  explicit ChangeTracker(FileSystem& target) : FileSystemWrapper(target) {}
  ~ChangeTracker() override;

  /// A mod starts; paths in game folder `game` (ending in a backslash, or
  /// empty) are named relative to it.
  void BeginMod(const std::string& game);

  /// The archive got entry `name` from a mod's file during this mod.
  void ArchiveEntryWritten(const std::string& name);

  /// The mod ended: what it changed, files and folders first, then archive
  /// entries, object IDs, list, definition, placement and collision
  /// entries. Empty without BeginMod.
  std::vector<ChangeFact> EndMod();

  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode,
                             FsStatus* status) override;
  bool CopyOver(const std::string& from, const std::string& to) override;
  bool RenameOver(const std::string& from, const std::string& to) override;
  bool MakeFolder(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;

 private:
  class TrackedFile;
  // A path as the mod found it.
  struct Found {
    std::string text;  // absolute, engine form
    uint32_t attributes = kNoSuchFile;
    int64_t size = -1;
    bool content_known = false;
    std::string content;
    bool bytes_touched = false;  // not only its attributes
  };

  void Touch(const std::string& path, bool bytes);
  void TouchParsed(const std::string& text, const std::string& key, bool bytes);
  Found Look(const std::string& text, const std::string& key);
  bool ReadWhole(const std::string& text, const std::string& key, int64_t* size,
                 std::string* content);
  std::string Named(const std::string& text) const;
  void Describe(const std::string& key, const Found& before,
                std::vector<ChangeFact>* facts,
                std::vector<uint16_t>* ids_before,
                std::vector<uint16_t>* ids_after);

  bool active_ = false;
  std::string game_key_;
  std::map<std::string, Found> found_;  // by key
  std::vector<std::string> order_;      // keys, first change first
  std::set<std::string> written_names_;
  std::map<std::string, File*> open_;  // by key: files open through it
};

}  // namespace quarn
