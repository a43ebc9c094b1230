// Log text on its way from the worker to the window: the worker never waits
// for the window, and the window takes everything that piled up at once.
#pragma once

#include <mutex>
#include <string>

#include "editing/install_log.h"

namespace quarn {

/// What the window has to do to catch up with the worker.
struct PendingLog {
  bool clear_first = false;  ///< empty the view before appending `text`
  std::string text;          ///< appended after everything shown so far
};

/// A LogWindow that queues what the worker writes. Appends keep their order;
/// a clear drops only the text queued before it, so the view ends up
/// exactly as if every call had reached it one by one.
class LogQueue : public LogWindow {
 public:
  /// `wake` is called (on the worker's thread) each time text or a clear
  /// arrives in an empty queue; the window then takes the whole queue.
  explicit LogQueue(void (*wake)(void*) = nullptr, void* wake_context = nullptr)
      : wake_(wake), wake_context_(wake_context) {}

  void Append(const std::string& text) override;
  void Clear() override;

  /// Everything queued so far, leaving the queue empty.
  PendingLog Take();

 private:
  void WakeIfWasEmpty(bool was_empty);

  std::mutex mutex_;
  PendingLog pending_;
  void (*wake_)(void*);
  void* wake_context_;
};

}  // namespace quarn
