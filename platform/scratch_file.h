// A file for data a program needs to set aside but never to keep: it lies
// outside every folder the program works on, and the operating system takes
// it away however the program ends (a normal exit, a failure, Ctrl-C, a
// kill), so nothing is left behind to clean up.
#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"

namespace quarn {

/// The system's folder for temporary files, in engine form, without a
/// trailing backslash; empty if the system names none.
std::string SystemTempFolder();

/// A new empty file in `folder` (engine form) for this process alone,
/// readable and writable, that the system removes when it is closed or when
/// the process ends, however it ends. On Linux it never has a name at all.
/// Null if it cannot be made.
std::unique_ptr<File> MakeScratchFile(const std::string& folder);

}  // namespace quarn
