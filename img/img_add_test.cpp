#include "img/img_add.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "img/img_object_check.h"
#include "platform/file_system_wrapper.h"
#include "run/dispatch_table.h"
#include "testutil/expected_log.h"
#include "testutil/img_test_archive.h"
#include "testutil/script_run.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

// The native file system, made before the wrapper below that uses it.
struct NativeFileSystemHolder {
  std::unique_ptr<FileSystem> native = MakeNativeFileSystem();
};

// The real file system, except that folder listings come in a fixed order,
// so that the order the platform delivers can be chosen by the test.
class OrderedListingFs : private NativeFileSystemHolder,
                         public FileSystemWrapper {
 public:
  explicit OrderedListingFs(bool descending)
      : FileSystemWrapper(*native), descending_(descending) {}

  FsStatus ListFolder(const std::string& path,
                      std::vector<FolderEntry>* entries) override {
    const FsStatus status = FileSystemWrapper::ListFolder(path, entries);
    std::sort(entries->begin(), entries->end(),
              [this](const FolderEntry& a, const FolderEntry& b) {
                return descending_ ? a.name > b.name : a.name < b.name;
              });
    return status;
  }

 private:
  bool descending_;
};

// IMG ADDALL makes the source folder current for good; the tests put the
// process's folder back so that later tests do not stand in a removed one.
class CurrentFolderKeeper {
 public:
  CurrentFolderKeeper() : fs_(MakeNativeFileSystem()) {
    folder_ = fs_->CurrentFolder();
  }
  ~CurrentFolderKeeper() { fs_->ChangeFolder(folder_); }

 private:
  std::unique_ptr<FileSystem> fs_;
  std::string folder_;
};

// "folder|name" per queued file, in queue order.
std::vector<std::string> Queued(const std::vector<PendingAdd>& queue) {
  std::vector<std::string> items;
  for (const PendingAdd& add : queue) {
    items.push_back(add.SourceFolder + "|" + add.Name);
  }
  return items;
}

// Sets up a catalogue of the one mod X1 running `script` and returns the
// mod's folder.
std::string UseModX1(ScriptRun& run, const std::string& script) {
  run.context().ModCatalogue.Present = true;
  run.context().ModCatalogue.Entries = {{"X1", "mod", 1}};
  const std::string mod = run.installer() + "X1\\";
  WriteTestFile(mod + "QuarnInstall.txt", script);
  return mod;
}

// The log of a run of mod X1 alone.
std::string ModX1Log(const std::string& game,
                     const std::vector<std::string>& body, bool succeeded) {
  std::vector<std::string> lines = body;
  if (succeeded) lines.push_back("\r\n\r\n");
  return SingleModLog(game, lines, succeeded);
}

TEST(ImgAddTest, ReplacesEveryEntryOfTheNameInAnyLetterCase) {
  ScriptRun run;
  const std::vector<TestImgRecord> records = {
      {0, 2, "CAR.DFF"}, {2, 1, "x.dff"}, {3, 1, "Car.dff\0old"}};
  WriteTestImg(run.game(), records);
  WriteTestFile(run.installer() + "car.dff", "model");
  WriteTestFile(run.installer() + "new.dff", "model");
  run.WriteScript("IMG OPENDEF\nIMG ADD car.dff\nimg add new.dff");

  EXPECT_EQ(SingleModLog(run.game(),
                         {"Reading IMG...", "Indexes:  3",
                          "Checking object car.dff... found, object will be "
                          "replaced",
                          "Checking object new.dff... not found, object will "
                          "be added"},
                         true),
            run.Run());
  // Only the first byte of each replaced name goes; offset, size and the
  // rest of the field stay for the rebuild.
  std::string expected = TestImgDirectoryBytes(records);
  expected[8] = '\0';
  expected[2 * 32 + 8] = '\0';
  EXPECT_EQ(expected, HeldDirectoryBytes(run.context().Img));
  EXPECT_EQ((std::vector<std::string>{run.installer() + "|car.dff",
                                      run.installer() + "|new.dff"}),
            Queued(run.context().Img.PendingAdds.Others));
  EXPECT_TRUE(run.context().Img.PendingAdds.Textures.empty());
}

