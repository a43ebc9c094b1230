#include "cli/command_line.h"

namespace quarn {
namespace {

bool TakeValue(const std::vector<std::string>& args, size_t* i,
               const char* what, std::string* value, std::string* error) {
  const std::string& option = args[*i];
  if (*i + 1 >= args.size() || args[*i + 1].empty()) {
    *error = option + " needs " + what;
    return false;
  }
  *value = args[++*i];
  return true;
}

// "X1,x3" as its names; an empty name is a typing slip, not a wish.
bool SplitModList(const std::string& list, std::vector<std::string>* names,
                  std::string* error) {
  size_t start = 0;
  for (;;) {
    const size_t comma = list.find(',', start);
    names->push_back(list.substr(start, comma - start));
    if (names->back().empty()) {
      *error = "--mods lists an empty folder name: '" + list + "'";
      return false;
    }
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

// One option of `quarn install`; false with `*error` set when unknown.
bool ReadInstallOption(const std::vector<std::string>& args, size_t* i,
                       CommandLine* line, std::string* error) {
  const std::string& arg = args[*i];
  if (arg == "--dir") {
    return TakeValue(args, i, "a folder", &line->installer_dir, error);
  }
  if (arg == "--game") {
    return TakeValue(args, i, "a folder", &line->game_dir, error);
  }
  if (arg == "--report") {
    std::string form;
    if (!TakeValue(args, i, "text or json", &form, error)) return false;
    if (form != "text" && form != "json") {
      *error = "--report is text or json, not '" + form + "'";
      return false;
    }
    line->report_json = form == "json";
    line->report_given = true;
    return true;
  }
  if (arg == "--report-file") {
    line->report_given = true;
    return TakeValue(args, i, "a file", &line->report_file, error);
  }
  if (arg == "--mods") {
    std::string list;
    line->mods_given = true;
    line->mods.clear();
    return TakeValue(args, i, "a list of mod folders", &list, error) &&
           SplitModList(list, &line->mods, error);
  }
  bool* flag = arg == "--scripted"   ? &line->scripted
               : arg == "--dump-ids" ? &line->dump_ids
               : arg == "--save"     ? &line->save
               : arg == "--dry-run"  ? &line->dry_run
               : arg == "--no-undo"  ? &line->no_undo
                                     : nullptr;
  if (flag == nullptr) {
    *error = "unknown option '" + arg + "' for install";
    return false;
  }
  *flag = true;
  return true;
}

bool ParseInstall(const std::vector<std::string>& args, CommandLine* line,
                  std::string* error) {
  for (size_t i = 1; i < args.size(); ++i) {
    if (!ReadInstallOption(args, &i, line, error)) return false;
  }
  if (line->scripted && !line->game_dir.empty()) {
    *error = "--game and --scripted exclude each other";
    return false;
  }
  if (line->report_given && !line->dry_run) {
    *error = "--report and --report-file go with --dry-run";
    return false;
  }
  return true;
}

bool ParseList(const std::vector<std::string>& args, CommandLine* line,
               std::string* error) {
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] != "--dir") {
      *error = "unknown option '" + args[i] + "' for list";
      return false;
    }
    if (!TakeValue(args, &i, "a folder", &line->installer_dir, error)) {
      return false;
    }
  }
  return true;
}

bool ParseRestore(const std::vector<std::string>& args, CommandLine* line,
                  std::string* error) {
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--fast") {
      line->fast = true;
    } else if (args[i] == "--game") {
      if (!TakeValue(args, &i, "a folder", &line->game_dir, error)) {
        return false;
      }
    } else {
      *error = "unknown option '" + args[i] + "' for restore";
      return false;
    }
  }
  if (line->game_dir.empty()) {
    *error = "restore needs the game folder: --game DIR";
    return false;
  }
  return true;
}

// --mods N of undo: how many of the newest mods.
bool TakeModCount(const std::vector<std::string>& args, size_t* i,
                  CommandLine* line, std::string* error) {
  std::string count;
  if (!TakeValue(args, i, "a number of mods", &count, error)) return false;
  int value = 0;
  for (char c : count) {
    if (c < '0' || c > '9' || value > 99999) {
      value = 0;
      break;
    }
    value = value * 10 + (c - '0');
  }
  if (value <= 0) {
    *error = "--mods needs a number of mods from 1 up: '" + count + "'";
    return false;
  }
  line->undo_mods = value;
  return true;
}

// undo and history: --game DIR and their flags.
bool ParseJournalCommand(const std::vector<std::string>& args,
                         CommandLine* line, std::string* error) {
  const bool undo = line->action == CommandLine::Action::kUndo;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    bool read = true;
    if (arg == "--game") {
      read = TakeValue(args, &i, "a folder", &line->game_dir, error);
    } else if (undo && arg == "--mods") {
      read = TakeModCount(args, &i, line, error);
    } else if (undo && arg == "--force") {
      line->force = true;
    } else if (!undo && arg == "--forget") {
      line->forget = true;
    } else if (!undo && arg == "--changes") {
      line->show_changes = true;
    } else {
      *error = "unknown option '" + arg + "' for " + args[0];
      return false;
    }
    if (!read) return false;
  }
  if (line->game_dir.empty()) {
    *error = args[0] + " needs the game folder: --game DIR";
    return false;
  }
  return true;
}

