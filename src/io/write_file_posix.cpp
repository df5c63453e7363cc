#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <system_error>
#include <vector>

#include "io/system_calls.h"
#include "io/system_error.h"
#include "io/unique_fd.h"
#include "io/write_target.h"

namespace qdvz::detail {
namespace {

Failure WriteFailure(int error) {
  return FileFailure(FileStep::kWrite, error);
}

// Writes all of bytes; returns 0 or the errno of the failure.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = Sys().write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return errno;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return 0;
}

// Writes bytes and closes; 0 or the first errno.
int WriteAndClose(UniqueFd& fd, std::string_view bytes) {
  int error = WriteAll(fd.Get(), bytes);
  int closeError = fd.Close();
  return error != 0 ? error : closeError;
}

// Where a symbolic link that leads nowhere points, followed through further links, as the
// shell's ">" would create it; the path itself when it is no such link.
std::filesystem::path DanglingLinkEnd(const std::filesystem::path& path) {
  std::filesystem::path end = path;
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code error;
    std::filesystem::path next = std::filesystem::read_symlink(end, error);
    if (error) break;
    end = next.is_absolute() ? next : end.parent_path() / next;
  }
  return end;
}

// What open(..., 0666) would give a new file. The mask can only be read by setting it.
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
  UniqueFd fd(Sys().open(directory.empty() ? "." : directory.c_str(),
                         O_RDONLY | O_DIRECTORY | O_CLOEXEC, mode_t{}));
  if (fd.Valid()) fsync(fd.Get());  // durability of the rename only; the file is already safe
}

}  // namespace

Result<WriteTarget> InspectWriteTarget(const std::filesystem::path& path) {
  WriteTarget target;
  target.finalPath = path;
  struct stat existing {};
  if (stat(path.c_str(), &existing) != 0) {
    if (errno != ENOENT) return WriteFailure(errno);
    target.finalPath = DanglingLinkEnd(path);
    return target;
  }
  target.identity = IdentityOf(existing);
  if (S_ISDIR(existing.st_mode)) {
    target.kind = WriteTarget::Kind::kFolder;
  } else if (!S_ISREG(existing.st_mode)) {
    target.kind = WriteTarget::Kind::kOther;
  } else {
    target.kind = WriteTarget::Kind::kRegularFile;
    if (access(path.c_str(), W_OK) != 0) {
      if (errno != EACCES && errno != EPERM) return WriteFailure(errno);
      target.readOnly = true;
    }
    // Through a symbolic link the file it leads to is replaced, not the link.
    std::error_code ignored;
    std::filesystem::path resolved = std::filesystem::canonical(path, ignored);
    if (!resolved.empty()) target.finalPath = resolved;
  }
  return target;
}

Result<NewFile> WriteNewFile(const std::filesystem::path& path, std::string_view bytes) {
  UniqueFd fd(Sys().open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (!fd.Valid()) {
    if (errno == EEXIST) return NewFile::kTaken;
    return WriteFailure(errno);
  }
  if (int error = WriteAndClose(fd, bytes); error != 0) {
    unlink(path.c_str());
    return WriteFailure(error);
  }
  return NewFile::kWritten;
}

Result<void> ReplaceByRename(const std::filesystem::path& path, std::string_view bytes) {
  struct stat existing {};
  bool exists = stat(path.c_str(), &existing) == 0;

  std::string pattern = TemporaryTemplate(path);
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  UniqueFd fd(mkstemp(name.data()));
  if (!fd.Valid()) return WriteFailure(errno);

  int error = 0;
  if (exists) {
    if (fchmod(fd.Get(), existing.st_mode & 07777) != 0) error = errno;
    if (error == 0 && (existing.st_uid != geteuid() || existing.st_gid != getegid()) &&
        fchown(fd.Get(), existing.st_uid, existing.st_gid) != 0) {
      // Only the owner can give a file away; the new file then stays ours.
    }
  } else if (fchmod(fd.Get(), NewFileMode()) != 0) {
    error = errno;
  }
  if (error == 0) error = WriteAll(fd.Get(), bytes);
  // The old contents must survive until the new ones are on the disk.
  if (error == 0 && fsync(fd.Get()) != 0) error = errno;
  int closeError = fd.Close();
  if (error == 0) error = closeError;
  if (error == 0 && rename(name.data(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(name.data());
    return WriteFailure(error);
  }
  SyncDirectory(path);
  return {};
}

Result<void> WriteInPlace(const std::filesystem::path& path, std::string_view bytes) {
  UniqueFd fd(Sys().open(path.c_str(), O_WRONLY | O_CLOEXEC, mode_t{}));
  if (!fd.Valid()) return WriteFailure(errno);
  if (int error = WriteAndClose(fd, bytes); error != 0) return WriteFailure(error);
  return {};
}

Result<void> WriteToStream(StandardStream stream, std::string_view bytes) {
  int fd = stream == StandardStream::kError ? STDERR_FILENO : STDOUT_FILENO;
  if (int error = WriteAll(fd, bytes); error != 0) return WriteFailure(error);
  return {};
}

}  // namespace qdvz::detail
