// How a file or folder stands now, taken the same way when a mod ends and
// when undo checks that nobody changed it since.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "undo/journal_entry.h"

namespace quarn {

/// Files up to this size are hashed whole; larger ones (the archive) by
/// samples spread over them, so that a mod's end costs little.
inline constexpr uint64_t kWholeHashLimit = uint64_t{16} << 20;

/// The fingerprint of `path` (absolute, engine form) as it is now; read
/// through `open_file` when the run holds it open (an open file is
/// unshared).
Fingerprint TakeFingerprint(FileSystem& fs, const std::string& path,
                            File* open_file = nullptr);

}  // namespace quarn
