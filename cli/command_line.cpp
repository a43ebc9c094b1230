#include "cli/command_line.h"

namespace quarn {
namespace {

bool TakeValue(const std::vector<std::string>& args, size_t* i,
               std::string* value, std::string* error) {
  const std::string& option = args[*i];
  if (*i + 1 >= args.size() || args[*i + 1].empty()) {
    *error = option + " needs a folder";
    return false;
  }
  *value = args[++*i];
  return true;
}

bool ParseInstallOptions(const std::vector<std::string>& args,
                         CommandLine* line, std::string* error) {
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--dir") {
      if (!TakeValue(args, &i, &line->installer_dir, error)) return false;
    } else if (arg == "--game") {
      if (!TakeValue(args, &i, &line->game_dir, error)) return false;
    } else if (arg == "--scripted") {
      line->scripted = true;
    } else if (arg == "--dump-ids") {
      line->dump_ids = true;
    } else if (arg == "--dry-run") {
      line->dry_run = true;
    } else {
      *error = "unknown option '" + arg + "'";
      return false;
    }
  }
  if (line->scripted && !line->game_dir.empty()) {
    *error = "--game and --scripted exclude each other";
    return false;
  }
  if (!line->scripted && line->game_dir.empty()) {
    *error = "say where the game is: --game DIR, or --scripted";
    return false;
  }
  return true;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* line,
                      std::string* error) {
  *line = CommandLine();
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    line->action = CommandLine::Action::kHelp;
    return true;
  }
  if (args.size() == 1 && args[0] == "--version") {
    line->action = CommandLine::Action::kVersion;
    return true;
  }
  if (args.empty() || args[0] != "install") {
    *error =
        args.empty() ? "no command given" : "unknown command '" + args[0] + "'";
    return false;
  }
  return ParseInstallOptions(args, line, error);
}

std::string UsageText() {
  return "usage: quarn install [--dir DIR] [--game DIR | --scripted] "
         "[--dump-ids] [--dry-run]\n"
         "       quarn --help | --version\n"
         "\n"
         "Runs the install script(s) found in the installer folder DIR "
         "(default:\n"
         "the current folder) against the game folder, as the window program\n"
         "does, and prints the install log as it is written.\n"
         "\n"
         "  --dir DIR    the installer folder; the log file "
         "QuarnInstall-log.txt\n"
         "               and ID dump.txt are written there\n"
         "  --game DIR   the game folder; it must hold gta-vc.exe\n"
         "  --scripted   leave the game folder to the scripts (INSTALL PATH)\n"
         "  --dump-ids   write the used object IDs to ID dump.txt at the end\n"
         "  --dry-run    change nothing on disk; afterwards stderr lists what\n"
         "               the run would have created, changed and deleted\n"
         "\n"
         "Exit status: 0 all done, 1 the installation failed, 2 the script "
         "was\n"
         "aborted, 64 bad usage.\n";
}

}  // namespace quarn
