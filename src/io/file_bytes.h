#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "convert/refusal.h"

namespace qdvz {

struct FileBytes {
  std::string bytes;
  std::optional<Refusal> error;  // why the file could not be read; no line is named
};

// The whole content of a file, read once.
FileBytes ReadFileBytes(const std::filesystem::path& path);

}  // namespace qdvz
