// A test fixture that runs the headless runner and captures what it prints.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/quarn_cli.h"
#include "testutil/stream_text.h"
#include "testutil/test_files.h"

namespace quarn {

/// A temporary folder holding a game folder ("game\" with "gta-vc.exe");
/// Run() calls the runner and keeps its exit status, stdout and stderr.
class QuarnCliTest : public ::testing::Test {
 protected:
  QuarnCliTest() : fs_(MakeNativeFileSystem()) {
    WriteTestFile(game() + "gta-vc.exe", "exe");
  }
  ~QuarnCliTest() override { fs_->ChangeFolder(start_folder_); }

  /// The game folder, ending in a backslash.
  std::string game() const { return folder_.path() + "game\\"; }
  /// An installer folder, ending in a backslash.
  std::string mod() const { return folder_.path() + "mod\\"; }

  /// Runs `quarn` with `args`; stdout lands in out_, stderr in err_.
  int Run(const std::vector<std::string>& args) { return Run(args, *fs_); }

  /// As Run(args), over `fs` (for instance a wrapper around fs_).
  int Run(const std::vector<std::string>& args, FileSystem& fs) {
    FILE* out = tmpfile();
    FILE* err = tmpfile();
    const int status = RunQuarn(args, fs, out, err);
    out_ = TakeStreamText(out);
    err_ = TakeStreamText(err);
    return status;
  }

  TempFolder folder_;
  std::unique_ptr<FileSystem> fs_;
  std::string start_folder_ = fs_->CurrentFolder();
  std::string out_, err_;
};

}  // namespace quarn
