#include "img/img_verify.h"

#include <algorithm>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>

#include "img/img_dump.h"
#include "img/img_names.h"
#include "img/img_paths.h"
#include "img/img_required_open.h"
#include "platform/file_contents.h"
#include "text/numbers.h"

namespace quarn {
namespace {

std::string Number(int64_t value) { return FormatSigned(value); }

void LogNames(RunContext& ctx, ImgDirectory& img) {
  const std::vector<ImgEntry>& entries = img.Entries;
  const int64_t nameless =
      std::count_if(entries.begin(), entries.end(),
                    [](const ImgEntry& entry) { return entry.IsHole(); });
  ctx.Log.LogLine(nameless > 0 ? "- Nameless (or deleted) object found: " +
                                     Number(nameless)
                               : "- names ok");
}

void LogDuplicates(RunContext& ctx, ImgDirectory& img) {
  const int64_t pairs = CountDuplicatePairs(img.Entries);
  ctx.Log.LogLine(pairs > 0 ? "- Duplicate objects found: " + Number(pairs)
                            : "- no duplicate objects found");
}

void LogEntryDetails(RunContext& ctx, ImgDirectory& img, size_t index) {
  const ImgEntry& entry = img.Entries[index];
  ctx.Log.LogLine("-- Index:" + Number(static_cast<int64_t>(index)));
  ctx.Log.LogLine("-- Name: " + std::string(NameView(entry)));
  ctx.Log.LogLine("-- Address: " + Number(entry.Offset()));
  ctx.Log.LogLine("-- Size: " + Number(entry.Size()));
}

// Reports every entry from `first` on that `matches` picks, under `title`.
void LogMatchingEntries(RunContext& ctx, ImgDirectory& img,
                        const char* announce, const char* title, size_t first,
                        bool (*matches)(const ImgEntry&)) {
  ctx.Log.LogText(announce);
  bool found = false;
  const std::vector<ImgEntry>& entries = img.Entries;
  for (size_t i = first; i < entries.size(); ++i) {
    if (!matches(entries[i])) continue;
    if (!found) ctx.Log.LogLine(" ");
    found = true;
    ctx.Log.LogLine(title);
    LogEntryDetails(ctx, img, i);
  }
  if (!found) ctx.Log.LogLine("none found");
}

void LogAddressOrder(RunContext& ctx, ImgDirectory& img) {
  ctx.Log.LogText("Checking for invalid addresses: ");
  AddressOrderFault fault;
  if (!FindAddressOrderFault(img.Entries, &fault)) {
    ctx.Log.LogLine("none found");
    return;
  }
  const ImgEntry& first = img.Entries[fault.first];
  const int64_t i = static_cast<int64_t>(fault.first);
  for (size_t later : fault.later) {
    const ImgEntry& entry = img.Entries[later];
    const int64_t j = static_cast<int64_t>(later);
    ctx.Log.LogLine(" ");
    ctx.Log.LogLine("- Objects with invalid address found: ");
    ctx.Log.LogLine("-- Last index: " + Number(j) +
                    "  First index: " + Number(i));
    ctx.Log.LogLine("-- Last name: " + std::string(NameView(entry)) +
                    " First name: " + std::string(NameView(first)));
    ctx.Log.LogLine("-- Last address: " + Number(entry.Offset()) +
                    " First address: " + Number(first.Offset()));
    ctx.Log.LogLine("-- Last size: " + Number(entry.Size()) +
                    " First size: " + Number(first.Size()));
  }
}

void LogContiguity(RunContext& ctx, ImgDirectory& img) {
  ctx.Log.LogText("Checking if sizes and addresses match up: ");
  const std::vector<ImgEntry>& entries = img.Entries;
  for (size_t i = 0; i + 1 < entries.size(); ++i) {
    const int64_t end = int64_t{entries[i].Offset()} + entries[i].Size();
    if (end != entries[i + 1].Offset()) {
      ctx.Log.LogLine(" ");
      ctx.Log.LogLine("- Sizes and addresses don't match up");
      return;
    }
  }
  ctx.Log.LogLine("no problem");
}

// The archive's length the directory implies: the end of its last entry.
int64_t ExpectedArchiveLength(const std::vector<ImgEntry>& entries) {
  if (entries.empty()) return 0;
  const ImgEntry& last = entries.back();
  return (int64_t{last.Offset()} + last.Size()) * kImgSectorSize;
}

CommandResult LogArchiveSize(RunContext& ctx, ImgDirectory& img) {
  ctx.Log.LogText("Checking IMG size: ");
  uint64_t actual = 0;
  if (!img.ImgFile->Length(&actual)) {
    return FailOnNewLine(ctx, "Can't read " + img.GameFolder + kImgArchiveFile);
  }
  const int64_t expected = ExpectedArchiveLength(img.Entries);
  if (static_cast<uint64_t>(expected) == actual && expected >= 0) {
    ctx.Log.LogLine("ok");
    return CommandResult::kContinue;
  }
  ctx.Log.LogLine(" ");
  ctx.Log.LogLine("Size of IMG doesn't match the DIR.");
  ctx.Log.LogLine("DIR: " + FormatGrouped(expected));
  ctx.Log.LogLine("LOF: " + FormatGrouped(static_cast<int64_t>(actual)));
  return CommandResult::kContinue;
}

CommandResult WriteDump(RunContext& ctx, ImgDirectory& img) {
  ctx.Log.LogLine("Dumping .dir memory to disk...");
  if (!WriteWholeFile(ctx.Fs, img.GameFolder + kImgDumpFile,
                      DumpText(img.Entries))) {
    return CommandResult::kEndRun;  // a failed dump has no message of its own
  }
  ctx.Log.LogLine("done dumping");
  return CommandResult::kContinue;
}

}  // namespace

int64_t CountDuplicatePairs(const std::vector<ImgEntry>& entries) {
  std::unordered_map<std::string_view, int64_t> occurrences;
  occurrences.reserve(entries.size());
  int64_t pairs = 0;
  for (const ImgEntry& entry : entries) {
    // Each new namesake pairs with every earlier one.
    if (!entry.IsHole()) pairs += occurrences[NameView(entry)]++;
  }
  return pairs;
}

bool FindAddressOrderFault(const std::vector<ImgEntry>& entries,
                           AddressOrderFault* fault) {
  const size_t count = entries.size();
  if (count < 2) return false;
  // lowest_after[i] is the smallest offset of the entries after i: the
  // first i it does not exceed is the first index any pair reports.
  std::vector<int32_t> lowest_after(count);
  lowest_after[count - 1] = std::numeric_limits<int32_t>::max();
  for (size_t i = count - 1; i-- > 0;) {
    lowest_after[i] = std::min(lowest_after[i + 1], entries[i + 1].Offset());
  }
  for (size_t i = 0; i + 1 < count; ++i) {
    const int32_t offset = entries[i].Offset();
    if (lowest_after[i] > offset) continue;
    fault->first = i;
    fault->later.clear();
    for (size_t j = i + 1; j < count; ++j) {
      if (entries[j].Offset() <= offset) fault->later.push_back(j);
    }
    return true;
  }
  return false;
}

CommandResult RunImgVerify(RunContext& ctx, ImgDirectory& img, const Command&) {
  ctx.Log.LogLine("Verifying DIR file:");
  QUARN_RETURN_IF_ENDED(RequireOpenImg(ctx, img));
  LogNames(ctx, img);
  LogDuplicates(ctx, img);
  LogMatchingEntries(ctx, img,
                     "Checking for null objects: ", "- Null object found: ", 0,
                     [](const ImgEntry& entry) { return entry.Size() == 0; });
  // Entry 0 may start at sector 0.
  LogMatchingEntries(
      ctx, img, "Checking for address 0: ", "- Object with address 0 found:", 1,
      [](const ImgEntry& entry) { return entry.Offset() == 0; });
  LogAddressOrder(ctx, img);
  LogContiguity(ctx, img);
  QUARN_RETURN_IF_ENDED(LogArchiveSize(ctx, img));
  ctx.Log.LogLine("Done verify");
  return WriteDump(ctx, img);
}

}  // namespace quarn
