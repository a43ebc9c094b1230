#include "img/img_data_copy.h"

#include <algorithm>

namespace quarn {

TransferOutcome CopyData(File& from, int64_t from_position, File& to,
                         int64_t to_position, int64_t length,
                         std::vector<uint8_t>* buffer, int64_t* written) {
  const size_t chunk = static_cast<size_t>(
      std::min<int64_t>(length, static_cast<int64_t>(kImgCopyChunkBytes)));
  if (buffer->size() < chunk) buffer->resize(chunk);
  int64_t unused = 0;
  int64_t& done = written != nullptr ? *written : unused;
  for (done = 0; done < length;) {
    const size_t piece =
        static_cast<size_t>(std::min<int64_t>(length - done, chunk));
    size_t got = 0;
    if (!from.ReadAt(static_cast<uint64_t>(from_position + done),
                     buffer->data(), piece, &got) ||
        got != piece) {
      return TransferOutcome::kReadFailed;
    }
    if (!to.WriteAt(static_cast<uint64_t>(to_position + done), buffer->data(),
                    piece)) {
      return TransferOutcome::kWriteFailed;
    }
    done += static_cast<int64_t>(piece);
  }
  return TransferOutcome::kDone;
}

TransferOutcome MoveData(File& file, int64_t from_position, int64_t to_position,
                         int64_t length, int64_t* written) {
  uint64_t moved = 0;
  const TransferOutcome outcome = file.MoveBytes(
      static_cast<uint64_t>(from_position), static_cast<uint64_t>(to_position),
      static_cast<uint64_t>(length), &moved);
  *written = static_cast<int64_t>(moved);
  return outcome;
}

bool WriteZeros(File& file, int64_t position, int64_t length) {
  if (length <= 0) return true;
  const std::vector<uint8_t> zeros(static_cast<size_t>(length), 0);
  return file.WriteAt(static_cast<uint64_t>(position), zeros.data(),
                      zeros.size());
}

}  // namespace quarn