TEST(ImgAddTest, TexturesGoToTheirOwnQueue) {
  ScriptRun run;
  WriteTestImg(run.game(), {{0, 1, "a.txd"}});
  for (const char* name : {"A.TXD", "b.txd", "c.dff", "txd", "d.txd.dff"}) {
    WriteTestFile(run.installer() + name, "data");
  }
  run.WriteScript(
      "IMG OPENDEF\nIMG ADD A.TXD\nIMG ADD c.dff\nIMG ADD b.txd\nIMG ADD "
      "txd\nIMG ADD d.txd.dff");
  run.Run();
  const std::string from = run.installer();
  EXPECT_EQ((std::vector<std::string>{from + "|A.TXD", from + "|b.txd"}),
            Queued(run.context().Img.PendingAdds.Textures));
  EXPECT_EQ((std::vector<std::string>{from + "|c.dff", from + "|txd",
                                      from + "|d.txd.dff"}),
            Queued(run.context().Img.PendingAdds.Others));
  EXPECT_TRUE(run.context().Img.Entries[0].IsHole());
}

TEST(ImgAddTest, OnlyPlainFileNamesOfTheSourceFolder) {
  for (const char* path : {"sub\\a.dff", "sub/a.dff"}) {
    ScriptRun run;
    WriteTestImg(run.game(), {{0, 1, "a.dff"}});
    WriteTestFile(run.installer() + "sub\\a.dff", "model");
    run.WriteScript(std::string("IMG OPENDEF\nIMG ADD ") + path);
    EXPECT_EQ(SingleModLog(run.game(),
                           {"Reading IMG...", "Indexes:  1",
                            "Paths not allowed in IMG ADD. Use DIR SELECT."},
                           false),
              run.Run())
        << path;
    EXPECT_TRUE(run.context().Img.PendingAdds.Others.empty());
  }
  {
    ScriptRun run;
    WriteTestImg(run.game(), {{0, 1, "a.dff"}});
    run.WriteScript("IMG OPENDEF\nIMG ADD sub\\b.dff");
    EXPECT_EQ(
        SingleModLog(run.game(),
                     {"Reading IMG...", "Indexes:  1",
                      "File not found: " + run.installer() + "sub\\b.dff"},
                     false),
        run.Run());
  }
  {
    ScriptRun run;
    WriteTestImg(run.game(), {{0, 1, "a.dff"}});
    WriteTestFile(run.installer() + "a.dff", "model");
    ASSERT_TRUE(run.fs().SetAttributes(run.installer() + "a.dff", kAttrHidden));
    run.WriteScript("IMG OPENDEF\nIMG ADD a.dff");
    EXPECT_EQ(SingleModLog(run.game(),
                           {"Reading IMG...", "Indexes:  1",
                            "File not found: " + run.installer() + "a.dff"},
                           false),
              run.Run());
    EXPECT_FALSE(run.context().Img.Entries[0].IsHole());
  }
}

TEST(ImgAddTest, OverlongNameIsQueuedThenRefusedByTheCheck) {
  {
    ScriptRun run;
    WriteTestImg(run.game(), {{0, 1, "a.dff"}});
    const std::string name = "abcdefghijklmnopqrst.dff";  // 24 characters
    WriteTestFile(run.installer() + name, "model");
    run.WriteScript("IMG OPENDEF\nIMG ADD " + name);
    EXPECT_EQ(SingleModLog(run.game(),
                           {"Reading IMG...", "Indexes:  1",
                            "Checking object " + name +
                                "... Invalid name length: " + name,
                            "Max length is 23"},
                           false),
              run.Run());
    EXPECT_EQ(std::vector<std::string>{run.installer() + "|" + name},
              Queued(run.context().Img.PendingAdds.Others));
  }
  {
    // A name from the script keeps at most 49 characters.
    ScriptRun run;
    WriteTestImg(run.game(), {{0, 1, "a.dff"}});
    const std::string kept(49, 'n');
    WriteTestFile(run.installer() + kept, "model");
    run.WriteScript("IMG OPENDEF\nIMG ADD " + kept + "ignored.dff");
    EXPECT_EQ(SingleModLog(run.game(),
                           {"Reading IMG...", "Indexes:  1",
                            "Checking object " + kept +
                                "... Invalid name length: " + kept,
                            "Max length is 23"},
                           false),
              run.Run());
  }
}

