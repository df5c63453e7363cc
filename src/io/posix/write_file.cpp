#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "io/interrupt.h"
#include "io/io_messages.h"
#include "io/posix/file_identity.h"
#include "io/posix/system_calls.h"
#include "io/posix/unique_fd.h"
#include "io/system_error.h"
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

// Where a path leads through symbolic links in its last part: each link's target is joined
// to the folder of the link, never made absolute, so that no path grows beyond what the
// system accepts because a folder on the way is deep; a name that does grow too long fails
// in words. The path itself when it is no link; where a link that leads nowhere points, as
// the shell's ">" would create it.
Result<std::filesystem::path> FollowLinks(const std::filesystem::path& path) {
  std::filesystem::path end = path;
  for (int hops = 0;; ++hops) {
    struct stat info {};
    if (lstat(end.c_str(), &info) != 0) {
      if (errno == ENOENT) return end;
      return WriteFailure(errno);
    }
    if (!S_ISLNK(info.st_mode)) return end;
    if (hops == 40) return WriteFailure(ELOOP);
    std::error_code error;
    std::filesystem::path next = std::filesystem::read_symlink(end, error);
    if (error) return WriteFailure(error.value());
    end = next.is_absolute() ? next : end.parent_path() / next;
  }
}

// The standard stream that a name such as /dev/stdout or /dev/fd/1 stands for, when that
// stream is closed: such a name then leads nowhere, which would read as a missing folder.
std::optional<int> ClosedStreamName(const std::filesystem::path& path) {
  const std::string& name = path.native();
  int fd = -1;
  if (name == "/dev/stdin") fd = 0;
  if (name == "/dev/stdout") fd = 1;
  if (name == "/dev/stderr") fd = 2;
  for (const char* folder : {"/dev/fd/", "/proc/self/fd/"}) {
    std::string_view prefix = folder;
    if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
        name.find_first_not_of("0123456789", prefix.size()) == std::string::npos &&
        name.size() - prefix.size() < 9) {
      fd = std::stoi(name.substr(prefix.size()));
    }
  }
  if (fd < 0 || fcntl(fd, F_GETFD) >= 0) return std::nullopt;
  return fd;
}

// What open(..., 0666) would give a new file. The mask can only be read by setting it.
mode_t NewFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// A temporary file's name: hidden, next to the target, so that renaming stays on one file
// system, and ending in six letters or digits that differ from try to try. The target's
// name is shortened so that the whole stays within a name's limit.
std::string TemporaryName(const std::filesystem::path& target) {
  static std::atomic<uint64_t> tries{0};
  uint64_t mixed =
      (static_cast<uint64_t>(getpid()) << 32) ^
      static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      (++tries * 0x9E3779B97F4A7C15u);
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::string name = "." + target.filename().native().substr(0, 200) + ".";
  for (int i = 0; i < 6; ++i, mixed /= 62) name += kLetters[mixed % 62];
  std::filesystem::path directory = target.parent_path();
  return directory.empty() ? name : (directory / name).native();
}

void SyncDirectory(const std::filesystem::path& target) {
  std::filesystem::path directory = target.parent_path();
  UniqueFd fd(Sys().open(directory.empty() ? "." : directory.c_str(),
                         O_RDONLY | O_DIRECTORY | O_CLOEXEC, mode_t{}));
  if (fd.Valid()) fsync(fd.Get());  // durability of the rename only; the file is already safe
}

// A temporary file next to target (readable by its owner only), created in one step with
// its note, so that an interruption removes it. Removed again when it goes out of scope
// without having been given its name, whatever the reason (an exception included).
class Temporary {
 public:
  Temporary() = default;
  Temporary(Temporary&& other) noexcept
      : fd(std::move(other.fd)),
        name(std::move(other.name)),
        note(std::exchange(other.note, -1)),
        named(std::exchange(other.named, true)) {}
  Temporary& operator=(Temporary&&) = delete;
  ~Temporary() {
    if (named) return;
    fd.Close();
    InterruptionHeld held;
    unlink(name.c_str());
    ForgetTemporaryFile(note);
  }
  // It has its own name now: an interruption leaves it, and so does going out of scope.
  // Called while an InterruptionHeld lives, in the step that named it.
  void Named() {
    ForgetTemporaryFile(note);
    named = true;
  }

