#include "cli/run_in_order.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <new>
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

// An exception on either side, early or late, with the workers still busy or waiting, ends
// the run by throwing it to the caller, with every worker joined (else std::terminate would
// end the process) and no item finished after it.
TEST(RunInOrder, AnExceptionOnEitherSideStopsAndJoinsTheWorkers) {
  struct Row {
    bool inFinish;
    size_t at;
  };
  for (const Row row : {Row{false, 0}, Row{false, 37}, Row{true, 0}, Row{true, 37}}) {
    for (unsigned workers : {1u, 2u, 5u}) {
      SCOPED_TRACE(std::to_string(row.inFinish) + " " + std::to_string(row.at) + " " +
                   std::to_string(workers));
      std::atomic<size_t> lastFinished{0};
      auto prepare = [&](size_t i) {
        if (!row.inFinish && i == row.at) throw std::bad_alloc();
        return i;
      };
      auto finish = [&](size_t i, size_t) {
        if (row.inFinish && i == row.at) throw std::bad_alloc();
        lastFinished = i;
      };
      EXPECT_THROW(RunInOrder(100, workers, prepare, finish), std::bad_alloc);
      EXPECT_LT(lastFinished, row.at + 1);
    }
  }
}

}  // namespace
}  // namespace qdvz::cli
