// The three switches of the options dialog, remembered in "saved.dat".
#pragma once

#include <cstdint>
#include <string>

namespace quarn {

/// The options; each 0 (off) or 1 (on), stored as read from "saved.dat".
struct InstallerOptions {
  int32_t FastCopyFromBackup = 0;  ///< restore the archive without progress
  int32_t ScanCullZones = 0;       ///< remembered only; changes nothing
  int32_t DumpObjectIds = 0;       ///< write "ID dump.txt" after the run
};

/// The notice shown when "Scan installed CULL zones" becomes `value`: a
/// text when it is ticked, empty when it is unticked.
std::string CullZonesNotice(int32_t value);

}  // namespace quarn
