#include "tools/samplegen/sample_game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "platform/existence.h"
#include "platform/file_system.h"
#include "testutil/test_files.h"
#include "text/ascii.h"
#include "text/lines.h"
#include "tools/samplegen/game_reading_for_tests.h"

namespace quarn {
namespace {
namespace fs = std::filesystem;

// Every file below `root`, by its path relative to `root`, with its bytes.
std::map<std::string, std::string> AllFiles(const std::string& root) {
  std::map<std::string, std::string> files;
  const fs::path native(NativePath(root));
  for (const auto& item : fs::recursive_directory_iterator(native)) {
    if (!item.is_regular_file()) continue;
    std::string relative = fs::relative(item.path(), native).generic_string();
    for (char& c : relative) c = c == '/' ? '\\' : c;
    files[relative] = ReadTestFile(root + relative);
  }
  return files;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() &&
         text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool IsTextFile(const std::string& relative) {
  for (const char* extension : {".dat", ".ide", ".ipl", ".zon"}) {
    if (EndsWith(relative, extension)) return true;
  }
  return false;
}

// The problem with a file's line ends, or "" when every line ends in CR LF.
std::string LineEndProblem(const std::string& bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) {
      return "lone CR at " + std::to_string(i);
    }
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) {
      return "lone LF at " + std::to_string(i);
    }
  }
  if (bytes.size() < 2 || bytes.compare(bytes.size() - 2, 2, "\r\n") != 0) {
    return "last line without CR LF";
  }
  return "";
}

// The problem with a COL file's chunks, or "" when they cover it exactly.
std::string ColProblem(const std::string& bytes, int* chunks) {
  size_t at = 0;
  *chunks = 0;
  while (at < bytes.size()) {
    if (bytes.size() - at < 32) return "short chunk at " + std::to_string(at);
    if (bytes.compare(at, 4, "COLL") != 0)
      return "no COLL at " + std::to_string(at);
    const uint32_t size = U32At(bytes, at + 4);
    if (size < 24 || at + 8 + size > bytes.size()) {
      return "bad size at " + std::to_string(at);
    }
    const std::string field = bytes.substr(at + 8, 24);
    if (field[0] == '\0' || field.find('\0') == std::string::npos) {
      return "bad name at " + std::to_string(at);
    }
    at += 8 + size;
    ++*chunks;
  }
  return "";
}

// The listed file names of gta_vc.dat's lines of `kind` ("IDE ", ...).
std::vector<std::string> Listed(const std::vector<std::string>& lines,
                                const std::string& kind) {
  std::vector<std::string> names;
  for (const std::string& line : lines) {
    if (StartsWithIgnoringCase(line, kind))
      names.push_back(line.substr(kind.size()));
  }
  return names;
}

class SampleGameTest : public testing::Test {
 protected:
  std::string Generate(const SampleGameOptions& options) {
    std::string error;
    EXPECT_TRUE(WriteSampleGame(NativePath(game_), options, &error)) << error;
    return game_;
  }

  std::vector<std::string> Lines(const std::string& relative) {
    return SplitLines(ReadTestFile(game_ + relative));
  }

  TempFolder folder_;
  std::string game_ = folder_.path() + "vc\\";
};

TEST_F(SampleGameTest, ListFileNamesOnlyFilesThatExistAndLinesTheEditorKnows) {
  Generate(SampleGameOptions());
  const std::vector<std::string> lines = Lines("data\\gta_vc.dat");
  int splashes = 0;
  for (const std::string& raw : lines) {
    const std::string line = TrimBlanks(raw);
    if (line.empty() || line[0] == '#') continue;
    const bool known = StartsWithIgnoringCase(line, "IDE ") ||
                       StartsWithIgnoringCase(line, "COLFILE ") ||
                       StartsWithIgnoringCase(line, "IPL ") ||
                       StartsWithIgnoringCase(line, "SPLASH ");
    EXPECT_TRUE(known) << line;
    splashes += StartsWithIgnoringCase(line, "SPLASH ");
  }
  EXPECT_EQ(3, splashes);

  // The list spells paths in upper case like the game; the files are found
  // the way the engine finds them, without regard to case.
  std::unique_ptr<FileSystem> files = MakeNativeFileSystem();
  const std::vector<std::string> ides = Listed(lines, "IDE ");
  EXPECT_EQ(5u, ides.size());
  for (const std::string& name : ides) {
    EXPECT_TRUE(IsOrdinaryFile(*files, game_ + name)) << name;
  }
  const std::vector<std::string> ipls = Listed(lines, "IPL ");
  EXPECT_EQ(7u, ipls.size());  // two zone files, four areas and cull.ipl
  for (const std::string& name : ipls) {
    EXPECT_TRUE(IsOrdinaryFile(*files, game_ + name)) << name;
  }
  const std::vector<std::string> cols = Listed(lines, "COLFILE 0 ");
  EXPECT_EQ(2u, cols.size());
  for (const std::string& name : cols) {
    EXPECT_TRUE(IsOrdinaryFile(*files, game_ + name)) << name;
    int chunks = 0;
    const std::string bytes = ReadTestFile(game_ + ToLowerForTest(name));
    EXPECT_EQ("", ColProblem(bytes, &chunks)) << name;
    EXPECT_GT(chunks, 0) << name;
  }
  EXPECT_TRUE(IsOrdinaryFile(*files, game_ + "gta-vc.exe"));
  EXPECT_TRUE(IsOrdinaryFile(*files, game_ + "data\\default.ide"));
}

