// IMG VERIFY: checks the open archive's directory for damage that breaks
// the game or the rebuild, then writes models\dump.txt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "editing/command.h"
#include "img/img_directory.h"

namespace quarn {

/// The number of index pairs i < j whose names are non-empty and exactly
/// equal (letter case counts).
int64_t CountDuplicatePairs(const std::vector<ImgEntry>& entries);

/// The first index that some later entry does not lie beyond, with every
/// such later index in ascending order.
struct AddressOrderFault {
  size_t first = 0;
  std::vector<size_t> later;
};

/// Finds the first index i with a later entry j whose offset is not greater
/// than i's; false when the offsets strictly increase.
bool FindAddressOrderFault(const std::vector<ImgEntry>& entries,
                           AddressOrderFault* fault);

/// "IMG VERIFY": logs the checks of names, duplicates, null objects,
/// address 0, address order, contiguity and archive size, then writes the
/// dump. Changes neither the directory nor the archive.
EditorCommand<ImgDirectory> RunImgVerify;

}  // namespace quarn
