#include "shell/log_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace quarn {
namespace {

// A view as the window keeps it: what it shows after applying each batch.
struct View {
  std::string shown;
  int batches = 0;
  void Apply(const PendingLog& pending) {
    if (pending.clear_first) shown.clear();
    shown += pending.text;
    ++batches;
  }
};

TEST(LogQueueTest, BatchesShowWhatSingleCallsWouldAndWakeOncePerBatch) {
  int wakes = 0;
  LogQueue queue([](void* count) { ++*static_cast<int*>(count); }, &wakes);
  View view;

  queue.Append("first\r\n");
  queue.Append("second ");
  EXPECT_EQ(1, wakes);
  view.Apply(queue.Take());
  EXPECT_EQ("first\r\nsecond ", view.shown);

  // A clear drops what came before it, even what the view already shows,
  // and nothing that came after it.
  queue.Append("ok\r\n");
  queue.Clear();
  queue.Append("after\r\n");
  EXPECT_EQ(2, wakes);
  view.Apply(queue.Take());
  EXPECT_EQ("after\r\n", view.shown);

  // A clear alone empties the view; an empty queue changes nothing.
  queue.Clear();
  view.Apply(queue.Take());
  EXPECT_EQ("", view.shown);
  EXPECT_EQ(3, wakes);
  view.Apply(queue.Take());
  EXPECT_EQ("", view.shown);
}

TEST(LogQueueTest, ConcurrentReaderSeesEveryLineInOrder) {
  LogQueue queue;
  std::string expected;
  for (int i = 0; i < 20000; ++i) expected += std::to_string(i) + "\r\n";
  std::thread worker([&queue] {
    for (int i = 0; i < 20000; ++i) queue.Append(std::to_string(i) + "\r\n");
  });
  View view;
  for (int spins = 0; view.shown.size() < expected.size() && spins < 1000000;
       ++spins) {
    view.Apply(queue.Take());
  }
  worker.join();
  view.Apply(queue.Take());
  EXPECT_EQ(expected, view.shown);
}

}  // namespace
}  // namespace quarn
