#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <utility>

namespace qdvz {

// What tells one file from another whatever the names leading to it (links, case-insensitive
// names, hard links): the device or volume and the file's number on it.
using FileIdentity = std::pair<std::uint64_t, std::uint64_t>;

// The identity of the file a path leads to, links followed; nothing when there is none.
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);

enum class StandardStream { kInput, kOutput, kError };

// The identity of the file, device or pipe behind a standard stream; nothing when the stream
// is closed (or, on Windows, is no file on a disk).
std::optional<FileIdentity> IdentityOf(StandardStream stream);

}  // namespace qdvz
