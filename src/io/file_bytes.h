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

// No QD or character-size file comes near this size; a larger one (or a device such as
// /dev/zero, which never ends) is refused instead of filling the memory.
inline constexpr size_t kMaxFileBytes = size_t{256} << 20;

// The whole content of a file, read once.
FileBytes ReadFileBytes(const std::filesystem::path& path);

}  // namespace qdvz
