// The two queues of files waiting for the next rebuild: textures go last.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "img/img_directory.h"

namespace quarn {

/// True when `name` ends in ".TXD" in any letter case.
bool IsTextureName(const std::string& name);

/// The index of the first of `names` that would not fit into its queue if
/// all were queued in order, or names.size() when all fit.
size_t FirstOverflowing(const ImgPendingAdds& queues,
                        const std::vector<std::string>& names);

/// Appends (`source_folder`, `name`) to the queue its name belongs in.
/// The caller has made sure there is room.
void QueuePendingAdd(ImgPendingAdds& queues, const std::string& source_folder,
                     const std::string& name);

/// The message that refuses `name` because its queue is full.
std::string QueueFullMessage(const std::string& name);

}  // namespace quarn
