#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "convert/failure.h"

namespace qdvz {

// No QD or character-size file comes near this size; a larger one (or a device such as
// /dev/zero, which never ends) is refused instead of filling the memory.
inline constexpr size_t kMaxFileBytes = size_t{256} << 20;

// The whole content of a file, read once.
Result<std::string> ReadFileBytes(const std::filesystem::path& path);

// All of standard input, read as a file is: a folder or more than the largest file read is
// refused with the same words.
Result<std::string> ReadStandardInput();

}  // namespace qdvz
