#include <unistd.h>

#include "io/system_calls.h"

namespace qdvz::detail {

SystemCalls& Sys() {
  static SystemCalls calls{::read, ::write, ::close};
  return calls;
}

}  // namespace qdvz::detail