  UniqueFd fd;
  std::string name;
  int note = -1;
  bool named = true;  // renamed or linked to its own name, or never created
};

Result<Temporary> CreateTemporary(const std::filesystem::path& target) {
  for (int attempt = 0;; ++attempt) {
    std::string name = TemporaryName(target);
    InterruptionHeld held;
    UniqueFd fd(Sys().open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (fd.Valid()) {
      Temporary temporary;
      temporary.fd = std::move(fd);
      temporary.name = std::move(name);
      temporary.note = NoteTemporaryFile(temporary.name);
      temporary.named = false;
      return temporary;
    }
    if (errno != EEXIST || attempt == 100) return WriteFailure(errno);
  }
}

// Gives a written temporary file the name path, only if nothing has that name: EEXIST when
// something has. Renaming without replacing is one step; where the file system cannot do
// that, a second name is linked and the first removed; where it cannot link either, the
// name is taken by creating it exclusively and then replaced.
int NameWithoutReplacing(Temporary& temporary, const std::filesystem::path& path) {
  InterruptionHeld held;
  const char* from = temporary.name.c_str();
  int error = 0;
  if (renameat2(AT_FDCWD, from, AT_FDCWD, path.c_str(), RENAME_NOREPLACE) != 0) {
    error = errno;
    if (error == EINVAL || error == ENOSYS || error == ENOTSUP) {
      error = 0;
      if (link(from, path.c_str()) == 0) {
        unlink(from);
      } else if (errno == EPERM || errno == ENOTSUP) {
        UniqueFd taken(Sys().open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!taken.Valid()) {
          error = errno;
        } else if (rename(from, path.c_str()) != 0) {
          error = errno;
          unlink(path.c_str());
        }
      } else {
        error = errno;
      }
    }
  }
  if (error == 0) temporary.Named();
  return error;
}

}  // namespace

Result<WriteTarget> InspectWriteTarget(const std::filesystem::path& path) {
  WriteTarget target;
  target.finalPath = path;
  struct stat existing {};
  if (stat(path.c_str(), &existing) != 0) {
    if (errno != ENOENT) return WriteFailure(errno);
    if (ClosedStreamName(path)) return Failure{FailureKind::kFileAccess, msg::kStreamClosed};
    Result<std::filesystem::path> end = FollowLinks(path);
    if (!end) return end.failure();
    target.finalPath = *end;
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
    Result<std::filesystem::path> end = FollowLinks(path);
    if (!end) return end.failure();
    target.finalPath = *end;
  }
  return target;
}

Result<NewFile> WriteNewFile(const std::filesystem::path& path, std::string_view bytes) {
  Result<Temporary> temporary = CreateTemporary(path);
  if (!temporary) return temporary.failure();
  // No flush to the disk: a new file has no old contents to protect, and flushing dominated
  // the time of a batch.
  int error = fchmod(temporary->fd.Get(), NewFileMode()) != 0 ? errno : 0;
  if (error == 0) error = WriteAndClose(temporary->fd, bytes);
  if (error == 0) error = NameWithoutReplacing(*temporary, path);
  if (error == EEXIST) return NewFile::kTaken;
  if (error != 0) return WriteFailure(error);
  return NewFile::kWritten;
}

Result<void> ReplaceByRename(const std::filesystem::path& path, std::string_view bytes) {
  struct stat existing {};
  bool exists = stat(path.c_str(), &existing) == 0;

  Result<Temporary> temporary = CreateTemporary(path);
  if (!temporary) return temporary.failure();
  UniqueFd& fd = temporary->fd;
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
  if (error == 0) {
    InterruptionHeld held;
    if (rename(temporary->name.c_str(), path.c_str()) == 0) {
      temporary->Named();
    } else {
      error = errno;
    }
  }
  if (error != 0) return WriteFailure(error);
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