TEST(ImgAddTest, ClosedArchiveOrEmptyNameFailsTheCheck) {
  ScriptRun run;
  WriteTestImg(run.game(), {{0, 1, "a.dff"}});
  WriteTestFile(run.installer() + "a.dff", "model");
  run.WriteScript("IMG ADD a.dff\nPRINT not reached");
  EXPECT_EQ(SingleModLog(run.game(),
                         {"Checking object a.dff...  ", "ERROR: IMG not open"},
                         false),
            run.Run());

  // The check itself refuses an empty name, which no script line can give.
  InstallContext& ctx = run.context();
  ctx.Img.IsOpen = true;
  EXPECT_EQ(CommandResult::kEndRun, CheckObject(ctx, ctx.Img, ""));
  EXPECT_EQ("Checking object ... No object\r\n",
            run.window().shown.substr(run.window().shown.rfind("Checking")));
}

TEST(ImgAddTest, FullQueueRefusesBeforeAnythingChanges) {
  ScriptRun run;
  WriteTestImg(run.game(), {{0, 1, "a.dff"}, {1, 1, "t.txd"}});
  WriteTestFile(run.installer() + "a.dff", "model");
  WriteTestFile(run.installer() + "t.txd", "texture");
  run.context().Img.PendingAdds.Others.resize(3001);
  run.WriteScript("IMG OPENDEF\nIMG ADD t.txd\nIMG ADD a.dff");
  EXPECT_EQ(SingleModLog(run.game(),
                         {"Reading IMG...", "Indexes:  2",
                          "Checking object t.txd... found, object will be "
                          "replaced",
                          "IMG queue full: a.dff not queued (at most 3001 "
                          "files and as many textures until IMG CLOSE)"},
                         false),
            run.Run());
  EXPECT_EQ(3001u, run.context().Img.PendingAdds.Others.size());
  EXPECT_EQ("a.dff", run.context().Img.Entries[0].Name());
}

TEST(ImgAddAllTest, QueuesOrdinaryFilesInListingOrderThenChecksAll) {
  CurrentFolderKeeper keeper;
  for (const bool descending : {false, true}) {
    OrderedListingFs fs(descending);
    ScriptRun run(&fs);
    WriteTestImg(run.game(), {{0, 1, "B.DFF"}, {1, 1, "z.dff"}});
    const std::string mod =
        UseModX1(run, "IMG OPENDEF\r\nIMG ADD b.dff\r\nIMG ADDALL\r\n");
    for (const char* name : {"b.dff", "a.txd", "c.dff", "h.dff"}) {
      WriteTestFile(mod + name, "data");
    }
    WriteTestFile(mod + "sub\\s.dff", "data");
    ASSERT_TRUE(fs.SetAttributes(mod + "h.dff", kAttrHidden));

    // Files queued earlier are checked again; textures come last.
    const std::vector<std::string> others =
        descending ? std::vector<std::string>{"b.dff", "c.dff", "b.dff",
                                              "QuarnInstall.txt"}
                   : std::vector<std::string>{"b.dff", "QuarnInstall.txt",
                                              "b.dff", "c.dff"};
    std::vector<std::string> expected_log = {
        "Reading IMG...", "Indexes:  2",
        "Checking object b.dff... found, object will be replaced"};
    std::vector<std::string> expected_queue;
    for (const std::string& name : others) {
      expected_log.push_back("Checking object " + name +
                             "... not found, object will be added");
      expected_queue.push_back(mod + "|" + name);
    }
    expected_log.push_back(
        "Checking object a.txd... not found, object will be added");
    EXPECT_EQ(ModX1Log(run.game(), expected_log, true), run.Run());
    EXPECT_EQ(expected_queue, Queued(run.context().Img.PendingAdds.Others));
    EXPECT_EQ(std::vector<std::string>{mod + "|a.txd"},
              Queued(run.context().Img.PendingAdds.Textures));
    EXPECT_EQ(mod.substr(0, mod.size() - 1), fs.CurrentFolder());
  }
}

