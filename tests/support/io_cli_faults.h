#pragma once

// POSIX only: the system calls of io/posix/system_calls.h failing as a test says, for the failures
// that disks rarely give: an open or read interrupted by a signal, a write cut short or failing
// half way, a close that reports data lost; and exceptions where none is expected.
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <map>
#include <new>
#include <stdexcept>
#include <vector>

#include "io/posix/system_calls.h"

namespace qdvz::test {

// What one call does instead of its usual work. kFail fails with error; a close closes first,
// as Linux does. kHalf moves half the bytes asked for. kSignal raises the signal `error`, then
// does its work.
struct Fault {
  enum Kind { kNone, kFail, kHalf, kThrow, kNoMemory, kSignal } kind = kNone;
  int error = 0;
};
inline constexpr Fault kPass{};
inline constexpr Fault kInterrupted{Fault::kFail, EINTR};
inline constexpr Fault kHalf{Fault::kHalf};
inline constexpr Fault kThrow{Fault::kThrow};
inline constexpr Fault kNoMemory{Fault::kNoMemory};
inline constexpr Fault Failing(int error) {
  return {Fault::kFail, error};
}
inline constexpr Fault Raising(int signal) {
  return {Fault::kSignal, signal};
}

// For each kind of call, what its first, second, ... call does; later calls pass.
enum class Call { kOpen, kRead, kWrite, kClose };
using Faults = std::map<Call, std::vector<Fault>>;

// Puts the faults in place for as long as it lives.
class InjectedFaults {
 public:
  explicit InjectedFaults(Faults faults) : saved_(detail::Sys()) {
    script_ = std::move(faults);
    for (auto& count : counts_) count = 0;
    detail::Sys() = {&Open, &Read, &Write, &Close};
  }
  ~InjectedFaults() { detail::Sys() = saved_; }
  InjectedFaults(const InjectedFaults&) = delete;
  InjectedFaults& operator=(const InjectedFaults&) = delete;

 private:
  static inline Faults script_;
  static inline std::array<std::atomic<size_t>, 4> counts_;

  // The fault of this call; true when it fails the call, errno set.
  static bool Apply(Call call, Fault& fault) {
    auto faults = script_.find(call);
    size_t nth = counts_[static_cast<int>(call)]++;
    fault = faults != script_.end() && nth < faults->second.size() ? faults->second[nth] : kPass;
    if (fault.kind == Fault::kThrow) throw std::runtime_error("boom");
    if (fault.kind == Fault::kNoMemory) throw std::bad_alloc();
    if (fault.kind == Fault::kSignal) raise(fault.error);
    if (fault.kind != Fault::kFail || call == Call::kClose) return false;
    errno = fault.error;
    return true;
  }
  static int Open(const char* path, int flags, mode_t mode) {
    Fault fault;
    return Apply(Call::kOpen, fault) ? -1 : ::open(path, flags, mode);
  }
  static ssize_t Read(int fd, void* buffer, size_t size) {
    Fault fault;
    if (Apply(Call::kRead, fault)) return -1;
    return ::read(fd, buffer, fault.kind == Fault::kHalf ? (size + 1) / 2 : size);
  }
  static ssize_t Write(int fd, const void* buffer, size_t size) {
    Fault fault;
    if (Apply(Call::kWrite, fault)) return -1;
    return ::write(fd, buffer, fault.kind == Fault::kHalf ? (size + 1) / 2 : size);
  }
  static int Close(int fd) {
    Fault fault;
    Apply(Call::kClose, fault);
    int result = ::close(fd);
    if (fault.kind != Fault::kFail) return result;
    errno = fault.error;
    return -1;
  }

  detail::SystemCalls saved_;
};

}  // namespace qdvz::test
