// The directory as a text table, models\dump.txt, written by IMG VERIFY.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "img/img_directory.h"

namespace quarn {

/// The table's line for the record at `index`: index, offset, size in
/// sectors and in bytes, each a sign position, digits and a blank, then the
/// name.
std::string DumpLine(size_t index, const ImgEntry& entry);

/// The whole table: the header line, then one line per record (deleted
/// ones included), each ended by CR LF.
std::string DumpText(const std::vector<ImgEntry>& entries);

}  // namespace quarn
