// IMG DELDUP: of every group of entries with exactly the same name, keeps
// the one with the highest index and marks the others deleted.
#pragma once

#include <string>
#include <vector>

#include "editing/command.h"
#include "img/img_directory.h"

namespace quarn {

/// Marks deleted every named entry that a later entry repeats exactly
/// (letter case counts) and returns the deleted names in the order they
/// are reported: groups by descending index of their kept entry.
std::vector<std::string> DeleteDuplicates(std::vector<ImgEntry>& entries);

/// "IMG DELDUP": deletes the duplicates, logging "- Deleted: " per entry.
EditorCommand<ImgDirectory> RunImgDelDup;

}  // namespace quarn
