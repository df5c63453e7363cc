#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace qdvz::cli {

// Calls prepare(i) for i = 0 .. count - 1 on up to `workers` threads and finish(i, result) on
// the calling thread strictly in order of i, each as soon as its result is there. prepare must
// not throw. Workers stay
// at most a few items ahead of finish, so memory does not grow with count; a worker that got
// that far is woken again only when half of that lead has been finished, so that it goes on
// with several items per wake-up rather than one.
template <typename Prepare, typename Finish>
void RunInOrder(size_t count, unsigned workers, Prepare prepare, Finish finish) {
  using Result = decltype(prepare(size_t{0}));
  if (workers <= 1 || count <= 1) {
    for (size_t i = 0; i < count; ++i) finish(i, prepare(i));
    return;
  }
  const size_t ahead = 4 * static_cast<size_t>(workers);
  std::mutex mutex;
  std::condition_variable resultReady;       // the calling thread waits for the next result
  std::condition_variable roomFreed;         // workers wait while they are too far ahead
  std::deque<std::optional<Result>> window;  // results of items finished .. finished + size
  size_t next = 0;                           // the next item a worker takes
  size_t finished = 0;                       // items handed to finish
  unsigned waitingWorkers = 0;

  // Threads are woken only when there is something for them: a wake-up costs more than the
  // bookkeeping it guards.
  auto work = [&] {
    std::unique_lock lock(mutex);
    for (;;) {
      if (next < count && next >= finished + ahead) {
        ++waitingWorkers;
        roomFreed.wait(lock, [&] { return next >= count || next < finished + ahead; });
        --waitingWorkers;
      }
      if (next >= count) return;
      size_t item = next++;
      if (window.size() < item - finished + 1) window.resize(item - finished + 1);
      lock.unlock();
      Result result = prepare(item);
      lock.lock();
      window[item - finished] = std::move(result);
      if (item == finished) resultReady.notify_one();
    }
  };
  std::vector<std::thread> threads;
  threads.reserve(workers);
  for (unsigned t = 0; t < std::min<size_t>(workers, count); ++t) {
    try {
      threads.emplace_back(work);
    } catch (const std::system_error&) {
      break;  // the system has no more threads to give: go on with those there are
    }
  }
  if (threads.empty()) {
    for (size_t i = 0; i < count; ++i) finish(i, prepare(i));
    return;
  }

  for (size_t i = 0; i < count; ++i) {
    std::unique_lock lock(mutex);
    resultReady.wait(lock, [&] { return !window.empty() && window.front().has_value(); });
    Result result = std::move(*window.front());
    window.pop_front();
    ++finished;
    if (waitingWorkers > 0 && next - finished <= ahead / 2) roomFreed.notify_all();
    lock.unlock();
    finish(i, result);
  }
  for (auto& thread : threads) thread.join();
}

}  // namespace qdvz::cli
