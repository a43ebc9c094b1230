// Whole-file reads and writes over an open File, for the text files the
// program reads and rewrites in one go.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace quarn {

/// Reads the whole of `file` into `*bytes`. False on a read error.
bool ReadWholeFile(File& file, std::string* bytes);

/// Opens `path` for reading and reads all of it into `*bytes`. False if it
/// cannot be opened or read.
bool ReadWholeFile(FileSystem& fs, const std::string& path, std::string* bytes);

/// Creates (or empties) `path` and writes `bytes` into it. False if it
/// cannot be created or not every byte was written.
bool WriteWholeFile(FileSystem& fs, const std::string& path,
                    const std::string& bytes);

}  // namespace quarn
