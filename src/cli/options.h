#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qdvz::cli {

struct Options {
  std::string sizeFile;
  std::optional<std::string> outputFile;
  std::optional<std::string> outputDirectory;
  std::vector<std::string> inputs;
  bool help = false;
  bool version = false;
};

struct ParsedOptions {
  Options options;
  std::string usageError;  // non-empty when the command line is wrong
};

ParsedOptions ParseOptions(const std::vector<std::string>& args);

}  // namespace qdvz::cli
