#include "shell/setup_ini.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "testutil/test_files.h"

namespace quarn {
namespace {

TEST(SetupIniTest, EveryKeyCommentsTrimmingAndWelcomeText) {
  const SetupSettings settings = ParseSetupIni(
      "; an installer's set-up\r\n"
      ">TITLE1 Replaced later\r\n"
      "\t>Title1 Welcome to the   Kiosk ; the first page\r\n"
      "  >title2   Pick your mods ;comment\r\n"
      ">options off\r\n"
      "  >SCRPATH OFF  ; no scripted path\r\n"
      ">PICTURE art\\Kiosk.bmp\r\n"
      ">unknown key\r\n"
      ">WELCOME TEXT START\r\n"
      "  Indented line ; with a semicolon\r\n"
      ">WELCOME TEXT START\r\n"
      ">TITLE2 not a key in here\r\n"
      "\t >welcome text end \r\n"
      ">welcome text start\n"
      "Second block, LF only\n",
      "C:\\Setup\\");
  EXPECT_TRUE(settings.welcome_wanted);
  EXPECT_EQ("Welcome to the   Kiosk", settings.welcome_caption);
  EXPECT_EQ("  Pick your mods", settings.selection_caption);
  EXPECT_TRUE(settings.options_hidden);
  EXPECT_TRUE(settings.scripted_path_hidden);
  EXPECT_EQ("C:\\Setup\\art\\Kiosk.bmp", settings.picture_path);
  EXPECT_EQ(
      "  Indented line ; with a semicolon\r\n"
      ">WELCOME TEXT START\r\n"
      ">TITLE2 not a key in here\r\n"
      "Second block, LF only\r\n",
      settings.welcome_text);
}

TEST(SetupIniTest, LimitsOfCaptionsAndWelcomeText) {
  std::string bytes = ">TITLE2 " + std::string(300, 'c') + "\r\n";
  bytes += ">WELCOME TEXT START\r\n";
  for (int i = 0; i < 100; ++i) bytes += std::string(60, 'w') + "\r\n";
  const SetupSettings settings = ParseSetupIni(bytes, "D:\\");
  EXPECT_EQ(std::string(254, 'c'), settings.selection_caption);
  EXPECT_EQ(4999u, settings.welcome_text.size());
  EXPECT_EQ("", settings.welcome_caption);
  EXPECT_EQ("", settings.picture_path);
  EXPECT_FALSE(settings.options_hidden);
}

TEST(SetupIniTest, MissingFileGivesTheDefaults) {
  TempFolder folder;
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  SetupSettings settings = ReadSetupIni(*fs, folder.path());
  EXPECT_FALSE(settings.welcome_wanted);
  EXPECT_EQ("", settings.selection_caption);
  EXPECT_FALSE(settings.scripted_path_hidden);

  WriteTestFile(folder.path() + "Setup.ini", ">TITLE1 Hello\r\n");
  settings = ReadSetupIni(*fs, folder.path());
  EXPECT_TRUE(settings.welcome_wanted);
  EXPECT_EQ("Hello", settings.welcome_caption);
  EXPECT_EQ("", settings.picture_path);
}

}  // namespace
}  // namespace quarn
