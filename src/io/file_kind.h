#pragma once

#include <filesystem>

namespace qdvz {

// What a path leads to, links followed. The window reads only regular files, since reading a
// pipe with no writer or a device such as /dev/zero would block it for good; and it saves to
// no pipe or socket, which would block it until some other program reads, nor to a device.
// On Windows a name that the system reads as a device is one whether or not it opens.
enum class FileKind { kMissing, kRegular, kFolder, kPipeOrSocket, kDevice };
FileKind KindOf(const std::filesystem::path& path);

}  // namespace qdvz
