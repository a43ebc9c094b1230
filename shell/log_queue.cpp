#include "shell/log_queue.h"

#include <utility>

namespace quarn {

void LogQueue::Append(const std::string& text) {
  bool was_empty;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    was_empty = !pending_.clear_first && pending_.text.empty();
    pending_.text += text;
  }
  WakeIfWasEmpty(was_empty);
}

void LogQueue::Clear() {
  bool was_empty;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    was_empty = !pending_.clear_first && pending_.text.empty();
    pending_.clear_first = true;
    pending_.text.clear();
  }
  WakeIfWasEmpty(was_empty);
}

PendingLog LogQueue::Take() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(pending_, PendingLog());
}

void LogQueue::WakeIfWasEmpty(bool was_empty) {
  if (was_empty && wake_) wake_(wake_context_);
}

}  // namespace quarn
