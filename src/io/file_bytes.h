#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "convert/failure.h"
#include "convert/limits.h"

namespace qdvz {

// Says, from the bytes read so far, whether reading may stop: the number of them to keep, or
// nothing to read on. Asked after every piece, so that a reader that needs only the start of
// a file holds no more of it than that start and one piece.
using ReadEnough = std::function<std::optional<size_t>(std::string_view readSoFar)>;

// The whole content of a file, read once (a file larger than kMaxFileBytes is refused); with
// `enough`, only as much as it asks for.
Result<std::string> ReadFileBytes(const std::filesystem::path& path, const ReadEnough& enough = {});

// All of standard input, read as a file is: a folder or more than the largest file read is
// refused with the same words.
Result<std::string> ReadStandardInput(const ReadEnough& enough = {});

}  // namespace qdvz
