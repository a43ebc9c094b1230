// The object IDs a run's registry holds, as tests compare them.
#pragma once

#include <vector>

#include "ide/object_id_registry.h"

namespace quarn {

/// The IDs `ids` marks used, in ascending order.
std::vector<int> UsedIds(const ObjectIdRegistry& ids);

}  // namespace quarn
