#include "io/posix/file_identity.h"

#include <unistd.h>

namespace qdvz {

FileIdentity IdentityOf(const struct stat& info) {
  return FileIdentity(static_cast<std::uint64_t>(info.st_dev),
                      static_cast<std::uint64_t>(info.st_ino));
}

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  return IdentityOf(info);
}

std::optional<FileIdentity> IdentityOf(StandardStream stream) {
  int fd = stream == StandardStream::kInput    ? STDIN_FILENO
           : stream == StandardStream::kOutput ? STDOUT_FILENO
                                               : STDERR_FILENO;
  struct stat info {};
  if (fstat(fd, &info) != 0) return std::nullopt;
  return IdentityOf(info);
}

}  // namespace qdvz
