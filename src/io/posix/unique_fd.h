#pragma once

// POSIX only: a file descriptor that is closed when it goes out of scope.
#include <errno.h>
#include <unistd.h>

#include <utility>

#include "io/posix/system_calls.h"

namespace qdvz {

class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd() { Close(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      Close();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }

  bool Valid() const { return fd_ >= 0; }
  int Get() const { return fd_; }

  // Closes now; 0 or the errno of the failure. Data may be reported lost only here (NFS, a
  // full disk), so writers must look. EINTR counts as closed: Linux has freed the descriptor.
  int Close() {
    if (fd_ < 0) return 0;
    int result = detail::Sys().close(std::exchange(fd_, -1));
    return result != 0 && errno != EINTR ? errno : 0;
  }

 private:
  int fd_;
};

}  // namespace qdvz
