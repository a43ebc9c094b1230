// "Setup.ini": the optional welcome page, the page captions and the
// buttons an installer's author hides.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace quarn {

/// The file's name in the installer folder.
inline constexpr char kSetupIniFileName[] = "Setup.ini";

/// What "Setup.ini" sets; the defaults are those of a missing file.
struct SetupSettings {
  bool welcome_wanted = false;        ///< set when the file could be opened
  std::string welcome_caption;        ///< page 1, at most 254 characters
  std::string selection_caption;      ///< page 2, at most 254 characters
  bool options_hidden = false;        ///< ">OPTIONS OFF"
  bool scripted_path_hidden = false;  ///< ">SCRPATH OFF"
  std::string welcome_text;           ///< lines with CR LF, at most 4999
  std::string picture_path;  ///< installer folder + ">PICTURE " value, or ""
};

/// The settings that the bytes of a "Setup.ini" in `installer_dir` (ending
/// in a backslash) give; `welcome_wanted` is set.
SetupSettings ParseSetupIni(const std::string& bytes,
                            const std::string& installer_dir);

/// Reads `installer_dir` + "Setup.ini"; the defaults when it cannot be
/// opened.
SetupSettings ReadSetupIni(FileSystem& fs, const std::string& installer_dir);

}  // namespace quarn
