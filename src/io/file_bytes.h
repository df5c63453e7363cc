#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "convert/failure.h"
#include "convert/limits.h"

namespace qdvz {

// The whole content of a file, read once; a file larger than kMaxFileBytes is refused.
Result<std::string> ReadFileBytes(const std::filesystem::path& path);

// All of standard input, read as a file is: a folder or more than the largest file read is
// refused with the same words.
Result<std::string> ReadStandardInput();

}  // namespace qdvz
