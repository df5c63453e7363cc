#include "io/file_identity.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace qdvz {

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
#ifdef _WIN32
  // Opening with no access right and backup semantics works for files and folders alike.
  HANDLE handle =
      CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  bool ok = GetFileInformationByHandle(handle, &info) != 0;
  CloseHandle(handle);
  if (!ok) return std::nullopt;
  return FileIdentity(info.dwVolumeSerialNumber,
                      (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
#else
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileIdentity(static_cast<std::uint64_t>(info.st_dev),
                      static_cast<std::uint64_t>(info.st_ino));
#endif
}

}  // namespace qdvz
