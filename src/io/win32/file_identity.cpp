#include "io/win32/file_identity.h"

#include "io/win32/unique_handle.h"

namespace qdvz {

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

}  // namespace qdvz
