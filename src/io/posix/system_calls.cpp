#include <fcntl.h>
#include <unistd.h>

#include "io/posix/system_calls.h"

namespace qdvz::detail {

SystemCalls& Sys() {
  static SystemCalls calls{
      [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }, ::read,
      ::write, ::close};
  return calls;
}

}  // namespace qdvz::detail
