#include "platform/engine_path.h"

#include <gtest/gtest.h>

#include <string>

namespace quarn {
namespace {

// The parse shown as root, then each name after a "|", then "/" for a
// folder only: "<C:>|Games|VC/".
std::string Shown(const EnginePath& path) {
  std::string shown = "<" + path.root + ">";
  for (const std::string& name : path.components) shown += "|" + name;
  return path.folder_only ? shown + "/" : shown;
}

TEST(EnginePath, ReadsEveryFormAsWindowsDoes) {
  struct Case {
    const char* path;
    const char* current;
    const char* parsed;
    const char* text;
  };
  const Case cases[] = {
      // Relative to the current folder, on a drive or not.
      {"data\\gta_vc.dat", "C:\\Games\\VC", "<C:>|Games|VC|data|gta_vc.dat",
       "C:\\Games\\VC\\data\\gta_vc.dat"},
      {"data", "\\home\\vc", "<>|home|vc|data", "\\home\\vc\\data"},
      {"", "\\home\\vc", "<>|home|vc", "\\home\\vc"},
      {"x", "", "<>|x", "\\x"},
      // Absolute; "\x" keeps the current folder's drive.
      {"\\x\\y", "C:\\Games", "<C:>|x|y", "C:\\x\\y"},
      {"\\x", "\\home", "<>|x", "\\x"},
      {"\\", "C:\\Games", "<C:>/", "C:\\"},
      {"D:\\x", "C:\\Games", "<D:>|x", "D:\\x"},
      {"d:\\", "\\home", "<d:>/", "d:\\"},
      // Drive-relative: the current folder when it is on that drive.
      {"c:x", "C:\\Games", "<c:>|Games|x", "c:\\Games\\x"},
      {"D:x", "C:\\Games", "<D:>|x", "D:\\x"},
      {"C:", "C:\\Games", "<C:>|Games", "C:\\Games"},
      {"C:..\\..\\x", "C:\\Games", "<C:>|x", "C:\\x"},
      // Shares: the server and share are the root.
      {"\\\\server\\share\\x", "C:\\", "<\\\\server\\share>|x",
       "\\\\server\\share\\x"},
      {"\\\\server\\share\\..\\..\\x", "C:\\", "<\\\\server\\share>|x",
       "\\\\server\\share\\x"},
      {"//server/share/", "C:\\", "<\\\\server\\share>/",
       "\\\\server\\share\\"},
      {"\\\\server", "C:\\", "<\\\\server>", "\\\\server\\"},
      // "." and ".." by the names alone, never above a root.
      {"a\\.\\b\\..\\c", "\\home", "<>|home|a|c", "\\home\\a\\c"},
      {"..\\..\\..\\x", "C:\\Games", "<C:>|x", "C:\\x"},
      {"\\..\\x\\.", "\\home", "<>|x", "\\x"},
      {"..", "C:\\Games", "<C:>", "C:\\"},
      // Doubled separators and slashes; a name of three dots is a name.
      {"a\\\\b//c/d", "\\h", "<>|h|a|b|c|d", "\\h\\a\\b\\c\\d"},
      {"C:/x/.../y", "", "<C:>|x|...|y", "C:\\x\\...\\y"},
      // A trailing separator names a folder only.
      {"data\\", "\\g", "<>|g|data/", "\\g\\data"},
      {"data\\..\\", "\\g", "<>|g/", "\\g"},
      {"data/", "\\g", "<>|g|data/", "\\g\\data"},
  };
  for (const Case& c : cases) {
    const EnginePath parsed = ParseEnginePath(c.path, c.current);
    EXPECT_EQ(c.parsed, Shown(parsed)) << c.path << " in " << c.current;
    EXPECT_EQ(c.text, parsed.Text()) << c.path << " in " << c.current;
  }
}

TEST(EnginePath, KeyIsTheSameForEverySpellingOfAPlace) {
  const std::string key = ParseEnginePath("C:\\Games\\VC\\Data", "").Key();
  EXPECT_EQ("C:\\GAMES\\VC\\DATA", key);
  EXPECT_EQ(key, ParseEnginePath("c:/games/vc/data/", "").Key());
  EXPECT_EQ(key, ParseEnginePath("..\\DATA", "C:\\Games\\VC\\Models").Key());
  EXPECT_EQ(key, ParseEnginePath("c:data", "C:\\GAMES\\vc").Key());
  EXPECT_NE(key, ParseEnginePath("\\Games\\VC\\Data", "").Key());
  EXPECT_NE(ParseEnginePath("\\\\s\\x\\y", "").Key(),
            ParseEnginePath("\\s\\x\\y", "").Key());

  EXPECT_TRUE(IsRelativeEnginePath("data\\x"));
  EXPECT_TRUE(IsRelativeEnginePath(""));
  EXPECT_FALSE(IsRelativeEnginePath("\\x"));
  EXPECT_FALSE(IsRelativeEnginePath("/x"));
  EXPECT_FALSE(IsRelativeEnginePath("C:x"));
}

}  // namespace
}  // namespace quarn
