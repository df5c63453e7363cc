#include "cli/run_in_order.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

namespace qdvz::cli {
namespace {

// Items prepared on several threads, some slower than others, are still finished one by one
// in their own order, each with its own result; several threads run when asked for, but no more,
// and they stay a few items ahead of a slow finish rather than preparing everything at once.
TEST(RunInOrder, FinishesEveryItemInOrderWhateverTheWorkers) {
  for (unsigned workers : {1u, 2u, 5u}) {
    std::vector<size_t> finished;
    std::atomic<size_t> running{0}, mostRunning{0}, done{0}, mostAhead{0};
    auto most = [](std::atomic<size_t>& most, size_t now) {
      for (size_t seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
      }
    };
    auto prepare = [&](size_t i) {
      most(mostRunning, ++running);
      most(mostAhead, i - done);
      if (i % 7 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
      --running;
      return std::to_string(i * i);
    };
    RunInOrder(100, workers, prepare, [&](size_t i, const std::string& result) {
      EXPECT_EQ(result, std::to_string(i * i));
      finished.push_back(i);
      std::this_thread::sleep_for(std::chrono::microseconds(500));
      ++done;
    });
    ASSERT_EQ(finished.size(), 100u) << workers;
    for (size_t i = 0; i < finished.size(); ++i) EXPECT_EQ(finished[i], i);
    EXPECT_LE(mostRunning, workers);
    EXPECT_EQ(mostRunning > 1, workers > 1);
    EXPECT_LE(mostAhead, 8 * workers);
  }
  RunInOrder(
      0, 2, [](size_t) { return 0; }, [](size_t, int) { ADD_FAILURE(); });
}

}  // namespace
}  // namespace qdvz::cli
