#include "shell/file_copy.h"

#include <algorithm>
#include <memory>

#include "platform/existence.h"
#include "platform/game_file.h"

namespace quarn {
namespace {

// A temporary file that did not become the target goes, read-only or not.
void Discard(FileSystem& fs, const std::string& temporary) {
  fs.SetAttributes(temporary, 0);
  fs.RemoveFile(temporary);
}

// The finished temporary file takes the target's place in one step.
CopyOutcome PutInPlace(FileSystem& fs, const std::string& temporary,
                       const std::string& target) {
  if (fs.RenameOver(temporary, target)) return CopyOutcome::kCopied;
  Discard(fs, temporary);
  return CopyOutcome::kFailed;
}

// The platform's copy leaves its bytes to the system to write; they reach
// the disk before the copy replaces the target. A copy that kept a
// read-only source's attribute is opened for writing (which a flush needs)
// without it, and gets it back.
bool FlushCopy(FileSystem& fs, const std::string& temporary) {
  const uint32_t attributes = fs.AttributesOf(temporary);
  const bool read_only =
      attributes != kNoSuchFile && (attributes & kAttrReadOnly) != 0;
  if (read_only && !fs.SetAttributes(temporary, attributes & ~kAttrReadOnly)) {
    return false;
  }
  std::unique_ptr<File> copy =
      fs.Open(temporary, OpenMode::kReadWrite, nullptr);
  const bool flushed = copy && copy->Flush();
  copy.reset();
  return flushed && (!read_only || fs.SetAttributes(temporary, attributes));
}

}  // namespace

CopyOutcome PlainCopier::Copy(const std::string& source,
                              const std::string& target) {
  fs_.SetAttributes(source, 0);
  fs_.SetAttributes(target, 0);
  const std::string temporary = FreeTemporaryName(fs_, target);
  if (!fs_.CopyOver(source, temporary) || !FlushCopy(fs_, temporary)) {
    Discard(fs_, temporary);
    return CopyOutcome::kFailed;
  }
  return PutInPlace(fs_, temporary, target);
}

std::vector<uint64_t> CopyPieces(uint64_t length, uint64_t piece) {
  std::vector<uint64_t> pieces;
  for (uint64_t left = length; left > 0; left -= std::min(left, piece)) {
    pieces.push_back(std::min(left, piece));
  }
  return pieces;
}

int32_t ProgressSteps(uint64_t length, uint64_t piece) {
  return static_cast<int32_t>(length / piece);
}

CopyOutcome ProgressCopier::Copy(const std::string& source,
                                 const std::string& target) {
  fs_.SetAttributes(target, 0);
  if (fs_.AttributesOf(source) == kNoSuchFile) return CopyOutcome::kFailed;
  if (!ClearAttributesForAccess(fs_, source)) {
    return CopyOutcome::kAccessDenied;
  }
  std::unique_ptr<File> from = fs_.Open(source, OpenMode::kRead, nullptr);
  uint64_t length = 0;
  if (!from || !from->Length(&length)) return CopyOutcome::kFailed;
  const std::string temporary = FreeTemporaryName(fs_, target);
  std::unique_ptr<File> to = fs_.Open(temporary, OpenMode::kCreate, nullptr);
  if (!to) {
    Discard(fs_, temporary);
    return CopyOutcome::kFailed;
  }
  progress_.Begin(source, target, ProgressSteps(length, piece_));
  CopyOutcome outcome = CopyPiecesTo(*from, *to, length);
  if (outcome == CopyOutcome::kCopied && !to->Flush()) {
    outcome = CopyOutcome::kFailed;
  }
  from.reset();
  to.reset();
  progress_.End();
  if (outcome != CopyOutcome::kCopied) {
    Discard(fs_, temporary);
    return outcome;
  }
  return PutInPlace(fs_, temporary, target);
}

CopyOutcome ProgressCopier::CopyPiecesTo(File& from, File& to,
                                         uint64_t length) {
  const std::vector<uint64_t> pieces = CopyPieces(length, piece_);
  std::vector<char> buffer(pieces.empty() ? 0 : pieces.front());
  uint64_t offset = 0;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const size_t size = static_cast<size_t>(pieces[i]);
    size_t got = 0;
    if (!from.ReadAt(offset, buffer.data(), size, &got) || got != size ||
        !to.WriteAt(offset, buffer.data(), size)) {
      return CopyOutcome::kFailed;
    }
    offset += size;
    progress_.Step();
    if (i + 1 < pieces.size() && progress_.CancelRequested()) {
      return CopyOutcome::kCancelled;
    }
  }
  return CopyOutcome::kCopied;
}

}  // namespace quarn