TEST_F(SampleGameTest, ObjectIdsAreUniqueAcrossEveryIdeFile) {
  SampleGameOptions options;
  options.ide_files = 20;
  options.ide_definitions = 6000;
  options.img_entries = 5;
  Generate(options);
  std::unique_ptr<FileSystem> files = MakeNativeFileSystem();
  std::map<int, int> all;
  int map_definitions = 0;
  const std::vector<std::string> ides =
      Listed(Lines("data\\gta_vc.dat"), "IDE ");
  ASSERT_EQ(20u, ides.size());
  std::vector<std::string> texts;
  for (const std::string& name : ides) {
    ASSERT_TRUE(IsOrdinaryFile(*files, game_ + name)) << name;
    for (const auto& [id, count] : IdeIdsForTest(Lines(ToLowerForTest(name)))) {
      all[id] += count;
      map_definitions += count;
    }
  }
  EXPECT_EQ(6000, map_definitions);
  const std::map<int, int> defaults = IdeIdsForTest(Lines("data\\default.ide"));
  EXPECT_GT(defaults.size(), 50u);
  for (const auto& [id, count] : defaults) all[id] += count;
  for (const auto& [id, count] : all) {
    EXPECT_EQ(1, count) << "ID " << id;
    EXPECT_LE(id, 65535);
  }
}

TEST_F(SampleGameTest, TextFilesUseCrLfAndBackupsHoldTheOriginals) {
  Generate(SampleGameOptions());
  const std::map<std::string, std::string> files = AllFiles(game_);
  int text_files = 0;
  for (const auto& [relative, bytes] : files) {
    if (!IsTextFile(relative)) continue;
    ++text_files;
    EXPECT_EQ("", LineEndProblem(bytes)) << relative;
  }
  EXPECT_GE(text_files, 15);

  const std::vector<std::pair<std::string, std::string>> backups = {
      {"data\\backup\\gta_vc.dat", "data\\gta_vc.dat"},
      {"data\\backup\\object.dat", "data\\object.dat"},
      {"data\\backup\\default.ide", "data\\default.ide"},
      {"data\\backup\\map.zon", "data\\map.zon"},
      {"data\\backup\\navig.zon", "data\\navig.zon"},
      {"data\\backup\\maps\\generic.ide", "data\\maps\\generic.ide"},
      {"data\\backup\\maps\\cull.ipl", "data\\maps\\cull.ipl"},
      {"data\\backup\\paths\\track1.dat", "data\\paths\\track1.dat"},
      {"data\\backup\\paths\\track2.dat", "data\\paths\\track2.dat"},
      {"models\\backup\\gta3.img", "models\\gta3.img"},
      {"models\\backup\\gta3.dir", "models\\gta3.dir"}};
  for (const auto& [backup, original] : backups) {
    ASSERT_EQ(1u, files.count(backup)) << backup;
    EXPECT_EQ(files.at(original), files.at(backup)) << backup;
  }
  // Restoring copies data\backup\maps into data\maps by name, flat.
  for (const auto& [relative, bytes] : files) {
    if (relative.rfind("data\\backup\\maps\\", 0) == 0) {
      EXPECT_EQ(1u, files.count("data\\maps\\" + relative.substr(17)))
          << relative;
    }
  }
  const std::vector<std::string> object_dat = Lines("data\\object.dat");
  ASSERT_GE(object_dat.size(), 2u);
  EXPECT_EQ("", object_dat[object_dat.size() - 2]);
  EXPECT_EQ("* ;end of file", object_dat.back());
}

