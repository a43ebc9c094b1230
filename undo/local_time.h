// The time a journal entry shows, as the player's clock reads it.
#pragma once

#include <string>

namespace quarn {

/// The local time now, "YYYY-MM-DD HH:MM:SS".
std::string LocalTimeNow();

}  // namespace quarn
