// The game's fixed tables and buffers, with the sizes of the stock 1.0 game,
// and the players' own sizes for a game whose limits were raised by other
// means.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quarn {

/// Every fixed table or buffer the check counts, in the order the summary
/// line lists them.
enum class Limit {
  kModelIds,
  kSimpleModels,
  kTimeModels,
  kClumpModels,
  kWeaponModels,
  kPedModels,
  kVehicleModels,
  kEffects,
  kTextureDictionaries,
  kCollisionSlots,
  kUndefinedArchiveModels,
  kBuildings,
  kDummies,
  kCullZones,
  kObjectInfo,
  kObjectDatBytes,
  kColChunkBytes,
};

/// How many limits there are.
inline constexpr int kLimitCount = 17;

/// One row of the stock table.
struct TableLimit {
  Limit limit;        ///< the table
  const char* name;   ///< the name a limits file uses
  const char* label;  ///< how the summary line and the reports call it
  int64_t stock;      ///< the size in the stock 1.0 game
};

/// The stock table, in Limit order.
const std::vector<TableLimit>& StockLimits();

/// The row of `limit`.
const TableLimit& TableLimitOf(Limit limit);

/// The sizes one check uses: the stock ones unless a limits file raised them.
class CheckLimits {
 public:
  /// The stock sizes.
  CheckLimits();
  /// The size of `limit`.
  int64_t Of(Limit limit) const { return values_[static_cast<int>(limit)]; }
  /// Replaces the size of `limit`.
  void Set(Limit limit, int64_t value) {
    values_[static_cast<int>(limit)] = value;
  }

 private:
  int64_t values_[kLimitCount];
};

/// Reads a limits file's `bytes` (lines of `name=value`; blank lines,
/// lines beginning with ";" or "#" and "[section]" lines mean nothing) over
/// `*limits`. False with `*error` set ("line 3: unknown limit 'x'") on an
/// unknown name, a line without "=", or a value that is not a whole number
/// from 1 up; `*limits` may then hold some of the file's values.
bool ReadLimitsFile(const std::string& bytes, CheckLimits* limits,
                    std::string* error);

}  // namespace quarn
