#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>

#include "io/io_messages.h"
#include "io/save_text.h"

namespace qdvz {
namespace {

Refusal WriteRefusal(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:  // a part of the path that should be a folder is a file
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return {msg::kFolderNotFound, 0};
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return {msg::kNoWritePermission, 0};
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return {msg::kDiskFull, 0};
    default:
      return {msg::CannotWrite(static_cast<int>(error)), 0};
  }
}

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  // Returns 0 or the error of closing.
  DWORD Close() {
    DWORD error = 0;
    if (Valid() && !CloseHandle(handle_)) error = GetLastError();
    handle_ = INVALID_HANDLE_VALUE;
    return error;
  }

 private:
  HANDLE handle_;
};

// Writes all of bytes; returns 0 or the error of the failure.
DWORD WriteAll(HANDLE handle, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1 << 24));
    DWORD written = 0;
    if (!WriteFile(handle, bytes.data(), chunk, &written, nullptr)) return GetLastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    bytes.remove_prefix(written);
  }
  return 0;
}

// Devices (NUL, CON, a serial port) and pipes cannot be replaced by renaming: write to them
// directly.
std::optional<Refusal> WriteInPlace(const std::filesystem::path& path, std::string_view bytes) {
  Handle handle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.Valid()) return WriteRefusal(GetLastError());
  DWORD error = WriteAll(handle.Get(), bytes);
  DWORD closeError = handle.Close();
  if (error == 0) error = closeError;
  if (error != 0) return WriteRefusal(error);
  return std::nullopt;
}

// What stands at path now, if anything.
struct Existing {
  bool exists = false;
  bool disk = true;  // false for a device or a pipe
  DWORD attributes = 0;
  std::filesystem::path finalPath;  // the file behind a link
  DWORD error = 0;                  // why path could not be looked at
};

Existing LookAt(const std::filesystem::path& path) {
  Existing existing;
  // Asking for no access opens devices and folders as well as files.
  Handle handle(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.Valid()) {
    DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) existing.error = error;
    return existing;
  }
  existing.exists = true;
  existing.disk = GetFileType(handle.Get()) == FILE_TYPE_DISK;
  if (!existing.disk) return existing;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle.Get(), &info)) {
    existing.error = GetLastError();
    return existing;
  }
  existing.attributes = info.dwFileAttributes;
  DWORD plain = GetFileAttributesW(path.c_str());
  if (plain != INVALID_FILE_ATTRIBUTES && (plain & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    // Through a symbolic link the file it points to is replaced, not the link.
    std::wstring resolved(MAX_PATH, L'\0');
    for (;;) {
      DWORD length = GetFinalPathNameByHandleW(handle.Get(), resolved.data(),
                                               static_cast<DWORD>(resolved.size()), 0);
      if (length == 0) break;
      if (length < resolved.size()) {
        resolved.resize(length);
        existing.finalPath = resolved;
        break;
      }
      resolved.resize(length + 1);
    }
  }
  return existing;
}

// A new name next to the target, so that the rename stays on one volume.
std::filesystem::path TemporaryName(const std::filesystem::path& target, unsigned attempt) {
  static std::atomic<unsigned> counter{0};
  wchar_t suffix[64];
  std::swprintf(suffix, sizeof suffix / sizeof suffix[0], L".%lx.%x.%x.tmp",
                static_cast<unsigned long>(GetCurrentProcessId()), counter++, attempt);
  std::wstring name = L"." + target.filename().native().substr(0, 200) + suffix;
  return target.parent_path() / name;
}

}  // namespace

std::optional<Refusal> WriteFileAtomically(const std::filesystem::path& path,
                                           std::string_view bytes) {
  Existing existing = LookAt(path);
  if (existing.error != 0) return WriteRefusal(existing.error);
  std::filesystem::path target = path;
  if (existing.exists) {
    if (!existing.disk) return WriteInPlace(path, bytes);
    if (existing.attributes & FILE_ATTRIBUTE_DIRECTORY) return Refusal{msg::kCannotSaveToFolder, 0};
    // A read-only file is not replaced behind its back, as opening it for writing would
    // not be allowed either.
    if (existing.attributes & FILE_ATTRIBUTE_READONLY) return WriteRefusal(ERROR_ACCESS_DENIED);
    if (!existing.finalPath.empty()) target = existing.finalPath;
  }

  std::filesystem::path temporary;
  HANDLE raw = INVALID_HANDLE_VALUE;
  for (unsigned attempt = 0; raw == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = TemporaryName(target, attempt);
    raw = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) {
      DWORD error = GetLastError();
      if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt == 100) {
        return WriteRefusal(error);
      }
    }
  }
  Handle handle(raw);
  DWORD error = WriteAll(handle.Get(), bytes);
  if (error == 0 && !FlushFileBuffers(handle.Get())) error = GetLastError();
  DWORD closeError = handle.Close();
  if (error == 0) error = closeError;
  if (error == 0 && !MoveFileExW(temporary.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != 0) {
    DeleteFileW(temporary.c_str());
    return WriteRefusal(error);
  }
  return std::nullopt;
}

}  // namespace qdvz