TEST(ImgAddAllTest, WholeListingIsJudgedBeforeAnyCheck) {
  CurrentFolderKeeper keeper;
  {
    OrderedListingFs fs(false);
    ScriptRun run(&fs);
    WriteTestImg(run.game(), {{0, 1, "a.dff"}});
    const std::string mod = UseModX1(run, "IMG OPENDEF\r\nIMG ADDALL\r\n");
    WriteTestFile(mod + "a.dff", "data");
    const std::string long_name = std::string(60, 'z') + ".dff";
    WriteTestFile(mod + long_name, "data");
    EXPECT_EQ(ModX1Log(run.game(),
                       {"Reading IMG...", "Indexes:  1",
                        "Invalid filename length on: " + std::string(49, 'z'),
                        "Max length is 23"},
                       false),
              run.Run());
    EXPECT_EQ("a.dff", run.context().Img.Entries[0].Name());
  }
  {
    OrderedListingFs fs(false);
    ScriptRun run(&fs);
    WriteTestImg(run.game(), {{0, 1, "a.dff"}});
    const std::string mod = UseModX1(run, "IMG OPENDEF\r\nIMG ADDALL\r\n");
    WriteTestFile(mod + "a.dff", "data");
    run.context().Img.PendingAdds.Others.resize(3000);
    EXPECT_EQ(ModX1Log(run.game(),
                       {"Reading IMG...", "Indexes:  1",
                        "IMG queue full: a.dff not queued (at most 3001 files "
                        "and as many textures until IMG CLOSE)"},
                       false),
              run.Run());
    EXPECT_EQ(3000u, run.context().Img.PendingAdds.Others.size());
    EXPECT_EQ("a.dff", run.context().Img.Entries[0].Name());
  }
  {
    OrderedListingFs fs(false);
    ScriptRun run(&fs);
    const std::string mod = UseModX1(run, "IMG ADDALL\r\n");
    EXPECT_EQ(ModX1Log(run.game(),
                       {"Checking object QuarnInstall.txt...  ",
                        "ERROR: IMG not open"},
                       false),
              run.Run());
    EXPECT_EQ(std::vector<std::string>{mod + "|QuarnInstall.txt"},
              Queued(run.context().Img.PendingAdds.Others));
  }
}

TEST(ImgAddAllTest, FolderWithoutOrdinaryFilesQueuesAndLogsNothing) {
  CurrentFolderKeeper keeper;
  ScriptRun run;
  WriteTestImg(run.game(), {{0, 1, "a.dff"}});
  const std::string source = run.installer() + "models\\";
  WriteTestFile(source + "hidden.dff", "data");
  WriteTestFile(source + "sub\\inner.dff", "data");
  ASSERT_TRUE(run.fs().SetAttributes(source + "hidden.dff", kAttrHidden));

  InstallContext& ctx = run.context();
  ctx.SourceDir = source;
  ctx.ScriptLine = "IMG ADDALL";
  EXPECT_EQ(CommandResult::kContinue, DispatchLine(ctx));
  EXPECT_TRUE(ctx.CommandRecognised);
  EXPECT_EQ("", run.window().shown);
  EXPECT_TRUE(ctx.Img.PendingAdds.Others.empty());

  ctx.SourceDir = run.installer() + "missing\\";
  EXPECT_EQ(CommandResult::kEndRun, DispatchLine(ctx));
  EXPECT_EQ("Can't read folder " + run.installer() + "missing\\\r\n",
            run.window().shown);
}

}  // namespace
}  // namespace quarn
