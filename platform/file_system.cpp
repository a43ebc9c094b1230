#include "platform/file_system.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace quarn {

TransferOutcome File::MoveBytes(uint64_t from, uint64_t to, uint64_t length,
                                uint64_t* written) {
  uint64_t unused = 0;
  uint64_t& done = written != nullptr ? *written : unused;
  done = 0;
  constexpr uint64_t kLast = std::numeric_limits<uint64_t>::max();
  if (length > kLast - from) return TransferOutcome::kReadFailed;
  if (length > kLast - to) return TransferOutcome::kWriteFailed;
  const size_t chunk =
      static_cast<size_t>(std::min<uint64_t>(length, kFileMoveChunkBytes));
  std::vector<char> buffer(chunk);
  // Front to back, each chunk is read before a write can reach it, unless
  // the destination lies inside the source's later bytes.
  const bool back_to_front = to > from && to - from < length;
  while (done < length) {
    const size_t piece =
        static_cast<size_t>(std::min<uint64_t>(length - done, chunk));
    const uint64_t skip = back_to_front ? length - done - piece : done;
    size_t got = 0;
    if (!ReadAt(from + skip, buffer.data(), piece, &got) || got != piece) {
      return TransferOutcome::kReadFailed;
    }
    if (!WriteAt(to + skip, buffer.data(), piece)) {
      return TransferOutcome::kWriteFailed;
    }
    done += piece;
  }
  return TransferOutcome::kDone;
}

bool File::ExpectMoves(const std::vector<ByteMove>&) { return true; }

}  // namespace quarn
