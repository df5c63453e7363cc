#include "io/file_identity.h"

#ifdef _WIN32
#include "io/unique_handle.h"
#else
#include <sys/stat.h>
#endif

namespace qdvz {

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
#ifdef _WIN32
  // Opening with no access right and backup semantics works for files and folders alike.
  UniqueHandle handle(CreateFileW(path.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!handle.Valid() || !GetFileInformationByHandle(handle.Get(), &info)) return std::nullopt;
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
