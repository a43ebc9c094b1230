#include "gamecheck/level_list_rules.h"

#include <string>
#include <string_view>

#include "gamecheck/archive_rules.h"
#include "gamecheck/col_rules.h"
#include "gamecheck/game_lines.h"
#include "gamecheck/ide_rules.h"
#include "gamecheck/ipl_rules.h"
#include "gamecheck/object_dat_rules.h"

namespace quarn {
namespace {

const char kObjectDatPath[] = "data\\object.dat";
// What the stock default.dat names among item definitions, read in its
// place when it is missing so that the tables still count the game's own.
const char kStockDefaultIde[] = "DATA\\DEFAULT.IDE";

enum class Kind { kExit, kIde, kIpl, kCol, kFile, kNoFile };

struct LineKind {
  const char* prefix;
  size_t path_at;  // where the game takes the path from
  Kind kind;
};

const LineKind* KindOf(std::string_view text) {
  static const LineKind kKinds[] = {
      {"EXIT", 0, Kind::kExit},        {"IMAGEPATH", 10, Kind::kNoFile},
      {"TEXDICTION", 11, Kind::kFile}, {"COLFILE", 10, Kind::kCol},
      {"MODELFILE", 10, Kind::kFile},  {"HIERFILE", 9, Kind::kFile},
      {"IDE", 4, Kind::kIde},          {"IPL", 4, Kind::kIpl},
      {"SPLASH", 7, Kind::kNoFile},    {"CDIMAGE", 8, Kind::kFile}};
  for (const LineKind& kind : kKinds) {
    if (text.compare(0, std::char_traits<char>::length(kind.prefix),
                     kind.prefix) == 0) {
      return &kind;
    }
  }
  return nullptr;
}

std::string PathAt(std::string_view text, size_t at) {
  if (at >= text.size()) return "";
  std::string_view path = text.substr(at);
  while (!path.empty() && path.back() == ' ') path.remove_suffix(1);
  return std::string(path);
}

struct LevelReader {
  LoadedGame* game;
  bool ipl_seen = false;

  void ReadArchiveOnce() {
    if (game->archive_read) return;
    game->archive_read = true;
    std::string bytes;
    if (game->ReadFile(kObjectDatPath, &bytes)) {
      CheckObjectDat(kObjectDatPath, bytes, game);
    } else {
      game->findings.Add(kObjectDatPath, 0, CheckEffect::kFailsToLoad,
                         "the file is missing or unreadable", "missing-file");
    }
    CheckArchive(game);
  }

  // The named file's bytes; false after reporting it missing.
  bool ReadNamed(const std::string& list, const GameLine& line,
                 const std::string& path, std::string* bytes) {
    if (game->ReadFile(path, bytes)) return true;
    game->findings.Add(list, line.number, CheckEffect::kFailsToLoad,
                       path + " is missing", "missing-file");
    return false;
  }

  void ReadNamedFile(const std::string& list, const GameLine& line,
                     const LineKind& kind, const std::string& path) {
    if (kind.kind == Kind::kIde && ipl_seen) {
      game->findings.Add(list, line.number, CheckEffect::kCrashes,
                         "IDE line after the first IPL line, when the "
                         "archive's directory is already read",
                         "ide-after-ipl");
    }
    if (kind.kind == Kind::kIpl && !ipl_seen) {
      ipl_seen = true;
      ReadArchiveOnce();
    }
    std::string bytes;
    if (kind.kind == Kind::kFile) {
      if (!game->HasFile(path)) ReadNamed(list, line, path, &bytes);
      return;
    }
    if (!ReadNamed(list, line, path, &bytes)) return;
    if (kind.kind == Kind::kIde) CheckIdeFile(path, bytes, game);
    if (kind.kind == Kind::kIpl) CheckIplFile(path, bytes, game);
    if (kind.kind == Kind::kCol) CheckColData(path, 0, bytes, false, game);
  }

  // False at EXIT, which ends the list.
  bool ReadLine(const std::string& list, const GameLine& line) {
    const std::string_view text = WithoutLeadingBlanks(line.text);
    if (text.empty() || text[0] == '#') return true;
    if (line.cut) {
      game->findings.Add(list, line.number, CheckEffect::kCuts,
                         "the line past 255 characters", "line-length");
    }
    const LineKind* kind = KindOf(text);
    if (kind == nullptr) {
      game->findings.Add(list, line.number, CheckEffect::kDropsLine,
                         "no line kind (EXIT, IDE, IPL, COLFILE, ...: upper "
                         "case) begins \"" +
                             std::string(GameValues(text).front()) + "\"",
                         "line-kind");
      return true;
    }
    if (kind->kind == Kind::kExit) return false;
    if (kind->kind == Kind::kNoFile) return true;
    ReadNamedFile(list, line, *kind, PathAt(text, kind->path_at));
    return true;
  }

  void ReadList(const std::string& list) {
    std::string bytes;
    if (!game->ReadFile(list, &bytes)) {
      game->findings.Add(list, 0, CheckEffect::kFailsToLoad,
                         "the file is missing or unreadable", "missing-file");
      if (list == kDefaultDatPath && game->ReadFile(kStockDefaultIde, &bytes)) {
        CheckIdeFile(kStockDefaultIde, bytes, game);
      }
      return;
    }
    for (const GameLine& line : ReadGameLines(bytes)) {
      if (!ReadLine(list, line)) return;
    }
  }
};

}  // namespace

void CheckLevelLists(LoadedGame* game) {
  LevelReader reader{game};
  reader.ReadList(kDefaultDatPath);
  reader.ReadList(kGtaVcDatPath);
  reader.ReadArchiveOnce();
}

}  // namespace quarn
