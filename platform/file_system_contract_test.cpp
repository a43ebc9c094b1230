// One suite for every backend: natively it checks the POSIX file system,
// in the Windows build (run under Wine) the Win32 one, and every other
// backend is added to the list at the end. An expectation here must hold on
// Windows, under Wine and on Linux alike.
#include "testutil/file_system_contract.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/memory_file_system.h"
#include "testutil/file_tree.h"
#include "testutil/overlay_backend.h"
#include "testutil/test_files.h"
#include "text/ascii.h"

namespace quarn {
namespace {

class FileSystemContract : public ::testing::TestWithParam<FileSystemBackend> {
 protected:
  std::string Path(const std::string& relative) const {
    return temp_.path() + relative;
  }

  // Writes a file through the backend under test, making its folders first,
  // so that a backend that keeps files to itself is set up like any other.
  void Put(const std::string& relative, const std::string& bytes) {
    PutIn(*fs_, relative, bytes);
  }

  void PutIn(FileSystem& fs, const std::string& relative,
             const std::string& bytes) {
    for (size_t at = relative.find('\\'); at != std::string::npos;
         at = relative.find('\\', at + 1)) {
      fs.MakeFolder(Path(relative.substr(0, at)));
    }
    std::unique_ptr<File> file =
        fs.Open(Path(relative), OpenMode::kCreate, nullptr);
    ASSERT_TRUE(file) << relative;
    ASSERT_TRUE(file->WriteAt(0, bytes.data(), bytes.size())) << relative;
  }

  void Folder(const std::string& relative) {
    ASSERT_TRUE(fs_->MakeFolder(Path(relative))) << relative;
  }

  std::string ReadAll(const std::string& relative) {
    std::unique_ptr<File> file =
        fs_->Open(Path(relative), OpenMode::kRead, nullptr);
    if (!file) return "<cannot open>";
    uint64_t length = 0;
    if (!file->Length(&length)) return "<no length>";
    std::string bytes(static_cast<size_t>(length), '\0');
    size_t got = 0;
    if (length > 0 && !file->ReadAt(0, &bytes[0], bytes.size(), &got)) {
      return "<read error>";
    }
    bytes.resize(got);
    return bytes;
  }

  // The attributes apart from the archive bit, which Wine reports on every
  // file whatever was set.
  uint32_t AttributesBesidesArchive(const std::string& relative) {
    const uint32_t attributes = fs_->AttributesOf(Path(relative));
    return attributes == kNoSuchFile ? attributes : attributes & ~kAttrArchive;
  }

  // Every entry with its attributes apart from archive and normal.
  std::string Listing(const std::string& folder) {
    std::vector<FolderEntry> entries;
    if (fs_->ListFolder(Path(folder), &entries) != FsStatus::kOkay) {
      return "<cannot list>";
    }
    std::string listing;
    for (const FolderEntry& entry : entries) {
      const uint32_t shown = entry.attributes & ~(kAttrArchive | kAttrNormal);
      listing += entry.name + "=" + std::to_string(shown) + " ";
    }
    return listing;
  }

  bool ListsByCreation(const std::string& folder) {
    return fs_->ListingRulesOf(Path(folder)).order ==
           ListingRules::Order::kByCreation;
  }

  std::vector<std::string> Names(const std::string& folder) {
    std::vector<FolderEntry> entries;
    std::vector<std::string> names;
    if (fs_->ListFolder(Path(folder), &entries) != FsStatus::kOkay) {
      names.push_back("<cannot list>");
    }
    for (const FolderEntry& entry : entries) names.push_back(entry.name);
    return names;
  }

