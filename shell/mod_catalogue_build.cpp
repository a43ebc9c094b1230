#include "shell/mod_catalogue_build.h"

#include "editing/mod_catalogue.h"
#include "platform/existence.h"
#include "platform/file_contents.h"
#include "text/ascii.h"
#include "text/lines.h"

namespace quarn {
namespace {

// Lines read from files are cut to this many characters.
constexpr size_t kReadLineCapacity = 999;

ModEntry EntryFor(FileSystem& fs, const std::string& folder_path,
                  const std::string& name) {
  const std::string name_file = folder_path + kModNameFileName;
  if (!IsOrdinaryFile(fs, name_file)) {
    return ModEntry{name,
                    CutTo("(" + name + " has no name. 'InsName.txt' not found)",
                          kDisplayNameCapacity),
                    1};
  }
  std::string bytes;
  if (!ReadWholeFile(fs, name_file, &bytes)) {
    return ModEntry{
        name,
        CutTo("(" + name + " - 'InsName.txt' found but inaccessible)",
              kDisplayNameCapacity),
        1};
  }
  const std::vector<std::string> lines = SplitLines(bytes);
  return EntryFromNameLine(
      name, lines.empty() ? "" : LineUpToNul(lines[0], kReadLineCapacity));
}

}  // namespace

ModEntry EntryFromNameLine(const std::string& folder_name,
                           const std::string& line) {
  std::string name = line;
  int32_t selection = 1;
  for (size_t at = name.find("***"); at != std::string::npos;
       at = name.find("***")) {
    name.erase(at, 3);
    selection = 0;
  }
  return ModEntry{folder_name, CutTo(name, kDisplayNameCapacity), selection};
}

ModCatalogue BuildModCatalogue(FileSystem& fs, const std::string& installer_dir,
                               const ModFolderSlots& slots) {
  ModCatalogue catalogue;
  if (!slots.any) return catalogue;
  for (int number = slots.lowest; number <= slots.highest; ++number) {
    const std::string& name = slots.names[number];
    if (name.empty()) continue;
    const std::string folder_path = installer_dir + name + "\\";
    if (!IsOrdinaryFile(fs, folder_path + kScriptFileName)) continue;
    catalogue.Entries.push_back(EntryFor(fs, folder_path, name));
  }
  catalogue.Present = !catalogue.Entries.empty();
  return catalogue;
}

ModCatalogue LoadModCatalogue(FileSystem& fs, const std::string& installer_dir,
                              MessageSink& messages) {
  return BuildModCatalogue(fs, installer_dir,
                           ScanModFolders(fs, installer_dir, messages));
}

}  // namespace quarn