TEST_F(SampleGameTest, ArchiveEntriesLieBackToBackWithUniqueNames) {
  SampleGameOptions options;
  options.img_entries = 300;
  options.img_bytes = 5u << 20;
  options.backups = false;
  Generate(options);
  const std::string dir = ReadTestFile(game_ + "models\\gta3.dir");
  const std::string img = ReadTestFile(game_ + "models\\gta3.img");
  ASSERT_EQ(300u * 32, dir.size());
  std::set<std::string> names;
  uint64_t next = 0;
  for (const DirRecordForTest& record : DirRecordsForTest(dir)) {
    EXPECT_EQ(next, record.offset);
    EXPECT_GE(record.size, 1u);
    const size_t nul = record.field.find('\0');
    ASSERT_NE(std::string::npos, nul);
    ASSERT_GT(nul, 0u);
    const std::string name = record.field.substr(0, nul);
    EXPECT_TRUE(EndsWith(name, ".dff") || EndsWith(name, ".txd")) << name;
    EXPECT_TRUE(names.insert(ToUpperAscii(name)).second) << name;
    next = record.offset + record.size;
  }
  EXPECT_EQ(next * 2048, img.size());
  EXPECT_EQ(5u << 20, img.size());
  EXPECT_FALSE(TestPathExists(game_ + "models\\backup"));
  EXPECT_FALSE(TestPathExists(game_ + "data\\backup"));
}

TEST_F(SampleGameTest, AGameWithoutDefinitionsOrEntriesIsStillWhole) {
  SampleGameOptions options;
  options.ide_files = 6;  // one of them an interior with its own COL file
  options.ide_definitions = 0;
  options.img_entries = 0;
  Generate(options);
  EXPECT_EQ("", ReadTestFile(game_ + "models\\gta3.img"));
  EXPECT_EQ("", ReadTestFile(game_ + "models\\gta3.dir"));
  const std::vector<std::string> lines = Lines("data\\gta_vc.dat");
  EXPECT_EQ(6u, Listed(lines, "IDE ").size());
  for (const std::string& name : Listed(lines, "IDE ")) {
    const std::vector<std::string> ide = Lines(ToLowerForTest(name));
    EXPECT_TRUE(IdeIdsForTest(ide).empty()) << name;
    EXPECT_EQ(4, std::count(ide.begin(), ide.end(), "end")) << name;
  }
  const std::vector<std::string> cols = Listed(lines, "COLFILE 0 ");
  EXPECT_EQ(2u, cols.size());
  for (const std::string& name : cols) {
    int chunks = 0;
    EXPECT_EQ("",
              ColProblem(ReadTestFile(game_ + ToLowerForTest(name)), &chunks));
    EXPECT_GE(chunks, 1) << name;
  }
  for (const auto& [relative, bytes] : AllFiles(game_)) {
    if (IsTextFile(relative)) {
      EXPECT_EQ("", LineEndProblem(bytes)) << relative;
    }
  }
}

TEST_F(SampleGameTest, SameOptionsGiveTheSameBytesAndTheSeedVariesThem) {
  TempFolder other;
  SampleGameOptions options;
  std::string error;
  Generate(options);
  ASSERT_TRUE(WriteSampleGame(NativePath(other.path()), options, &error));
  const std::map<std::string, std::string> first = AllFiles(game_);
  EXPECT_EQ(first, AllFiles(other.path()));

  TempFolder reseeded;
  options.seed = 2;
  ASSERT_TRUE(WriteSampleGame(NativePath(reseeded.path()), options, &error));
  const std::map<std::string, std::string> changed = AllFiles(reseeded.path());
  for (const char* file :
       {"models\\gta3.dir", "models\\gta3.img", "data\\maps\\generic.ide"}) {
    EXPECT_NE(first.at(file), changed.at(file)) << file;
  }
}

TEST(SampleGameOptionsTest, LimitsAreRefusedWithAReason) {
  SampleGameOptions options;
  EXPECT_EQ("", CheckSampleGameOptions(options));
  options.img_bytes = uint64_t{2} << 30;
  EXPECT_EQ("the archive must stay below 2 GiB",
            CheckSampleGameOptions(options));
  options.img_bytes = (uint64_t{2} << 30) - 2048;
  EXPECT_EQ("", CheckSampleGameOptions(options));
  options = SampleGameOptions();
  options.img_entries = 30001;
  EXPECT_EQ("the archive can hold 0 to 30000 entries",
            CheckSampleGameOptions(options));
  options = SampleGameOptions();
  options.ide_files = 0;
  EXPECT_EQ("the game needs 1 to 200 IDE files",
            CheckSampleGameOptions(options));
  options = SampleGameOptions();
  options.ide_definitions = 30001;
  EXPECT_EQ("the IDE files can hold 0 to 30000 definitions",
            CheckSampleGameOptions(options));

  TempFolder folder;
  std::string error;
  EXPECT_FALSE(
      WriteSampleGame(NativePath(folder.path() + "vc"), options, &error));
  EXPECT_EQ("the IDE files can hold 0 to 30000 definitions", error);
  EXPECT_FALSE(TestPathExists(folder.path() + "vc"));
}

}  // namespace
}  // namespace quarn
