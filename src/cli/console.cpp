#include "cli/console.h"

#include <cstdio>

namespace qdvz::cli {

bool WriteStdout(const std::string& bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
         std::fflush(stdout) == 0;
}

}  // namespace qdvz::cli
