// The eight sections of an item-definition file and which of them claim
// object IDs.
#pragma once

#include <string>

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

/// The section's header keyword in lower case ("objs", "2dfx", ...).
const char* IdeSectionKeyword(IdeSection section);

/// True when every definition line of `section` begins with an object ID
/// that must be unique ("path" and "2dfx" lines claim none).
bool ClaimsObjectIds(IdeSection section);

/// True when `line` is a section header, compared without regard to case
/// and with nothing else on it; stores the section in `*section`.
bool ReadIdeSectionHeader(const std::string& line, IdeSection* section);

/// True when `line` is the "end" that closes a section, in any case.
bool IsIdeSectionEnd(const std::string& line);

}  // namespace quarn
