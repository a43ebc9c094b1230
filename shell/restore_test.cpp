#include "shell/restore.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/faulty_file_system.h"
#include "shell/game_folder.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

// Answers every question between pieces with `cancel`.
class AnsweringProgress : public CopyProgress {
 public:
  explicit AnsweringProgress(bool cancel) : cancel_(cancel) {}
  void Begin(const std::string&, const std::string&, int32_t) override {}
  void Step() override { ++steps; }
  bool CancelRequested() override { return cancel_; }
  void End() override {}

  int steps = 0;

 private:
  bool cancel_;
};

// A game folder whose working files were changed by mods, with backups.
class RestoreTest : public ::testing::Test {
 protected:
  RestoreTest() : faulty_(*fs_) {
    WriteTestFile(game() + "gta-vc.exe", "exe");
    WriteTestFile(game() + "models\\gta3.img", "modified archive, longer");
    WriteTestFile(game() + "models\\gta3.dir", "modified directory");
    WriteTestFile(game() + "models\\backup\\gta3.img", "original archive");
    WriteTestFile(game() + "models\\backup\\gta3.dir", "original directory");
    WriteTestFile(game() + "data\\gta_vc.dat", "modified list");
    WriteTestFile(game() + "data\\backup\\gta_vc.dat", "original list");
    WriteTestFile(game() + "data\\backup\\object.dat", "original objects");
    WriteTestFile(game() + "data\\backup\\Hidden.txt", "hidden");
    WriteTestFile(game() + "data\\backup\\deeper\\x.dat", "not visited");
    MakeTestFolder(game() + "data\\backup\\maps");
    WriteTestFile(game() + "data\\paths\\track1.dat", "modified path");
    WriteTestFile(game() + "data\\backup\\paths\\track1.dat", "original path");
    fs_->SetAttributes(game() + "data\\backup\\Hidden.txt", kAttrHidden);
    fs_->SetAttributes(game() + "data\\gta_vc.dat", kAttrReadOnly);
  }

  std::string game() const { return folder_.path() + "game\\"; }
  std::string CantCopy(const std::string& from, const std::string& to) {
    return "Can't copy " + game() + from + "\r\nto " + game() + to;
  }

  bool Restore(FileCopier& archive, FileCopier& plain) {
    return RunRestore(faulty_, game(), RestoreCopiers{archive, plain},
                      messages_);
  }

  TempFolder folder_;
  std::unique_ptr<FileSystem> fs_ = MakeNativeFileSystem();
  FaultyFileSystem faulty_;
  CollectedMessages messages_;
  PlainCopier plain_{faulty_};
};

TEST_F(RestoreTest, EveryBackupGoesBackInOrder) {
  AnsweringProgress progress(false);
  ProgressCopier archive(faulty_, progress, 5);
  EXPECT_TRUE(Restore(archive, plain_));
  EXPECT_EQ(std::vector<std::string>({"Copied: gta3.img, gta3.dir, "
                                      "gta_vc.dat, object.dat, track1.dat"}),
            messages_.texts);
  EXPECT_EQ(4, progress.steps);  // 5, 5, 5 and 1 bytes
  EXPECT_EQ("original archive", ReadTestFile(game() + "models\\gta3.img"));
  EXPECT_EQ("original directory", ReadTestFile(game() + "models\\gta3.dir"));
  EXPECT_EQ("original list", ReadTestFile(game() + "data\\gta_vc.dat"));
  EXPECT_EQ("original objects", ReadTestFile(game() + "data\\object.dat"));
  EXPECT_EQ("original path", ReadTestFile(game() + "data\\paths\\track1.dat"));
  EXPECT_FALSE(TestPathExists(game() + "data\\Hidden.txt"));
  EXPECT_FALSE(TestPathExists(game() + "data\\x.dat"));
}

