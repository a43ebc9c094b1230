#include "shell/setup_ini.h"

#include <vector>

#include "platform/file_contents.h"
#include "text/ascii.h"
#include "text/lines.h"

namespace quarn {
namespace {

constexpr size_t kReadLineCapacity = 999;
constexpr size_t kCaptionCapacity = 254;
constexpr size_t kWelcomeTextCapacity = 4999;

std::string TrimBlanksAndTabs(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The value of a key matched by its first characters, or false.
bool KeyValue(const std::string& line, const std::string& key,
              std::string* value) {
  if (!StartsWithIgnoringCase(line, key)) return false;
  *value = line.substr(key.size());
  return true;
}

void ApplySetting(const std::string& raw, const std::string& installer_dir,
                  SetupSettings& settings, bool* in_welcome_text) {
  const std::string line = TrimBlanksAndTabs(raw.substr(0, raw.find(';')));
  std::string value;
  if (KeyValue(line, ">TITLE1 ", &value)) {
    settings.welcome_caption = CutTo(value, kCaptionCapacity);
  } else if (KeyValue(line, ">TITLE2 ", &value)) {
    settings.selection_caption = CutTo(value, kCaptionCapacity);
  } else if (EqualsIgnoringCase(line, ">OPTIONS OFF")) {
    settings.options_hidden = true;
  } else if (EqualsIgnoringCase(line, ">SCRPATH OFF")) {
    settings.scripted_path_hidden = true;
  } else if (EqualsIgnoringCase(line, ">WELCOME TEXT START")) {
    *in_welcome_text = true;
  } else if (KeyValue(line, ">PICTURE ", &value)) {
    settings.picture_path = installer_dir + value;
  }
}

}  // namespace

SetupSettings ParseSetupIni(const std::string& bytes,
                            const std::string& installer_dir) {
  SetupSettings settings;
  settings.welcome_wanted = true;
  bool in_welcome_text = false;
  for (const std::string& read : SplitLines(bytes)) {
    const std::string line = LineUpToNul(read, kReadLineCapacity);
    if (EqualsIgnoringCase(TrimBlanksAndTabs(line), ">WELCOME TEXT END")) {
      in_welcome_text = false;
    }
    if (in_welcome_text) {
      settings.welcome_text =
          CutTo(settings.welcome_text + line + "\r\n", kWelcomeTextCapacity);
      continue;
    }
    ApplySetting(line, installer_dir, settings, &in_welcome_text);
  }
  return settings;
}

SetupSettings ReadSetupIni(FileSystem& fs, const std::string& installer_dir) {
  std::string bytes;
  if (!ReadWholeFile(fs, installer_dir + kSetupIniFileName, &bytes)) {
    return SetupSettings();
  }
  return ParseSetupIni(bytes, installer_dir);
}

}  // namespace quarn
