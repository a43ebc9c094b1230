// The headless runner: the same engine as the window program, no windows.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "editing/run_context.h"
#include "platform/file_system.h"

namespace quarn {

/// Exit statuses of the headless runner.
enum ExitStatus {
  kExitAllDone = 0,
  kExitFailed = 1,
  kExitAborted = 2,
  kExitUsage = 64,
};

/// The exit status of a run that ended in `state`.
int ExitStatusOf(RunState state);

/// Prints `problem` and a pointer to the help on `err`; returns kExitUsage.
int UsageError(FILE* err, const std::string& problem);

/// Runs the headless runner with `args` (without the program name) over
/// `fs`; the log goes to `out` as it is written, problems with the call to
/// `err`. Returns the exit status.
int RunQuarn(const std::vector<std::string>& args, FileSystem& fs, FILE* out,
             FILE* err);

}  // namespace quarn
