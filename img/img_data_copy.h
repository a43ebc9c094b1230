// Copying archive data through one buffer of bounded size, so that memory
// stays small whatever the size of an entry or of a file being added.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/file_system.h"

namespace quarn {

/// Bytes moved per read and write; the rebuild's whole working memory.
inline constexpr size_t kImgCopyChunkBytes = size_t{4} << 20;

/// Copies `length` bytes from `from` at byte `from_position` to `to` at byte
/// `to_position`, front to back, through `buffer` (grown to at most
/// kImgCopyChunkBytes). Meant for two files; inside one file, MoveData.
/// When `written` is given it tells how many bytes were written before the
/// copy ended (a failed write may have stored part of its bytes as well).
TransferOutcome CopyData(File& from, int64_t from_position, File& to,
                         int64_t to_position, int64_t length,
                         std::vector<uint8_t>* buffer,
                         int64_t* written = nullptr);

/// Moves `length` bytes of `file` from byte `from_position` to byte
/// `to_position` by File::MoveBytes, so that a file system that can move
/// bytes without carrying them does; `written` as for CopyData.
TransferOutcome MoveData(File& file, int64_t from_position, int64_t to_position,
                         int64_t length, int64_t* written);

/// Writes `length` zero bytes (less than a sector) at byte `position`.
bool WriteZeros(File& file, int64_t position, int64_t length);

}  // namespace quarn