TEST_F(RestoreTest, CancelledArchiveKeepsItsDirectoryToo) {
  AnsweringProgress progress(true);
  ProgressCopier archive(faulty_, progress, 5);
  EXPECT_FALSE(Restore(archive, plain_));
  EXPECT_EQ(std::vector<std::string>(
                {CantCopy("models\\backup\\gta3.img", "models\\gta3.img"),
                 CantCopy("models\\backup\\gta3.dir", "models\\gta3.dir"),
                 "Copied: gta_vc.dat, object.dat, track1.dat"}),
            messages_.texts);
  EXPECT_EQ("modified archive, longer",
            ReadTestFile(game() + "models\\gta3.img"));
  EXPECT_EQ("modified directory", ReadTestFile(game() + "models\\gta3.dir"));
}

TEST_F(RestoreTest, EveryCopyFailingStillEndsWithTheList) {
  fs_->RemoveFile(game() + "models\\backup\\gta3.img");
  FaultPlan copies_fail;
  copies_fail.fail_copy = true;
  faulty_.Plan(copies_fail);
  AnsweringProgress progress(false);
  ProgressCopier archive(faulty_, progress, 5);
  EXPECT_FALSE(Restore(archive, plain_));
  EXPECT_EQ(std::vector<std::string>(
                {CantCopy("models\\backup\\gta3.img", "models\\gta3.img"),
                 CantCopy("models\\backup\\gta3.dir", "models\\gta3.dir"),
                 CantCopy("data\\backup\\gta_vc.dat", "data\\gta_vc.dat"),
                 CantCopy("data\\backup\\object.dat", "data\\object.dat"),
                 CantCopy("data\\backup\\paths\\track1.dat",
                          "data\\paths\\track1.dat"),
                 "Copied: "}),
            messages_.texts);
  EXPECT_EQ("modified list", ReadTestFile(game() + "data\\gta_vc.dat"));
  EXPECT_FALSE(TestPathExists(game() + "models\\gta3.img.quarn-new"));
}

TEST_F(RestoreTest, NoFolderChosen) {
  EXPECT_FALSE(RunRestore(*fs_, "", RestoreCopiers{plain_, plain_}, messages_));
  EXPECT_EQ(std::vector<std::string>({"Please locate your GTA install first."}),
            messages_.texts);
}

TEST_F(RestoreTest, WhatAFolderOffers) {
  FolderChoice choice = ChooseFolder(*fs_, game());
  EXPECT_TRUE(choice.ok_enabled);
  EXPECT_TRUE(choice.use_backup_enabled);
  EXPECT_EQ(game(), choice.restore_dir);

  WriteTestFile(folder_.path() + "copy\\data\\backup\\a.dat", "a");
  choice = ChooseFolder(*fs_, folder_.path() + "copy\\");
  EXPECT_FALSE(choice.ok_enabled);
  EXPECT_FALSE(choice.use_backup_enabled);
  EXPECT_EQ("", choice.restore_dir);

  // Opening on a remembered folder: with a catalogue the backups count.
  choice = OpeningChoice(*fs_, folder_.path() + "copy\\", true);
  EXPECT_FALSE(choice.use_backup_enabled);
  EXPECT_EQ("", choice.restore_dir);
  choice = OpeningChoice(*fs_, folder_.path() + "copy\\", false);
  EXPECT_TRUE(choice.use_backup_enabled);
  EXPECT_FALSE(choice.ok_enabled);
  choice = OpeningChoice(*fs_, "", true);
  EXPECT_FALSE(choice.use_backup_enabled);

  MakeTestFolder(folder_.path() + "copy\\models\\backup");
  EXPECT_TRUE(ChooseFolder(*fs_, folder_.path() + "copy\\").use_backup_enabled);
  fs_->SetAttributes(folder_.path() + "copy\\models\\backup", kAttrHidden);
  EXPECT_FALSE(HoldsBackups(*fs_, folder_.path() + "copy\\"));
}

}  // namespace
}  // namespace quarn
