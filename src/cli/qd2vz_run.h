#pragma once

#include <string>
#include <vector>

namespace qdvz::cli {

// qd2vz with these arguments (UTF-8, without the program's name): converts, writes its
// messages to standard error, and returns the exit status: 0 when every input was converted,
// 1 when any was refused or failed, 2 for a usage error.
int RunQd2vz(const std::vector<std::string>& args);

}  // namespace qdvz::cli