  TempFolder temp_;
  std::unique_ptr<FileSystem> fs_ = GetParam().make(temp_.path());
};

TEST_P(FileSystemContract, AttributesAreSetAndReadBack) {
  Put("game.dat", "x");
  ASSERT_TRUE(fs_->SetAttributes(Path("game.dat"), 0));
  const uint32_t cleared = fs_->AttributesOf(Path("game.dat"));
  EXPECT_TRUE(cleared == kAttrNormal || cleared == kAttrArchive) << cleared;

  ASSERT_TRUE(fs_->SetAttributes(Path("game.dat"), kAttrHidden));
  EXPECT_EQ(kAttrHidden, AttributesBesidesArchive("game.dat"));
  ASSERT_TRUE(fs_->SetAttributes(Path("game.dat"), kAttrSystem));
  EXPECT_EQ(kAttrSystem, AttributesBesidesArchive("game.dat"));
  ASSERT_TRUE(fs_->SetAttributes(Path("game.dat"), kAttrReadOnly));
  EXPECT_EQ(kAttrReadOnly, AttributesBesidesArchive("game.dat"));
  ASSERT_TRUE(fs_->SetAttributes(Path("game.dat"),
                                 kAttrReadOnly | kAttrHidden | kAttrSystem));
  EXPECT_EQ(kAttrReadOnly | kAttrHidden | kAttrSystem,
            AttributesBesidesArchive("game.dat"));

  ASSERT_TRUE(fs_->SetAttributes(Path("game.dat"), 0));
  const uint32_t again = fs_->AttributesOf(Path("game.dat"));
  EXPECT_TRUE(again == kAttrNormal || again == kAttrArchive) << again;
}

TEST_P(FileSystemContract, FoldersAndMissingNames) {
  Folder("maps");
  EXPECT_EQ(kAttrDirectory, fs_->AttributesOf(Path("maps")));
  ASSERT_TRUE(fs_->SetAttributes(Path("maps"), kAttrHidden));
  EXPECT_EQ(kAttrDirectory | kAttrHidden, fs_->AttributesOf(Path("maps")));
  ASSERT_TRUE(fs_->SetAttributes(Path("maps"), 0));
  EXPECT_EQ(kAttrDirectory, fs_->AttributesOf(Path("maps")));

  EXPECT_EQ(kNoSuchFile, fs_->AttributesOf(Path("absent.dat")));
  EXPECT_EQ(kNoSuchFile, fs_->AttributesOf(Path("absent\\inner.dat")));
  EXPECT_FALSE(fs_->SetAttributes(Path("absent.dat"), 0));

  // A trailing backslash names a folder only.
  Put("file.dat", "x");
  EXPECT_EQ(kAttrDirectory, fs_->AttributesOf(Path("maps\\")));
  EXPECT_EQ(kNoSuchFile, fs_->AttributesOf(Path("file.dat\\")));
  EXPECT_FALSE(fs_->Open(Path("file.dat\\"), OpenMode::kRead, nullptr));
}

TEST_P(FileSystemContract, LetterCaseDoesNotMatter) {
  Put("Data\\Gta_VC.dat", "list");
  EXPECT_EQ("list", ReadAll("data\\gta_vc.DAT"));
  EXPECT_NE(kNoSuchFile, fs_->AttributesOf(Path("DATA\\GTA_VC.DAT")));

  // A new file keeps the case it was given, inside the folder that exists.
  std::unique_ptr<File> created =
      fs_->Open(Path("DATA\\New.txt"), OpenMode::kCreate, nullptr);
  ASSERT_TRUE(created);
  created.reset();
  EXPECT_EQ((std::vector<std::string>{".", "..", "Gta_VC.dat", "New.txt"}),
            Names("data"));
}

// Windows resolves "." and ".." by the names alone, before it looks at the
// disk, so a missing folder before ".." does not matter.
TEST_P(FileSystemContract, EverySpellingOfAPathNamesOnePlace) {
  Put("data\\maps\\docks.ipl", "docks");
  EXPECT_EQ("docks", ReadAll("data\\.\\MAPS\\..\\maps\\\\docks.ipl"));
  EXPECT_EQ("docks", ReadAll("data/maps//docks.ipl"));
  EXPECT_EQ("docks", ReadAll("absent\\..\\data\\maps\\docks.ipl"));
  EXPECT_EQ(kAttrDirectory, fs_->AttributesOf(Path("data\\absent\\..\\")));
  ASSERT_TRUE(fs_->MakeFolder(Path("absent\\..\\data\\new")));
  EXPECT_EQ((std::vector<std::string>{".", "..", "maps", "new"}),
            Names("data"));
}

// What a failed run prints after its log: every failure names the path it
// was given and a reason in words, one line without its line end.
TEST_P(FileSystemContract, FailuresSayWhereAndWhy) {
  const auto expect_failure = [&](const std::string& relative) {
    const FsError error = fs_->LastError();
    EXPECT_EQ(Path(relative), error.path);
    EXPECT_NE("", error.reason) << relative;
    EXPECT_EQ(std::string::npos, error.reason.find_first_of("\r\n"))
        << error.reason;
  };
  Put("here.dat", "x");
  fs_->ClearLastError();
  EXPECT_EQ("", fs_->LastError().path);
  EXPECT_EQ("", fs_->LastError().reason);

  EXPECT_FALSE(fs_->Open(Path("absent.dat"), OpenMode::kRead, nullptr));
  expect_failure("absent.dat");
  // Finding nothing is no failure, nor is success: the last one stays.
  EXPECT_EQ(kNoSuchFile, fs_->AttributesOf(Path("gone.dat")));
  EXPECT_EQ("x", ReadAll("here.dat"));
  expect_failure("absent.dat");

  EXPECT_FALSE(fs_->RemoveFile(Path("missing.dat")));
  expect_failure("missing.dat");
  std::vector<FolderEntry> entries;
  EXPECT_EQ(FsStatus::kNotFound, fs_->ListFolder(Path("nowhere"), &entries));
  expect_failure("nowhere");
  EXPECT_FALSE(fs_->MakeFolder(Path("here.dat")));
  expect_failure("here.dat");
  EXPECT_FALSE(fs_->CopyOver(Path("absent.dat"), Path("copy.dat")));
  expect_failure("absent.dat");
  ASSERT_TRUE(fs_->SetAttributes(Path("here.dat"), kAttrReadOnly));
  EXPECT_FALSE(fs_->RenameOver(Path("new.dat"), Path("here.dat")));
  expect_failure("new.dat");
  EXPECT_FALSE(fs_->Open(Path("here.dat"), OpenMode::kReadWrite, nullptr));
  expect_failure("here.dat");
  ASSERT_TRUE(fs_->SetAttributes(Path("here.dat"), 0));

  // A file reports through the file system it was opened by.
  Put("read.dat", "bytes");
  std::unique_ptr<File> reading =
      fs_->Open(Path("read.dat"), OpenMode::kRead, nullptr);
  ASSERT_TRUE(reading);
  fs_->ClearLastError();
  EXPECT_FALSE(reading->WriteAt(0, "y", 1));
  expect_failure("read.dat");
  fs_->ClearLastError();
  // Windows flushes only what it may write.
  EXPECT_FALSE(reading->Flush());
  expect_failure("read.dat");
  EXPECT_FALSE(fs_->Open(Path("read.dat"), OpenMode::kRead, nullptr));
  expect_failure("read.dat");
}

TEST_P(FileSystemContract, OpensAreUnshared) {
  Put("gta3.img", "archive");
  Put("other.img", "other");
  FsStatus status = FsStatus::kOkay;
  std::unique_ptr<File> held =
      fs_->Open(Path("gta3.img"), OpenMode::kRead, &status);
  ASSERT_TRUE(held);
  EXPECT_EQ(FsStatus::kOkay, status);

  for (OpenMode mode :
       {OpenMode::kRead, OpenMode::kReadWrite, OpenMode::kCreate}) {
    status = FsStatus::kOkay;
    EXPECT_FALSE(fs_->Open(Path("GTA3.IMG"), mode, &status));
    EXPECT_EQ(FsStatus::kSharingViolation, status);
  }
  EXPECT_FALSE(fs_->CopyOver(Path("other.img"), Path("gta3.img")));
  EXPECT_FALSE(fs_->CopyOver(Path("gta3.img"), Path("copy.img")));
  EXPECT_FALSE(fs_->RenameOver(Path("gta3.img"), Path("moved.img")));
  EXPECT_FALSE(fs_->RemoveFile(Path("gta3.img")));
  // Another file is not affected.
  EXPECT_TRUE(fs_->Open(Path("other.img"), OpenMode::kReadWrite, nullptr));

  // Every handle in the process counts, whichever object opened it.
  if (GetParam().make_second_view) {
    std::unique_ptr<FileSystem> second = GetParam().make_second_view(*fs_);
    status = FsStatus::kOkay;
    EXPECT_FALSE(second->Open(Path("gta3.img"), OpenMode::kRead, &status));
    EXPECT_EQ(FsStatus::kSharingViolation, status);
  }

  held.reset();
  EXPECT_EQ("archive", ReadAll("gta3.img"));
  EXPECT_TRUE(fs_->Open(Path("gta3.img"), OpenMode::kReadWrite, nullptr));
}

// A probe changes nothing, lets what the call would do, and refuses what the
// call would refuse with the call's own record of why; the disk it asks
// about is the same for a folder and the folders in it.
TEST_P(FileSystemContract, ProbesJudgeAsTheCallsDoAndChangeNothing) {
  Put("game\\open.dat", "open");
  Put("game\\kept.dat", "kept");
  Folder("game\\data");
  ASSERT_TRUE(fs_->SetAttributes(Path("game\\kept.dat"), kAttrReadOnly));
  std::unique_ptr<File> held =
      fs_->Open(Path("game\\open.dat"), OpenMode::kRead, nullptr);
  ASSERT_TRUE(held);
  const std::string before = Listing("game") + ReadAll("game\\kept.dat");
  // The call runs after the probe, and must fail as the probe said.
  const auto same_record = [&](ProbeOutcome probed,
                               const std::function<bool()>& call) {
    const FsError by_probe = fs_->LastError();
    fs_->ClearLastError();
    EXPECT_FALSE(call());
    EXPECT_EQ(by_probe.path, fs_->LastError().path);
    EXPECT_EQ(by_probe.reason, fs_->LastError().reason);
    return probed;
  };

  fs_->ClearLastError();
  EXPECT_EQ(ProbeOutcome::kAllowed, fs_->ProbeWrite(Path("game\\kept.dat")));
  EXPECT_EQ(ProbeOutcome::kAllowed, fs_->ProbeReplace(Path("GAME\\KEPT.DAT")));
  EXPECT_EQ(ProbeOutcome::kAllowed,
            fs_->ProbeAttributes(Path("game\\open.dat")));
  EXPECT_EQ(ProbeOutcome::kAllowed, fs_->ProbeReplace(Path("game\\data")));
  const ProbeOutcome new_name = fs_->ProbeNewName(Path("game\\data"));
  EXPECT_TRUE(new_name == ProbeOutcome::kAllowed ||
              new_name == ProbeOutcome::kUnknown);
  EXPECT_EQ("", fs_->LastError().reason);

  fs_->ClearLastError();
  EXPECT_EQ(ProbeOutcome::kHeld,
            same_record(fs_->ProbeWrite(Path("game\\open.dat")), [&] {
              return fs_->Open(Path("game\\open.dat"), OpenMode::kReadWrite,
                               nullptr) != nullptr;
            }));
  EXPECT_EQ(ProbeOutcome::kHeld,
            same_record(fs_->ProbeReplace(Path("game\\open.dat")), [&] {
              return fs_->RemoveFile(Path("game\\open.dat"));
            }));
  EXPECT_EQ(ProbeOutcome::kRefused,
            same_record(fs_->ProbeWrite(Path("game\\absent.dat")), [&] {
              return fs_->Open(Path("game\\absent.dat"), OpenMode::kReadWrite,
                               nullptr) != nullptr;
            }));
  EXPECT_EQ(ProbeOutcome::kRefused, fs_->ProbeNewName(Path("game\\absent")));
  EXPECT_EQ(Path("game\\absent"), fs_->LastError().path);

  held.reset();
  EXPECT_EQ(ProbeOutcome::kAllowed, fs_->ProbeWrite(Path("game\\open.dat")));
  EXPECT_EQ(before, Listing("game") + ReadAll("game\\kept.dat"));
  EXPECT_EQ(kAttrReadOnly, AttributesBesidesArchive("game\\kept.dat"));

  // The words for a missing file are those its calls record.
  EXPECT_FALSE(fs_->RemoveFile(Path("game\\absent.dat")));
  EXPECT_EQ(fs_->RefusalReason(FsStatus::kNotFound), fs_->LastError().reason);
  ASSERT_TRUE(fs_->SetAttributes(Path("game\\kept.dat"), 0));

  DiskSpace game, data;
  if (fs_->FreeSpaceOf(Path("game"), &game)) {
    ASSERT_TRUE(fs_->FreeSpaceOf(Path("game\\data"), &data));
    EXPECT_EQ(game.volume, data.volume);
    EXPECT_GT(game.free_bytes, 0u);
    EXPECT_GE(game.block_bytes, 1u);
    EXPECT_NE("", game.full_reason);
  }
}

// Every spelling of a folder names one lock; another folder's is its own;
// a folder that does not exist has none; a released lock can be taken again.
TEST_P(FileSystemContract, OneRunLockPerFolder) {
  Folder("game");
  Folder("other");
  FsStatus status = FsStatus::kOtherError;
  std::unique_ptr<FolderLock> held = fs_->LockFolder(Path("game"), &status);
  ASSERT_TRUE(held);
  EXPECT_EQ(FsStatus::kOkay, status);

  fs_->ClearLastError();
  EXPECT_FALSE(fs_->LockFolder(Path("GAME\\"), &status));
  EXPECT_EQ(FsStatus::kSharingViolation, status);
  EXPECT_EQ(Path("GAME\\"), fs_->LastError().path);
  EXPECT_EQ(kReasonLocked, fs_->LastError().reason);
  if (GetParam().make_second_view) {
    std::unique_ptr<FileSystem> second = GetParam().make_second_view(*fs_);
    EXPECT_FALSE(second->LockFolder(Path("game"), &status));
    EXPECT_EQ(FsStatus::kSharingViolation, status);
  }
  EXPECT_TRUE(fs_->LockFolder(Path("other"), &status));
  EXPECT_EQ(FsStatus::kOkay, status);
  EXPECT_FALSE(fs_->LockFolder(Path("absent"), &status));
  EXPECT_EQ(FsStatus::kNotFound, status);
  EXPECT_EQ(Path("absent"), fs_->LastError().path);

  held.reset();
  EXPECT_TRUE(fs_->LockFolder(Path("game"), &status));
  EXPECT_EQ(FsStatus::kOkay, status);
}

TEST_P(FileSystemContract, OpenModes) {
  FsStatus status = FsStatus::kOkay;
  EXPECT_FALSE(fs_->Open(Path("absent.dat"), OpenMode::kRead, &status));
  EXPECT_EQ(FsStatus::kNotFound, status);
  EXPECT_FALSE(fs_->Open(Path("absent.dat"), OpenMode::kReadWrite, &status));
  EXPECT_EQ(FsStatus::kNotFound, status);
  EXPECT_FALSE(fs_->Open(Path("absent\\new.dat"), OpenMode::kCreate, &status));
  EXPECT_EQ(FsStatus::kNotFound, status);
  EXPECT_EQ(kNoSuchFile, fs_->AttributesOf(Path("absent.dat")));

  Put("full.txt", "abcdef");
  std::unique_ptr<File> emptied =
      fs_->Open(Path("full.txt"), OpenMode::kCreate, &status);
  ASSERT_TRUE(emptied);
  uint64_t length = 99;
  ASSERT_TRUE(emptied->Length(&length));
  EXPECT_EQ(0u, length);
  emptied.reset();
  EXPECT_EQ("", ReadAll("full.txt"));

  Folder("folder");
  for (OpenMode mode :
       {OpenMode::kRead, OpenMode::kReadWrite, OpenMode::kCreate}) {
    status = FsStatus::kOkay;
    EXPECT_FALSE(fs_->Open(Path("folder"), mode, &status));
    EXPECT_EQ(FsStatus::kAccessDenied, status);
  }
}

TEST_P(FileSystemContract, ReadOnlyFilesAreNotWritten) {
  Put("locked.dat", "keep");
  ASSERT_TRUE(fs_->SetAttributes(Path("locked.dat"), kAttrReadOnly));
  FsStatus status = FsStatus::kOkay;
  EXPECT_TRUE(fs_->Open(Path("locked.dat"), OpenMode::kRead, &status));
  for (OpenMode mode : {OpenMode::kReadWrite, OpenMode::kCreate}) {
    status = FsStatus::kOkay;
    EXPECT_FALSE(fs_->Open(Path("locked.dat"), mode, &status));
    EXPECT_EQ(FsStatus::kAccessDenied, status);
  }
  Put("new.dat", "new");
  EXPECT_FALSE(fs_->CopyOver(Path("new.dat"), Path("locked.dat")));
  EXPECT_FALSE(fs_->RemoveFile(Path("locked.dat")));
  EXPECT_EQ("keep", ReadAll("locked.dat"));

  ASSERT_TRUE(fs_->SetAttributes(Path("locked.dat"), 0));
  EXPECT_TRUE(fs_->CopyOver(Path("new.dat"), Path("locked.dat")));
  EXPECT_EQ("new", ReadAll("locked.dat"));
  EXPECT_TRUE(fs_->RemoveFile(Path("locked.dat")));
  EXPECT_EQ(kNoSuchFile, fs_->AttributesOf(Path("locked.dat")));
}

TEST_P(FileSystemContract, HiddenAndSystemFilesAreNotRecreated) {
  Put("hidden.dat", "hidden");
  Put("system.dat", "system");
  ASSERT_TRUE(fs_->SetAttributes(Path("hidden.dat"), kAttrHidden));
  ASSERT_TRUE(fs_->SetAttributes(Path("system.dat"), kAttrSystem));
  FsStatus status = FsStatus::kOkay;
  EXPECT_FALSE(fs_->Open(Path("hidden.dat"), OpenMode::kCreate, &status));
  EXPECT_EQ(FsStatus::kAccessDenied, status);
  EXPECT_FALSE(fs_->Open(Path("system.dat"), OpenMode::kCreate, &status));
  EXPECT_EQ(FsStatus::kAccessDenied, status);
  EXPECT_EQ("hidden", ReadAll("hidden.dat"));
  EXPECT_EQ("system", ReadAll("system.dat"));

  // Rewriting in place is allowed.
  std::unique_ptr<File> file =
      fs_->Open(Path("hidden.dat"), OpenMode::kReadWrite, &status);
  ASSERT_TRUE(file);
  EXPECT_TRUE(file->WriteAt(0, "H", 1));
  file.reset();
  EXPECT_EQ("Hidden", ReadAll("hidden.dat"));
  EXPECT_EQ(kAttrHidden, AttributesBesidesArchive("hidden.dat"));
}

TEST_P(FileSystemContract, ReadsAndWritesAtPositions) {
  std::unique_ptr<File> file =
      fs_->Open(Path("data.bin"), OpenMode::kCreate, nullptr);
  ASSERT_TRUE(file);
  ASSERT_TRUE(file->WriteAt(0, "hello", 5));
  ASSERT_TRUE(file->WriteAt(10, "world", 5));
  uint64_t length = 0;
  ASSERT_TRUE(file->Length(&length));
  EXPECT_EQ(15u, length);

  char buffer[16] = {};
  size_t got = 0;
  ASSERT_TRUE(file->ReadAt(3, buffer, 9, &got));
  EXPECT_EQ(std::string("lo\0\0\0\0\0wo", 9), std::string(buffer, got));
  ASSERT_TRUE(file->ReadAt(12, buffer, sizeof buffer, &got));
  EXPECT_EQ("rld", std::string(buffer, got));
  ASSERT_TRUE(file->ReadAt(40, buffer, sizeof buffer, &got));
  EXPECT_EQ(0u, got);

  ASSERT_TRUE(file->WriteAt(1, "EL", 2));
  ASSERT_TRUE(file->Resize(4));
  ASSERT_TRUE(file->Length(&length));
  EXPECT_EQ(4u, length);
  ASSERT_TRUE(file->Resize(7));
  file.reset();
  EXPECT_EQ(std::string("hELl\0\0\0", 7), ReadAll("data.bin"));

  std::unique_ptr<File> again =
      fs_->Open(Path("data.bin"), OpenMode::kReadWrite, nullptr);
  ASSERT_TRUE(again);
  ASSERT_TRUE(again->WriteAt(5, "xyz", 3));
  again.reset();
  EXPECT_EQ(std::string("hELl\0xyz", 8), ReadAll("data.bin"));
}

// Offsets past 4 GiB must not wrap. The file is sparse under Wine and on
// Linux; on Windows it takes the space.
// A flush changes nothing a reader sees: the bytes and the length stay, and
// writing goes on after it.
TEST_P(FileSystemContract, FlushKeepsTheBytesAndTheLength) {
  std::unique_ptr<File> file =
      fs_->Open(Path("gta_vc.dat"), OpenMode::kCreate, nullptr);
  ASSERT_TRUE(file);
  ASSERT_TRUE(file->WriteAt(0, "abcdef", 6));
  ASSERT_TRUE(file->Resize(4));
  fs_->ClearLastError();
  EXPECT_TRUE(file->Flush());
  EXPECT_TRUE(file->WriteAt(4, "gh", 2));
  EXPECT_TRUE(file->Flush());
  EXPECT_EQ("", fs_->LastError().reason);
  file.reset();
  EXPECT_EQ("abcdgh", ReadAll("gta_vc.dat"));

  file = fs_->Open(Path("gta_vc.dat"), OpenMode::kReadWrite, nullptr);
  ASSERT_TRUE(file);
  ASSERT_TRUE(file->Resize(2));
  EXPECT_TRUE(file->Flush());
  file.reset();
  EXPECT_EQ("ab", ReadAll("gta_vc.dat"));
}

TEST_P(FileSystemContract, OffsetsBeyondFourGigabytes) {
  const uint64_t far = (uint64_t{1} << 32) + 16;
  std::unique_ptr<File> file =
      fs_->Open(Path("big.img"), OpenMode::kCreate, nullptr);
  ASSERT_TRUE(file);
  ASSERT_TRUE(file->WriteAt(0, "head", 4));
  ASSERT_TRUE(file->WriteAt(far, "tail", 4));
  uint64_t length = 0;
  ASSERT_TRUE(file->Length(&length));
  EXPECT_EQ(far + 4, length);
  char buffer[8];
  size_t got = 0;
  ASSERT_TRUE(file->ReadAt(far - 2, buffer, sizeof buffer, &got));
  EXPECT_EQ(std::string("\0\0tail", 6), std::string(buffer, got));
  ASSERT_TRUE(file->ReadAt(0, buffer, 4, &got));
  EXPECT_EQ("head", std::string(buffer, got));
  ASSERT_TRUE(file->Resize(far + 2));
  ASSERT_TRUE(file->Length(&length));
  EXPECT_EQ(far + 2, length);
  ASSERT_TRUE(file->Resize(0));
}

// Either way, overlapping or not, across more than one buffer of the
// default move, and past the end of the file.
TEST_P(FileSystemContract, MoveBytesMovesWithinTheFile) {
  const uint64_t size = kFileMoveChunkBytes * 2 + 12345;
  std::string model(static_cast<size_t>(size), '\0');
  for (size_t i = 0; i < model.size(); ++i) {
    model[i] = static_cast<char>((i * 7 + i / 4093) & 0xff);
  }
  Put("gta3.img", model);
  std::unique_ptr<File> file =
      fs_->Open(Path("gta3.img"), OpenMode::kReadWrite, nullptr);
  ASSERT_TRUE(file);
  const auto move = [&](uint64_t from, uint64_t to, uint64_t length) {
    uint64_t written = 99;
    EXPECT_EQ(TransferOutcome::kDone,
              file->MoveBytes(from, to, length, &written))
        << from << "->" << to;
    EXPECT_EQ(length, written);
    const std::string moved = model.substr(from, length);
    if (model.size() < to + length) model.resize(to + length, '\0');
    model.replace(to, length, moved);
  };
  move(1000, 0, size - 1000);
  move(0, 4097, size - 5000);
  move(10, size + 100, 50);
  move(size + 80, 3, 40);
  uint64_t written = 99;
  EXPECT_EQ(TransferOutcome::kReadFailed,
            file->MoveBytes(size, 0, model.size() - size + 1, &written));
  EXPECT_EQ(0u, written);
  file.reset();
  EXPECT_TRUE(model == ReadAll("gta3.img"));

  std::unique_ptr<File> reader =
      fs_->Open(Path("gta3.img"), OpenMode::kRead, nullptr);
  ASSERT_TRUE(reader);
  EXPECT_EQ(TransferOutcome::kWriteFailed,
            reader->MoveBytes(0, 10, 10, &written));
  EXPECT_EQ(0u, written);
  reader.reset();
  EXPECT_TRUE(model == ReadAll("gta3.img"));
}

TEST_P(FileSystemContract, CopyOverReplacesBytesAndAttributes) {
  Put("mod\\car.dff", "new model");
  Put("game\\car.dff", "old model, longer than the new");
  ASSERT_TRUE(fs_->CopyOver(Path("mod\\car.dff"), Path("game\\car.dff")));
  EXPECT_EQ("new model", ReadAll("game\\car.dff"));
  ASSERT_TRUE(fs_->CopyOver(Path("mod\\car.dff"), Path("game\\fresh.dff")));
  EXPECT_EQ("new model", ReadAll("game\\fresh.dff"));

  ASSERT_TRUE(
      fs_->SetAttributes(Path("mod\\car.dff"), kAttrReadOnly | kAttrHidden));
  ASSERT_TRUE(fs_->CopyOver(Path("mod\\car.dff"), Path("game\\marked.dff")));
  EXPECT_EQ(kAttrReadOnly | kAttrHidden,
            AttributesBesidesArchive("game\\marked.dff"));
  // An existing target gets the source's attributes too, and loses its own.
  ASSERT_TRUE(fs_->SetAttributes(Path("game\\fresh.dff"), kAttrSystem));
  EXPECT_FALSE(fs_->CopyOver(Path("game\\car.dff"), Path("game\\fresh.dff")));
  ASSERT_TRUE(fs_->SetAttributes(Path("game\\fresh.dff"), kAttrHidden));
  ASSERT_TRUE(fs_->CopyOver(Path("mod\\car.dff"), Path("game\\fresh.dff")));
  EXPECT_EQ(kAttrReadOnly | kAttrHidden,
            AttributesBesidesArchive("game\\fresh.dff"));
  ASSERT_TRUE(fs_->SetAttributes(Path("mod\\car.dff"), kAttrSystem));
  ASSERT_TRUE(fs_->CopyOver(Path("mod\\car.dff"), Path("game\\car.dff")));
  EXPECT_EQ(kAttrSystem, AttributesBesidesArchive("game\\car.dff"));
  ASSERT_TRUE(fs_->SetAttributes(Path("mod\\car.dff"), 0));
  ASSERT_TRUE(fs_->SetAttributes(Path("game\\car.dff"), 0));
  ASSERT_TRUE(fs_->CopyOver(Path("mod\\car.dff"), Path("game\\car.dff")));
  EXPECT_EQ(0u, AttributesBesidesArchive("game\\car.dff") & ~kAttrNormal);

  EXPECT_FALSE(fs_->CopyOver(Path("mod\\absent.dff"), Path("game\\x.dff")));
  EXPECT_EQ(kNoSuchFile, fs_->AttributesOf(Path("game\\x.dff")));
  EXPECT_FALSE(fs_->CopyOver(Path("mod\\car.dff"), Path("game")));
  EXPECT_FALSE(fs_->CopyOver(Path("game"), Path("game\\folder.dff")));
  // Copying a file onto itself must not lose it.
  EXPECT_FALSE(fs_->CopyOver(Path("game\\car.dff"), Path("GAME\\CAR.DFF")));
  EXPECT_EQ("new model", ReadAll("game\\car.dff"));
  EXPECT_EQ((std::vector<std::string>{".", "..", "car.dff", "fresh.dff",
                                      "marked.dff"}),
            Names("game"));
}

TEST_P(FileSystemContract, RenameOverReplaces) {
  Put("gta3.tmp", "rebuilt");
  Put("gta3.dir", "old directory");
  ASSERT_TRUE(fs_->RenameOver(Path("gta3.tmp"), Path("gta3.dir")));
  EXPECT_EQ("rebuilt", ReadAll("gta3.dir"));
  EXPECT_EQ(kNoSuchFile, fs_->AttributesOf(Path("gta3.tmp")));

  ASSERT_TRUE(fs_->RenameOver(Path("gta3.dir"), Path("fresh.dir")));
  EXPECT_EQ("rebuilt", ReadAll("fresh.dir"));
  EXPECT_FALSE(fs_->RenameOver(Path("absent"), Path("fresh.dir")));
  EXPECT_EQ("rebuilt", ReadAll("fresh.dir"));

  Put("locked.dir", "locked");
  ASSERT_TRUE(fs_->SetAttributes(Path("locked.dir"), kAttrReadOnly));
  EXPECT_FALSE(fs_->RenameOver(Path("fresh.dir"), Path("locked.dir")));
  EXPECT_EQ("locked", ReadAll("locked.dir"));
  EXPECT_EQ("rebuilt", ReadAll("fresh.dir"));
}

TEST_P(FileSystemContract, MakeFolderMakesOneLevel) {
  EXPECT_TRUE(fs_->MakeFolder(Path("models")));
  EXPECT_EQ(kAttrDirectory, fs_->AttributesOf(Path("models")));
  EXPECT_FALSE(fs_->MakeFolder(Path("models")));
  EXPECT_FALSE(fs_->MakeFolder(Path("MODELS")));
  EXPECT_FALSE(fs_->MakeFolder(Path("absent\\inner")));
  EXPECT_EQ(kNoSuchFile, fs_->AttributesOf(Path("absent")));
  EXPECT_TRUE(fs_->MakeFolder(Path("Models\\Cars\\")));
  EXPECT_EQ(kAttrDirectory, fs_->AttributesOf(Path("models\\cars")));
  Put("file", "");
  EXPECT_FALSE(fs_->MakeFolder(Path("file")));
}

TEST_P(FileSystemContract, RemoveFileRemovesOnlyFiles) {
  Put("old.txt", "x");
  EXPECT_TRUE(fs_->RemoveFile(Path("OLD.TXT")));
  EXPECT_EQ(kNoSuchFile, fs_->AttributesOf(Path("old.txt")));
  EXPECT_FALSE(fs_->RemoveFile(Path("old.txt")));
  Folder("folder");
  EXPECT_FALSE(fs_->RemoveFile(Path("folder")));
  EXPECT_EQ(kAttrDirectory, fs_->AttributesOf(Path("folder")));
}

TEST_P(FileSystemContract, RemoveFolderRemovesOnlyEmptyFolders) {
  Put("maps\\a.ipl", "x");
  EXPECT_FALSE(fs_->RemoveFolder(Path("maps")));
  EXPECT_FALSE(fs_->RemoveFolder(Path("maps\\a.ipl")));
  EXPECT_FALSE(fs_->RemoveFolder(Path("absent")));
  ASSERT_TRUE(fs_->RemoveFile(Path("maps\\a.ipl")));
  EXPECT_TRUE(fs_->RemoveFolder(Path("MAPS\\")));
  EXPECT_EQ(kNoSuchFile, fs_->AttributesOf(Path("maps")));
  EXPECT_FALSE(fs_->RemoveFolder(Path("maps")));
  EXPECT_TRUE(fs_->MakeFolder(Path("maps")));
  EXPECT_EQ((std::vector<std::string>{".", ".."}), Names("maps"));
}

TEST_P(FileSystemContract, ListFolderSortsAndMarks) {
  for (const char* name : {"b.txt", "A.txt", "c.TXT", "_u", "h.dat"}) {
    Put(std::string("list\\") + name, "");
  }
  Folder("list\\Sub");
  ASSERT_TRUE(fs_->SetAttributes(Path("list\\h.dat"), kAttrHidden));

  EXPECT_EQ(ListsByCreation("list")
                ? ".=16 ..=16 b.txt=0 A.txt=0 c.TXT=0 _u=0 h.dat=2 Sub=16 "
                : ".=16 ..=16 A.txt=0 b.txt=0 c.TXT=0 h.dat=2 Sub=16 _u=0 ",
            Listing("list"));

  EXPECT_EQ(Names("list"), Names("LIST\\"));
  std::vector<FolderEntry> entries{FolderEntry{"stale", 0}};
  EXPECT_EQ(FsStatus::kNotFound, fs_->ListFolder(Path("absent"), &entries));
  EXPECT_TRUE(entries.empty());
  EXPECT_EQ(FsStatus::kNotFound,
            fs_->ListFolder(Path("list\\b.txt"), &entries));
  EXPECT_EQ((std::vector<std::string>{".", ".."}), Names("list\\Sub\\"));
}

// What a layered backend (the overlay) holds below shows in the order and
// with the attributes the file system below gives it, and the names made
// through the layer are placed and marked as that file system places and
// marks names just made: the same steps list the same, whether they all
// reach the file system below or only the first ones do.
TEST_P(FileSystemContract, ListingsFollowTheRulesOfTheFileSystemBelow) {
  FileSystem& below = GetParam().lower ? GetParam().lower(*fs_) : *fs_;
  for (const char* name : {"zeta.txt", ".cfg", "Beta.txt", "gone.txt"}) {
    PutIn(below, std::string("list\\") + name, "below");
  }
  ASSERT_TRUE(below.MakeFolder(Path("list\\Maps")));
  ASSERT_TRUE(below.SetAttributes(Path("list\\zeta.txt"), kAttrSystem));

  Put("list\\alpha.txt", "above");
  Put("list\\.new", "above");
  Folder("list\\Mods");
  ASSERT_TRUE(fs_->RemoveFile(Path("list\\gone.txt")));
  ASSERT_TRUE(fs_->RenameOver(Path("list\\zeta.txt"), Path("list\\omega.txt")));
  Put("list\\Gone.TXT", "again");
  ASSERT_TRUE(fs_->CopyOver(Path("list\\alpha.txt"), Path("list\\BETA.TXT")));
  ASSERT_TRUE(fs_->SetAttributes(Path("list\\Beta.txt"), kAttrHidden));
  ASSERT_TRUE(fs_->SetAttributes(Path("list\\.cfg"), 0));

  const bool dots_hidden = fs_->ListingRulesOf(Path("list")).dot_names_hidden;
  const std::string dot = dots_hidden ? "2" : "0";
  EXPECT_EQ(ListsByCreation("list")
                ? ".=16 ..=16 .cfg=" + dot +
                      " Beta.txt=2 Maps=16 alpha.txt=0 .new=" + dot +
                      " Mods=16 omega.txt=4 Gone.TXT=0 "
                : ".=16 ..=16 .cfg=" + dot + " .new=" + dot +
                      " alpha.txt=0 Beta.txt=2 Gone.TXT=0 Maps=16 Mods=16 "
                      "omega.txt=4 ",
            Listing("list"));
  EXPECT_EQ(dots_hidden ? kAttrHidden : 0u,
            AttributesBesidesArchive("list\\.new"));
  EXPECT_EQ(dots_hidden ? kAttrHidden : 0u,
            AttributesBesidesArchive("list\\.cfg") & ~kAttrNormal);
}

TEST_P(FileSystemContract, CurrentFolderChanges) {
  const std::string before = fs_->CurrentFolder();
  ASSERT_FALSE(before.empty());
  const std::string here = temp_.path().substr(0, temp_.path().size() - 1);
  Put("Here.txt", "relative");

  ASSERT_TRUE(fs_->ChangeFolder(temp_.path()));
  EXPECT_TRUE(EqualsIgnoringCase(here, fs_->CurrentFolder()))
      << fs_->CurrentFolder();
  std::unique_ptr<File> file = fs_->Open("here.txt", OpenMode::kRead, nullptr);
  EXPECT_TRUE(file);
  file.reset();
  EXPECT_EQ(fs_->CurrentFolder(), fs_->AbsolutePath("."));
  EXPECT_EQ(fs_->CurrentFolder() + "\\sub", fs_->AbsolutePath("sub"));
  EXPECT_FALSE(fs_->ChangeFolder(Path("absent")));

  ASSERT_TRUE(fs_->ChangeFolder(before));
  EXPECT_EQ(before, fs_->CurrentFolder());
}

FileSystemBackend NativeBackend() {
  FileSystemBackend backend;
  backend.name = "Native";
  backend.make = [](const std::string&) { return MakeNativeFileSystem(); };
  backend.make_second_view = [](FileSystem&) { return MakeNativeFileSystem(); };
  return backend;
}

FileSystemBackend MemoryBackend() {
  FileSystemBackend backend;
  backend.name = "Memory";
  backend.make = [](const std::string& root) {
    auto fs = std::make_unique<MemoryFileSystem>();
    MakeFoldersThrough(*fs, root);
    return std::unique_ptr<FileSystem>(std::move(fs));
  };
  return backend;
}

// As a FAT disk lists: in creation order, no name hidden for its spelling.
FileSystemBackend MemoryCreationOrderBackend() {
  FileSystemBackend backend;
  backend.name = "MemoryCreationOrder";
  backend.make = [](const std::string& root) {
    ListingRules rules;
    rules.order = ListingRules::Order::kByCreation;
    auto fs = std::make_unique<MemoryFileSystem>(rules);
    MakeFoldersThrough(*fs, root);
    return std::unique_ptr<FileSystem>(std::move(fs));
  };
  return backend;
}

INSTANTIATE_TEST_SUITE_P(
    Backends, FileSystemContract, ::testing::ValuesIn(ContractBackends()),
    [](const ::testing::TestParamInfo<FileSystemBackend>& info) {
      return info.param.name;
    });

}  // namespace

std::vector<FileSystemBackend> ContractBackends() {
  return {NativeBackend(), OverlayBackend(), MemoryBackend(),
          MemoryCreationOrderBackend(), OverlayOverCreationOrderBackend()};
}

}  // namespace quarn
