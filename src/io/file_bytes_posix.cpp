#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "io/file_bytes.h"
#include "io/io_messages.h"

namespace qdvz {
namespace {

Refusal ReadRefusal(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:  // a part of the path that should be a folder is a file
      return {msg::kFileNotFound, 0};
    case EACCES:
    case EPERM:
      return {msg::kNoReadPermission, 0};
    case EISDIR:
      return {msg::kIsFolder, 0};
    default:
      return {msg::CannotRead(error), 0};
  }
}

}  // namespace

FileBytes ReadFileBytes(const std::filesystem::path& path) {
  FileBytes file;
  int fd = -1;
  do {
    fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    file.error = ReadRefusal(errno);
    return file;
  }
  // A folder opens for reading like a file; say what it is before trying to read it.
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    file.error = ReadRefusal(errno);
  } else if (S_ISDIR(info.st_mode)) {
    file.error = ReadRefusal(EISDIR);
  } else {
    // A file whose size is known is read straight into room for that size and one byte more,
    // so that one call normally reads it all and shows its end. What has no size (a device, a
    // pipe, the files of /proc) or changes meanwhile is read in steps until nothing comes.
    size_t expected = 0;
    if (S_ISREG(info.st_mode) && info.st_size > 0 &&
        static_cast<size_t>(info.st_size) <= kMaxFileBytes) {
      expected = static_cast<size_t>(info.st_size);
    }
    size_t room = expected > 0 ? expected + 1 : 65536;
    size_t filled = 0;
    file.bytes.resize(room);
    for (;;) {
      if (filled == file.bytes.size()) file.bytes.resize(filled + 65536);
      size_t wanted = file.bytes.size() - filled;
      ssize_t got = read(fd, file.bytes.data() + filled, wanted);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        file.error = ReadRefusal(errno);
        break;
      }
      filled += static_cast<size_t>(got);
      if (filled > kMaxFileBytes) {
        file.error = Refusal{msg::kFileTooLarge, 0};
        break;
      }
      if (got == 0 || (filled == expected && static_cast<size_t>(got) < wanted)) break;
    }
    file.bytes.resize(filled);
  }
  close(fd);
  if (file.error) file.bytes.clear();
  return file;
}

}  // namespace qdvz
