// The eight sections of an item-definition file and which of them claim
// object IDs.
#pragma once

#include <string>
#include <vector>

namespace quarn {

/// An item-definition section, in the order every IDE file lists them.
enum class IdeSection {
  kObjs,
  kTobj,
  kPath,
  k2dfx,
  kPeds,
  kCars,
  kWeap,
  kHier
};

/// How many sections there are.
inline constexpr int kIdeSectionCount = 8;

/// The sections' header keywords in lower case ("objs", "2dfx", ...), in
/// IdeSection order.
const std::vector<std::string>& IdeSectionKeywords();

/// True when every definition line of `section` begins with an object ID
/// that must be unique ("path" and "2dfx" lines claim none).
bool ClaimsObjectIds(IdeSection section);

}  // namespace quarn
