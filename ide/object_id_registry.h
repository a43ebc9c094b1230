// Which object IDs the game's item definitions already claim.
#pragma once

#include <cstdint>
#include <vector>

namespace quarn {

/// One flag per object ID 0 to 65,535; all free when a run starts.
class ObjectIdRegistry {
 public:
  ObjectIdRegistry();

  /// True when `id` is marked used.
  bool IsUsed(uint16_t id) const { return used_[id] != 0; }

  /// Marks `id` used.
  void MarkUsed(uint16_t id) { used_[id] = 1; }

  /// Marks `id` free.
  void MarkFree(uint16_t id) { used_[id] = 0; }

 private:
  std::vector<uint16_t> used_;
};

}  // namespace quarn
