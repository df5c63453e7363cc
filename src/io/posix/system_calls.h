#pragma once

// POSIX only: the calls through which files are opened, read, written and closed. Tests put
// their own in place to see how failures that disks rarely give are handled: a close that
// reports data lost, a read or an open interrupted by a signal.
#include <sys/types.h>

#include <cstddef>

namespace qdvz::detail {

struct SystemCalls {
  int (*open)(const char* path, int flags, mode_t mode);
  ssize_t (*read)(int fd, void* buffer, size_t size);
  ssize_t (*write)(int fd, const void* buffer, size_t size);
  int (*close)(int fd);
};

// The calls in use: the system's own unless a test replaced them.
SystemCalls& Sys();

}  // namespace qdvz::detail
