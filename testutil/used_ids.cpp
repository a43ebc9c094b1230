#include "testutil/used_ids.h"

namespace quarn {

std::vector<int> UsedIds(const ObjectIdRegistry& ids) {
  std::vector<int> used;
  for (int id = 0; id <= 65535; ++id) {
    if (ids.IsUsed(static_cast<uint16_t>(id))) used.push_back(id);
  }
  return used;
}

}  // namespace quarn
