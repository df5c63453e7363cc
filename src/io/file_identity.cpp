#include "io/file_identity.h"

#ifdef _WIN32
#include "io/win32/unique_handle.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qdvz {

#ifdef _WIN32

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
  return FileIdentity(info.dwVolumeSerialNumber,
                      (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
}

namespace {

std::optional<FileIdentity> IdentityOfHandle(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle, &info)) return std::nullopt;
  return IdentityOf(info);
}

}  // namespace

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
  // Opening with no access right and backup semantics works for files and folders alike.
  UniqueHandle handle(CreateFileW(path.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.Valid()) return std::nullopt;
  return IdentityOfHandle(handle.Get());
}

std::optional<FileIdentity> IdentityOf(StandardStream stream) {
  DWORD which = stream == StandardStream::kInput    ? STD_INPUT_HANDLE
                : stream == StandardStream::kOutput ? STD_OUTPUT_HANDLE
                                                    : STD_ERROR_HANDLE;
  HANDLE handle = GetStdHandle(which);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return std::nullopt;
  return IdentityOfHandle(handle);
}

#else

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

#endif

}  // namespace qdvz
