#include <windows.h>

#include <algorithm>

#include "io/file_bytes.h"
#include "io/io_messages.h"
#include "io/system_error.h"
#include "io/win32/path_failure.h"
#include "io/win32/unique_handle.h"

namespace qdvz {
namespace {

Failure ReadFailure(DWORD error) {
  return FileFailure(FileStep::kRead, static_cast<int>(error));
}

bool IsFolder(const std::filesystem::path& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Everything from an open file, which stays open (or as much as `enough` asks for).
Result<std::string> ReadAll(HANDLE handle, const ReadEnough& enough) {
  std::string bytes;
  LARGE_INTEGER size{};
  if (!enough && GetFileType(handle) == FILE_TYPE_DISK && GetFileSizeEx(handle, &size) &&
      size.QuadPart > 0 && static_cast<size_t>(size.QuadPart) <= kMaxFileBytes) {
    bytes.reserve(static_cast<size_t>(size.QuadPart));
  }
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(handle, buffer, sizeof buffer, &got, nullptr)) {
      DWORD error = GetLastError();
      if (error == ERROR_BROKEN_PIPE) break;  // the writing end of a pipe was closed
      return ReadFailure(error);
    }
    if (got == 0) break;
    bytes.append(buffer, got);
    if (bytes.size() > kMaxFileBytes) return Failure{FailureKind::kFileAccess, msg::kFileTooLarge};
    if (enough) {
      if (std::optional<size_t> keep = enough(bytes)) {
        bytes.resize(std::min(*keep, bytes.size()));
        return bytes;
      }
    }
  }
  return bytes;
}

}  // namespace

Result<std::string> ReadFileBytes(const std::filesystem::path& path, const ReadEnough& enough) {
  UniqueHandle handle(CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.Valid()) {
    DWORD error = GetLastError();
    // Opening a folder as a file is refused as access denied; say what it really is.
    if (error == ERROR_ACCESS_DENIED && IsFolder(path)) {
      return Failure{FailureKind::kFileAccess, msg::kIsFolder};
    }
    return PathFailure(FileStep::kRead, error, path);
  }
  return ReadAll(handle.Get(), enough);
}

Result<std::string> ReadStandardInput(const ReadEnough& enough) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (input == nullptr || input == INVALID_HANDLE_VALUE) return std::string();  // none: empty
  return ReadAll(input, enough);
}

}  // namespace qdvz
