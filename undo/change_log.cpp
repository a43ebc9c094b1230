#include "undo/change_log.h"

#include <algorithm>
#include <cstring>

#include "undo/content_hash.h"

namespace quarn {
namespace {

constexpr uint32_t kRecordMagic = 0x43455251;  // "QREC"
constexpr size_t kHeaderBytes = 40;
constexpr size_t kPieceBytes = 32;
constexpr size_t kChecksumBytes = 8;
constexpr size_t kCopyChunkBytes = size_t{1} << 20;
// Larger fields than these mean a damaged record, not a real one.
constexpr uint32_t kPathLimit = 4096;
constexpr uint32_t kPieceLimit = 1u << 26;

void Put32(std::vector<uint8_t>* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out->push_back(uint8_t(value >> (8 * i)));
}

void Put64(std::vector<uint8_t>* out, uint64_t value) {
  for (int i = 0; i < 8; ++i) out->push_back(uint8_t(value >> (8 * i)));
}

uint32_t Get32(const uint8_t* in) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= uint32_t(in[i]) << (8 * i);
  return value;
}

uint64_t Get64(const uint8_t* in) {
  uint64_t value = 0;
  for (int i = 0; i < 8; ++i) value |= uint64_t(in[i]) << (8 * i);
  return value;
}

// Everything of a record before its saved bytes.
std::vector<uint8_t> EncodeHead(const ChangeRecord& record) {
  std::vector<uint8_t> head;
  Put32(&head, kRecordMagic);
  Put32(&head, static_cast<uint32_t>(record.kind));
  Put32(&head, static_cast<uint32_t>(record.path.size()));
  Put32(&head, record.folder ? 1 : 0);
  Put32(&head, record.attributes);
  Put32(&head, static_cast<uint32_t>(record.pieces.size()));
  Put64(&head, record.offset);
  Put64(&head, record.data_length);
  head.insert(head.end(), record.path.begin(), record.path.end());
  for (const MovedPiece& piece : record.pieces) {
    Put64(&head, piece.from);
    Put64(&head, piece.to);
    Put64(&head, piece.length);
    Put64(&head, piece.hash);
  }
  return head;
}

bool ReadExactly(File& file, uint64_t offset, void* data, size_t size) {
  size_t got = 0;
  return file.ReadAt(offset, data, size, &got) && got == size;
}

// Reads the record at `*at`, moving `*at` past it; false at the end of the
// whole records.
bool ReadRecord(File& file, uint64_t file_length, uint64_t* at,
                std::vector<uint8_t>* buffer, ChangeRecord* record) {
  uint8_t header[kHeaderBytes];
  if (file_length - *at < kHeaderBytes ||
      !ReadExactly(file, *at, header, kHeaderBytes) ||
      Get32(header) != kRecordMagic) {
    return false;
  }
  const uint32_t path_size = Get32(header + 8);
  const uint32_t piece_count = Get32(header + 20);
  const uint64_t data_length = Get64(header + 32);
  if (path_size > kPathLimit || piece_count > kPieceLimit) return false;
  const uint64_t rest = file_length - *at - kHeaderBytes;
  const uint64_t fixed =
      uint64_t{path_size} + uint64_t{piece_count} * kPieceBytes;
  if (rest < fixed || rest - fixed < kChecksumBytes ||
      rest - fixed - kChecksumBytes < data_length) {
    return false;
  }
  std::vector<uint8_t> head(header, header + kHeaderBytes);
  head.resize(kHeaderBytes + fixed);
  if (!ReadExactly(file, *at + kHeaderBytes, head.data() + kHeaderBytes,
                   static_cast<size_t>(fixed))) {
    return false;
  }
  StreamHash hash;
  hash.Add(head.data(), head.size());
  const uint64_t data_at = *at + kHeaderBytes + fixed;
  buffer->resize(kCopyChunkBytes);
  for (uint64_t done = 0; done < data_length;) {
    const size_t step = static_cast<size_t>(
        std::min<uint64_t>(data_length - done, kCopyChunkBytes));
    if (!ReadExactly(file, data_at + done, buffer->data(), step)) return false;
    hash.Add(buffer->data(), step);
    done += step;
  }
  uint8_t checksum[kChecksumBytes];
  if (!ReadExactly(file, data_at + data_length, checksum, kChecksumBytes) ||
      Get64(checksum) != hash.Value()) {
    return false;
  }
  record->kind = static_cast<ChangeKind>(Get32(header + 4));
  record->folder = Get32(header + 12) != 0;
  record->attributes = Get32(header + 16);
  record->offset = Get64(header + 24);
  record->data_length = data_length;
  record->data_at = data_at;
  const uint8_t* field = head.data() + kHeaderBytes;
  record->path.assign(reinterpret_cast<const char*>(field), path_size);
  field += path_size;
  record->pieces.resize(piece_count);
  for (MovedPiece& piece : record->pieces) {
    piece = {Get64(field), Get64(field + 8), Get64(field + 16),
             Get64(field + 24)};
    field += kPieceBytes;
  }
  *at = data_at + data_length + kChecksumBytes;
  return true;
}

}  // namespace

ChangeLogWriter::ChangeLogWriter(std::unique_ptr<File> file, std::string path)
    : file_(std::move(file)), path_(std::move(path)) {
  if (!file_->Length(&end_)) end_ = 0;
}

bool ChangeLogWriter::WriteSavedBytes(File& source, uint64_t offset,
                                      uint64_t length, uint64_t* at,
                                      StreamHash* hash) {
  buffer_.resize(kCopyChunkBytes);
  for (uint64_t done = 0; done < length;) {
    const size_t step =
        static_cast<size_t>(std::min<uint64_t>(length - done, kCopyChunkBytes));
    if (!ReadExactly(source, offset + done, buffer_.data(), step) ||
        !file_->WriteAt(*at, buffer_.data(), step)) {
      return false;
    }
    hash->Add(buffer_.data(), step);
    *at += step;
    done += step;
  }
  return true;
}

bool ChangeLogWriter::Append(const ChangeRecord& record, File* source,
                             uint64_t source_offset) {
  const std::vector<uint8_t> head = EncodeHead(record);
  StreamHash hash;
  hash.Add(head.data(), head.size());
  uint64_t at = end_;
  bool written = file_->WriteAt(at, head.data(), head.size());
  at += head.size();
  if (written && record.data_length > 0) {
    written =
        source != nullptr &&
        WriteSavedBytes(*source, source_offset, record.data_length, &at, &hash);
  }
  std::vector<uint8_t> checksum;
  Put64(&checksum, hash.Value());
  written = written && file_->WriteAt(at, checksum.data(), checksum.size());
  if (!written) {
    // What was written of it reads as a torn record; cut it anyway, so that
    // the next record follows the last whole one.
    file_->Resize(end_);
    return false;
  }
  end_ = at + checksum.size();
  return true;
}

bool ChangeLogWriter::Flush() { return file_->Flush(); }

std::vector<ChangeRecord> ReadChangeLog(File& file) {
  std::vector<ChangeRecord> records;
  uint64_t length = 0;
  if (!file.Length(&length)) return records;
  std::vector<uint8_t> buffer;
  uint64_t at = 0;
  ChangeRecord record;
  while (ReadRecord(file, length, &at, &buffer, &record)) {
    records.push_back(record);
  }
  return records;
}

}  // namespace quarn
