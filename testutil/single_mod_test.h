// A test fixture for scripts of the single-mod layout: the mod's files lie
// in the installer folder beside its script.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "testutil/expected_log.h"
#include "testutil/script_run.h"

namespace quarn {

/// Runs scripts whose mod folder is the installer folder.
class SingleModTest : public ::testing::Test {
 protected:
  /// The mod's folder, ending in a backslash.
  std::string mod() const { return run_.installer(); }
  /// The game folder, ending in a backslash.
  std::string game() const { return run_.game(); }
  /// The line every run with the game folder chosen begins with.
  std::string Selected() const { return SelectedGameLine(game()); }
  /// Writes `script` as the mod's script, runs it and returns the log file.
  std::string RunScript(const std::string& script) {
    run_.WriteScript(script);
    return run_.Run();
  }

  ScriptRun run_;
};

}  // namespace quarn
