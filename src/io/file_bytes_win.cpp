#include <windows.h>

#include "io/file_bytes.h"
#include "io/io_messages.h"

namespace qdvz {
namespace {

Refusal ReadRefusal(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:  // a folder on the way is missing
    case ERROR_DIRECTORY:       // a part of the path that should be a folder is a file
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return {msg::kFileNotFound, 0};
    case ERROR_ACCESS_DENIED:
      return {msg::kNoReadPermission, 0};
    default:
      return {msg::CannotRead(static_cast<int>(error)), 0};
  }
}

bool IsFolder(const std::filesystem::path& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

FileBytes ReadFileBytes(const std::filesystem::path& path) {
  FileBytes file;
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    // Opening a folder as a file is refused as access denied; say what it really is.
    file.error = error == ERROR_ACCESS_DENIED && IsFolder(path) ? Refusal{msg::kIsFolder, 0}
                                                                : ReadRefusal(error);
    return file;
  }
  LARGE_INTEGER size{};
  if (GetFileType(handle) == FILE_TYPE_DISK && GetFileSizeEx(handle, &size) && size.QuadPart > 0 &&
      static_cast<size_t>(size.QuadPart) <= kMaxFileBytes) {
    file.bytes.reserve(static_cast<size_t>(size.QuadPart));
  }
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(handle, buffer, sizeof buffer, &got, nullptr)) {
      DWORD error = GetLastError();
      if (error == ERROR_BROKEN_PIPE) break;  // the writing end of a pipe was closed
      file.error = ReadRefusal(error);
      break;
    }
    if (got == 0) break;
    file.bytes.append(buffer, got);
    if (file.bytes.size() > kMaxFileBytes) {
      file.error = Refusal{msg::kFileTooLarge, 0};
      break;
    }
  }
  CloseHandle(handle);
  if (file.error) file.bytes.clear();
  return file;
}

}  // namespace qdvz