bool ParseCheck(const std::vector<std::string>& args, CommandLine* line,
                std::string* error) {
  for (size_t i = 1; i < args.size(); ++i) {
    bool read = false;
    if (args[i] == "--game") {
      read = TakeValue(args, &i, "a folder", &line->game_dir, error);
    } else if (args[i] == "--limits") {
      read = TakeValue(args, &i, "a file", &line->limits_file, error);
    } else {
      *error = "unknown option '" + args[i] + "' for check";
    }
    if (!read) return false;
  }
  if (line->game_dir.empty()) {
    *error = "check needs the game folder: --game DIR";
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
  if (args.empty()) {
    *error = "no command given";
    return false;
  }
  if (args[0] == "install") {
    line->action = CommandLine::Action::kInstall;
    return ParseInstall(args, line, error);
  }
  if (args[0] == "list") {
    line->action = CommandLine::Action::kList;
    return ParseList(args, line, error);
  }
  if (args[0] == "restore") {
    line->action = CommandLine::Action::kRestore;
    return ParseRestore(args, line, error);
  }
  if (args[0] == "undo" || args[0] == "history") {
    line->action = args[0] == "undo" ? CommandLine::Action::kUndo
                                     : CommandLine::Action::kHistory;
    return ParseJournalCommand(args, line, error);
  }
  if (args[0] == "check") {
    line->action = CommandLine::Action::kCheck;
    return ParseCheck(args, line, error);
  }
  *error = "unknown command '" + args[0] + "'";
  return false;
}

std::string UsageText() {
  return "usage: quarn install [--dir DIR] [--game DIR | --scripted] "
         "[--mods LIST]\n"
         "                     [--dump-ids] [--save] [--no-undo]\n"
         "                     [--dry-run [--report text|json] "
         "[--report-file PATH]]\n"
         "       quarn list [--dir DIR]\n"
         "       quarn restore --game DIR [--fast]\n"
         "       quarn undo --game DIR [--mods N] [--force]\n"
         "       quarn history --game DIR [--changes | --forget]\n"
         "       quarn check --game DIR [--limits FILE]\n"
         "       quarn --help | --version\n"
         "\n"
         "install  runs the install scripts found in the installer folder "
         "DIR\n"
         "         (default: the current folder) against the game folder, as "
         "the\n"
         "         window program does, and prints the install log as it is\n"
         "         written. When DIR holds mod folders X1, X2, ... with a\n"
         "         QuarnInstall.txt each, the ticked ones run in "
         "folder-number\n"
         "         order; otherwise DIR's own QuarnInstall.txt runs.\n"
         "  --dir DIR    the installer folder; QuarnInstall-log.txt, ID "
         "dump.txt\n"
         "               and saved.dat live there\n"
         "  --game DIR   the game folder; it must hold gta-vc.exe\n"
         "  --scripted   leave the game folder to the scripts (INSTALL PATH)\n"
         "               Without either, the folder saved.dat remembers.\n"
         "  --mods LIST  install exactly these mod folders (comma-separated,\n"
         "               any letter case); default: the ticks of InsName.txt\n"
         "               (\"***\" unticks) merged with saved.dat\n"
         "  --dump-ids   write the used object IDs to ID dump.txt at the end\n"
         "               (default for a catalogue: as saved.dat remembers)\n"
         "  --save       remember the game folder, options and ticks in\n"
         "               saved.dat before the run, as the window program does\n"
         "  --dry-run    change nothing on disk; afterwards stderr lists what\n"
         "               the run would have created, changed and deleted,\n"
         "               what each mod changes and where mods collide\n"
         "  --report json  the dry run's report as one JSON document\n"
         "  --report-file PATH  the dry run's report into file PATH\n"
         "  --no-undo    keep no undo journal of this run\n"
         "list     prints the mods of the installer folder in install order:\n"
         "         \"[x] \" or \"[ ] \", the folder name, two blanks, the "
         "name.\n"
         "restore  copies the game's backups (models\\backup, data\\backup "
         "and\n"
         "         its maps and paths folders) back over the working files\n"
         "         and prints every message. --fast copies the archive in\n"
         "         one go instead of in pieces with progress.\n"
         "undo     puts the game back as it was before the newest install\n"
         "         (--mods N: before the newest N mods), from the journal in\n"
         "         the game's QuarnUndo folder, and prints each file it puts\n"
         "         back. Files changed since the install stop it, unless\n"
         "         --force.\n"
         "history  lists the installed mods the journal can undo, newest\n"
         "         first; --changes adds what each of them changed. --forget\n"
         "         drops the journal; the game stays as it is.\n"
         "check    reads the game folder as the stock game loads it and lists\n"
         "         every problem: file and line, what the game does, the "
         "rule;\n"
         "         then the use of every fixed table. --limits FILE raises "
         "the\n"
         "         limits (name=value lines) for a game whose limits were\n"
         "         raised by other means.\n"
         "\n"
         "Exit status: install 0 all done, 1 the installation failed, 2 the\n"
         "script was aborted; restore, undo and history 0 done, 1 otherwise;\n"
         "check 0 the game loads cleanly, 1 it would crash or fail to load,\n"
         "2 it loads but drops or replaces something; 64 bad usage.\n";
}

}  // namespace quarn
