#pragma once

#include <optional>
#include <string>
#include <vector>

#include "convert/failure.h"

namespace qdvz::cli {

struct Options {
  std::string sizeFile;
  std::optional<std::string> outputFile;  // none: standard output (also for "-o -")
  std::optional<std::string> outputDirectory;
  std::vector<std::string> inputs;
  bool help = false;
  bool version = false;
};

// The options of qd2vz from its arguments (UTF-8); a wrong command line fails as kUsage.
Result<Options> ParseOptions(const std::vector<std::string>& args);

}  // namespace qdvz::cli
