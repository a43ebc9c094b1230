#include "gamecheck/check_limits.h"

#include "text/lines.h"

namespace quarn {
namespace {

bool ReadWholeNumber(const std::string& text, int64_t* value) {
  if (text.empty() || text.size() > 12) return false;
  *value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    *value = *value * 10 + (c - '0');
  }
  return *value > 0;
}

bool IsComment(const std::string& line) {
  return line.empty() || line[0] == ';' || line[0] == '#' || line[0] == '[';
}

}  // namespace

const std::vector<TableLimit>& StockLimits() {
  static const std::vector<TableLimit> kTable = {
      {Limit::kModelIds, "model_ids", "model IDs", 6500},
      {Limit::kSimpleModels, "simple_models", "simple models", 3885},
      {Limit::kTimeModels, "time_models", "time models", 385},
      {Limit::kClumpModels, "clump_models", "clump models", 5},
      {Limit::kWeaponModels, "weapon_models", "weapon models", 37},
      {Limit::kPedModels, "ped_models", "ped models", 130},
      {Limit::kVehicleModels, "vehicle_models", "vehicle models", 110},
      {Limit::kEffects, "2dfx_entries", "2dfx entries", 1210},
      {Limit::kTextureDictionaries, "texture_dictionaries",
       "texture dictionaries", 1385},
      {Limit::kCollisionSlots, "collision_slots", "collision slots", 31},
      {Limit::kUndefinedArchiveModels, "undefined_archive_models",
       "archive models without a definition", 256},
      {Limit::kBuildings, "buildings", "buildings", 7000},
      {Limit::kDummies, "dummies", "dummies", 2340},
      {Limit::kCullZones, "cull_zones", "cull zones", 704},
      {Limit::kObjectInfo, "object_info", "object-info slots", 210},
      {Limit::kObjectDatBytes, "object_dat_bytes", "object.dat bytes", 55000},
      {Limit::kColChunkBytes, "col_chunk_bytes", "largest COL chunk bytes",
       55000},
  };
  return kTable;
}

const TableLimit& TableLimitOf(Limit limit) {
  return StockLimits()[static_cast<size_t>(limit)];
}

CheckLimits::CheckLimits() {
  for (const TableLimit& table : StockLimits()) Set(table.limit, table.stock);
}

bool ReadLimitsFile(const std::string& bytes, CheckLimits* limits,
                    std::string* error) {
  const std::vector<std::string> lines = SplitLines(bytes);
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string line = TrimBlanks(lines[i]);
    if (IsComment(line)) continue;
    const std::string where = "line " + std::to_string(i + 1) + ": ";
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
      *error = where + "not a name=value line";
      return false;
    }
    const std::string name = TrimBlanks(line.substr(0, equals));
    const std::string text = TrimBlanks(line.substr(equals + 1));
    const TableLimit* found = nullptr;
    for (const TableLimit& table : StockLimits()) {
      if (name == table.name) found = &table;
    }
    if (found == nullptr) {
      *error = where + "unknown limit '" + name + "'";
      return false;
    }
    int64_t value = 0;
    if (!ReadWholeNumber(text, &value)) {
      *error = where + "the value of " + name +
               " is not a whole number from 1 up: '" + text + "'";
      return false;
    }
    limits->Set(found->limit, value);
  }
  return true;
}

}  // namespace quarn
