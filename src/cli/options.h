#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/console.h"
#include "convert/failure.h"

namespace qdvz::cli {

// The files hold both the name as typed, for messages, and the path, made once here.
struct Options {
  FileArg sizeFile{""};
  std::optional<FileArg> outputFile;  // none: standard output (also for "-o -")
  std::optional<FileArg> outputDirectory;
  std::vector<FileArg> inputs;
  bool help = false;
  bool version = false;
};

// The options of qd2vz from its arguments (UTF-8); a wrong command line fails as kUsage.
Result<Options> ParseOptions(const std::vector<std::string>& args);

}  // namespace qdvz::cli
