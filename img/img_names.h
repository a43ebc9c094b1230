// How the archive commands find entries by name: look-ups by the script
// ignore letter case, the duplicate checks compare names exactly.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "img/img_directory.h"

namespace quarn {

/// Characters a name taken from a script line or a folder listing keeps.
inline constexpr size_t kImgNameBufferCapacity = 49;
/// The longest name a directory record can hold.
inline constexpr size_t kImgMaxNameLength = kImgNameFieldSize - 1;

/// The entry's name exactly as stored, up to its NUL or the field's end;
/// valid while `entry` lives.
std::string_view NameView(const ImgEntry& entry);

/// Marks deleted every entry whose name equals `name` once both are
/// upper-cased; returns how many were marked.
size_t MarkDeletedIgnoringCase(std::vector<ImgEntry>& entries,
                               const std::string& name);

/// The lowest index whose name, upper-cased, equals `upper_name`.
std::optional<size_t> FindFirstUpperCased(const std::vector<ImgEntry>& entries,
                                          const std::string& upper_name);

}  // namespace quarn
