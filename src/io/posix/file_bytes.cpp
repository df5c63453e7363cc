#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "io/file_bytes.h"
#include "io/io_messages.h"
#include "io/posix/system_calls.h"
#include "io/posix/unique_fd.h"
#include "io/system_error.h"

namespace qdvz {
namespace {

Failure ReadFailure(int error) {
  return FileFailure(FileStep::kRead, error);
}

// Everything from an open file, which stays open (or as much as `enough` asks for).
Result<std::string> ReadAll(int fd, const ReadEnough& enough) {
  // A folder opens for reading like a file; say what it is before trying to read it.
  struct stat info {};
  if (fstat(fd, &info) != 0) return ReadFailure(errno);
  if (S_ISDIR(info.st_mode)) return ReadFailure(EISDIR);

  // A file whose size is known is read straight into room for that size and one byte more,
  // so that one call normally reads it all and shows its end. What has no size (a device, a
  // pipe, the files of /proc) or changes meanwhile is read in steps until nothing comes.
  size_t expected = 0;
  if (S_ISREG(info.st_mode) && info.st_size > 0 &&
      static_cast<size_t>(info.st_size) <= kMaxFileBytes) {
    expected = static_cast<size_t>(info.st_size);
  }
  // A reader that may stop early starts with one piece.
  size_t first = expected > 0 ? expected + 1 : 65536;
  std::string bytes(enough ? std::min<size_t>(first, 65536) : first, '\0');
  size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) bytes.resize(filled + 65536);
    size_t wanted = bytes.size() - filled;
    ssize_t got = detail::Sys().read(fd, bytes.data() + filled, wanted);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return ReadFailure(errno);
    filled += static_cast<size_t>(got);
    if (filled > kMaxFileBytes) return Failure{FailureKind::kFileAccess, msg::kFileTooLarge};
    if (enough && got > 0) {
      if (std::optional<size_t> keep = enough(std::string_view(bytes.data(), filled))) {
        bytes.resize(std::min(*keep, filled));
        return bytes;
      }
    }
    if (got == 0 || (filled == expected && static_cast<size_t>(got) < wanted)) break;
  }
  bytes.resize(filled);
  return bytes;
}

}  // namespace

Result<std::string> ReadFileBytes(const std::filesystem::path& path, const ReadEnough& enough) {
  UniqueFd fd;
  do {
    fd = UniqueFd(detail::Sys().open(path.c_str(), O_RDONLY | O_CLOEXEC, mode_t{}));
  } while (!fd.Valid() && errno == EINTR);
  if (!fd.Valid()) return ReadFailure(errno);
  return ReadAll(fd.Get(), enough);
}

Result<std::string> ReadStandardInput(const ReadEnough& enough) {
  if (fcntl(STDIN_FILENO, F_GETFD) < 0) {
    return Failure{FailureKind::kFileAccess, msg::kNoStandardInput};
  }
  return ReadAll(STDIN_FILENO, enough);
}

}  // namespace qdvz
