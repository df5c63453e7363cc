#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace qdvz::cli {

// Calls prepare(i) for i = 0 .. count - 1 on up to `workers` threads and finish(i, result) on
// the calling thread strictly in order of i, each as soon as its result is there. Workers stay
// at most a few items ahead of finish, so memory does not grow with count; a worker that got
// that far is woken again only when half of that lead has been finished, so that it goes on
// with several items per wake-up rather than one.
// An exception from either side (memory running out, say) stops the workers from taking
// more items, waits for them, and is thrown again from here: no thread is left running and
// no item is finished after it.
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
  bool stopped = false;            // no worker takes another item
  std::exception_ptr workerError;  // the first exception of a worker

  // Threads are woken only when there is something for them: a wake-up costs more than the
  // bookkeeping it guards.
  auto work = [&] {
    std::unique_lock lock(mutex);
    for (;;) {
      if (!stopped && next < count && next >= finished + ahead) {
        ++waitingWorkers;
        roomFreed.wait(lock, [&] { return stopped || next >= count || next < finished + ahead; });
        --waitingWorkers;
      }
      if (stopped || next >= count) return;
      size_t item = next++;
      if (window.size() < item - finished + 1) window.resize(item - finished + 1);
      lock.unlock();
      std::optional<Result> result;
      std::exception_ptr error;
      try {
        result.emplace(prepare(item));
      } catch (...) {
        error = std::current_exception();
      }
      lock.lock();
      if (error) {
        if (!workerError) workerError = error;
        stopped = true;
        roomFreed.notify_all();
        resultReady.notify_one();
        return;
      }
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
  auto stopAndJoin = [&] {
    {
      std::lock_guard lock(mutex);
      stopped = true;
    }
    roomFreed.notify_all();
    for (auto& thread : threads) thread.join();
  };
  if (threads.empty()) {
    for (size_t i = 0; i < count; ++i) finish(i, prepare(i));
    return;
  }

  try {
    for (size_t i = 0; i < count; ++i) {
      std::unique_lock lock(mutex);
      resultReady.wait(
          lock, [&] { return workerError || (!window.empty() && window.front().has_value()); });
      if (workerError) break;
      Result result = std::move(*window.front());
      window.pop_front();
      ++finished;
      if (waitingWorkers > 0 && next - finished <= ahead / 2) roomFreed.notify_all();
      lock.unlock();
      finish(i, result);
    }
  } catch (...) {
    stopAndJoin();
    throw;
  }
  stopAndJoin();
  if (workerError) std::rethrow_exception(workerError);
}

}  // namespace qdvz::cli
