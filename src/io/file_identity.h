#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <utility>

// What the system says of an open file, for IdentityOf below.
#ifdef _WIN32
struct _BY_HANDLE_FILE_INFORMATION;
#else
struct stat;
#endif

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

// The identity in what the system said of a file: GetFileInformationByHandle on Windows,
// stat elsewhere.
#ifdef _WIN32
FileIdentity IdentityOf(const _BY_HANDLE_FILE_INFORMATION& info);
#else
FileIdentity IdentityOf(const struct stat& info);
#endif

}  // namespace qdvz
