#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "io/io_messages.h"
#include "io/save_text.h"

namespace qdvz {
namespace {

Refusal WriteRefusal(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return {msg::kFolderNotFound, 0};
    case EACCES:
    case EPERM:
    case EROFS:
      return {msg::kNoWritePermission, 0};
    case ENOSPC:
    case EDQUOT:
      return {msg::kDiskFull, 0};
    case EISDIR:
      return {msg::kCannotSaveToFolder, 0};
    default:
      return {msg::CannotWrite(error), 0};
  }
}

// Writes all of bytes; returns 0 or the errno of the failure.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return errno;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return 0;
}

// Devices and pipes cannot be replaced by renaming: write to them directly.
std::optional<Refusal> WriteInPlace(const std::filesystem::path& path, std::string_view bytes) {
  int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return WriteRefusal(errno);
  int error = WriteAll(fd, bytes);
  if (close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
  if (error != 0) return WriteRefusal(error);
  return std::nullopt;
}

// What open(..., 0666) would give a new file. The mask can only be read by setting it;
// files are written from one thread only.
mode_t NewFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// The temporary file's name: hidden, next to the target, so that rename stays on one file
// system. The target's name is shortened so that the whole stays within a name's limit.
std::string TemporaryTemplate(const std::filesystem::path& target) {
  std::filesystem::path directory = target.parent_path();
  std::string name = target.filename().native().substr(0, 200);
  std::string pattern = "." + name + ".XXXXXX";
  return directory.empty() ? pattern : (directory / pattern).native();
}

void SyncDirectory(const std::filesystem::path& target) {
  std::filesystem::path directory = target.parent_path();
  int fd = open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);  // durability of the rename only; the file itself is already safe
  close(fd);
}

}  // namespace

std::optional<Refusal> WriteFileAtomically(const std::filesystem::path& path,
                                           std::string_view bytes) {
  std::filesystem::path target = path;
  struct stat existing {};
  bool exists = stat(path.c_str(), &existing) == 0;
  if (!exists && errno != ENOENT) return WriteRefusal(errno);
  if (exists) {
    if (S_ISDIR(existing.st_mode)) return WriteRefusal(EISDIR);
    if (!S_ISREG(existing.st_mode)) return WriteInPlace(path, bytes);
    // A read-only file is not replaced behind its back, as opening it for writing would
    // not be allowed either.
    if (access(path.c_str(), W_OK) != 0) return WriteRefusal(errno);
    // Through a symbolic link the file it points to is replaced, not the link.
    std::error_code ignored;
    std::filesystem::path resolved = std::filesystem::canonical(path, ignored);
    if (!resolved.empty()) target = resolved;
  }

  if (!exists) {
    // Nothing to protect: write the new file under its own name, created here and now so
    // that a failure can remove it without touching anybody else's file.
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      int error = WriteAll(fd, bytes);
      if (close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
      if (error == 0) return std::nullopt;
      unlink(path.c_str());
      return WriteRefusal(error);
    }
    // Created by someone else meanwhile: replace it like any existing file below.
    if (errno != EEXIST) return WriteRefusal(errno);
  }

  std::string pattern = TemporaryTemplate(target);
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) return WriteRefusal(errno);

  int error = 0;
  if (exists) {
    if (fchmod(fd, existing.st_mode & 07777) != 0) error = errno;
    if (error == 0 && (existing.st_uid != geteuid() || existing.st_gid != getegid()) &&
        fchown(fd, existing.st_uid, existing.st_gid) != 0) {
      // Only the owner can give a file away; the new file then stays ours.
    }
  } else if (fchmod(fd, NewFileMode()) != 0) {
    error = errno;
  }
  if (error == 0) error = WriteAll(fd, bytes);
  // Replacing a file, its old contents must survive until the new ones are on the disk; a
  // new file has nothing to protect, and syncing each one would dominate a batch's time.
  if (error == 0 && exists && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
  if (error == 0 && rename(name.data(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(name.data());
    return WriteRefusal(error);
  }
  if (exists) SyncDirectory(target);
  return std::nullopt;
}

}  // namespace qdvz
