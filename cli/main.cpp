// Entry point of the headless runner `quarn`.
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/quarn_cli.h"

int main(int argc, char** argv) {
#ifndef _WIN32
  // A reader that stops reading (a pager, `| head`) must not kill the run
  // half-way, possibly in the middle of a rebuild; the log file still gets
  // every line.
  std::signal(SIGPIPE, SIG_IGN);
#endif
#ifdef _WIN32
  // The log's bytes must reach stdout exactly as the log file gets them; a
  // text-mode stream would turn every CR LF into CR CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::unique_ptr<quarn::FileSystem> fs = quarn::MakeNativeFileSystem();
  return quarn::RunQuarn(args, *fs, stdout, stderr);
}
