// Entry point of the headless runner `quarn`.
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
#ifdef _WIN32
  // The log's bytes must reach stdout exactly as the log file gets them; a
  // text-mode stream would turn every CR LF into CR CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::unique_ptr<quarn::FileSystem> fs = quarn::MakeNativeFileSystem();
  return quarn::RunQuarn(args, *fs, stdout, stderr);
}
