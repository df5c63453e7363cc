#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>

#include "io/interrupt.h"
#include "io/system_error.h"
#include "io/unique_handle.h"
#include "io/write_target.h"

namespace qdvz::detail {
namespace {

Failure WriteFailure(DWORD error) {
  return FileFailure(FileStep::kWrite, static_cast<int>(error));
}

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

// Writes bytes and closes; 0 or the first error.
DWORD WriteAndClose(UniqueHandle& handle, std::string_view bytes, bool flush) {
  DWORD error = WriteAll(handle.Get(), bytes);
  if (error == 0 && flush && !FlushFileBuffers(handle.Get())) error = GetLastError();
  DWORD closeError = handle.Close();
  return error != 0 ? error : closeError;
}

// The file a handle leads to, through links.
std::filesystem::path FinalPath(HANDLE handle) {
  std::wstring resolved(MAX_PATH, L'\0');
  for (;;) {
    DWORD length =
        GetFinalPathNameByHandleW(handle, resolved.data(), static_cast<DWORD>(resolved.size()), 0);
    if (length == 0) return {};
    if (length < resolved.size()) {
      resolved.resize(length);
      return resolved;
    }
    resolved.resize(length + 1);
  }
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

// Notes a temporary file for as long as it lives.
class TemporaryNote {
 public:
  explicit TemporaryNote(const std::filesystem::path& path) {
    InterruptionHeld held;
    note_ = NoteTemporaryFile(path);
  }
  ~TemporaryNote() {
    InterruptionHeld held;
    ForgetTemporaryFile(note_);
  }
  TemporaryNote(const TemporaryNote&) = delete;
  TemporaryNote& operator=(const TemporaryNote&) = delete;

 private:
  int note_;
};

}  // namespace

Result<WriteTarget> InspectWriteTarget(const std::filesystem::path& path) {
  WriteTarget target;
  target.finalPath = path;
  // Asking for no access opens devices and folders as well as files.
  UniqueHandle handle(CreateFileW(path.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.Valid()) {
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return target;
    return WriteFailure(error);
  }
  if (GetFileType(handle.Get()) != FILE_TYPE_DISK) {
    target.kind = WriteTarget::Kind::kOther;
    return target;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle.Get(), &info)) return WriteFailure(GetLastError());
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    target.kind = WriteTarget::Kind::kFolder;
    return target;
  }
  target.identity = IdentityOf(info);
  target.kind = WriteTarget::Kind::kRegularFile;
  target.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
  DWORD plain = GetFileAttributesW(path.c_str());
  if (plain != INVALID_FILE_ATTRIBUTES && (plain & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    // Through a symbolic link the file it leads to is replaced, not the link.
    if (std::filesystem::path resolved = FinalPath(handle.Get()); !resolved.empty()) {
      target.finalPath = resolved;
    }
  }
  return target;
}

Result<NewFile> WriteNewFile(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::path temporary;
  UniqueHandle handle;
  int note = -1;
  for (unsigned attempt = 0; !handle.Valid(); ++attempt) {
    temporary = TemporaryName(path, attempt);
    InterruptionHeld held;
    handle = UniqueHandle(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.Valid()) {
      DWORD error = GetLastError();
      if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt == 100) {
        return WriteFailure(error);
      }
    } else {
      note = NoteTemporaryFile(temporary);
    }
  }
  DWORD error = WriteAndClose(handle, bytes, false);
  InterruptionHeld held;
  // Without MOVEFILE_REPLACE_EXISTING the name is taken only if nothing has it.
  if (error == 0 && !MoveFileExW(temporary.c_str(), path.c_str(), 0)) error = GetLastError();
  if (error != 0) DeleteFileW(temporary.c_str());
  ForgetTemporaryFile(note);
  if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return NewFile::kTaken;
  if (error != 0) return WriteFailure(error);
  return NewFile::kWritten;
}

Result<void> ReplaceByRename(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::path temporary;
  UniqueHandle handle;
  for (unsigned attempt = 0; !handle.Valid(); ++attempt) {
    temporary = TemporaryName(path, attempt);
    handle = UniqueHandle(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.Valid()) {
      DWORD error = GetLastError();
      if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt == 100) {
        return WriteFailure(error);
      }
    }
  }
  // An interruption removes it (a note taken after its creation: Ctrl+C in between leaves
  // an empty hidden file at worst).
  TemporaryNote noted(temporary);
  // The old contents must survive until the new ones are on the disk.
  DWORD error = WriteAndClose(handle, bytes, true);
  if (error == 0 && !MoveFileExW(temporary.c_str(), path.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != 0) {
    DeleteFileW(temporary.c_str());
    return WriteFailure(error);
  }
  return {};
}

Result<void> WriteInPlace(const std::filesystem::path& path, std::string_view bytes) {
  // Devices (NUL, CON, a serial port) and pipes.
  UniqueHandle handle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.Valid()) return WriteFailure(GetLastError());
  if (DWORD error = WriteAndClose(handle, bytes, false); error != 0) return WriteFailure(error);
  return {};
}

Result<void> WriteToStream(StandardStream stream, std::string_view bytes) {
  HANDLE handle =
      GetStdHandle(stream == StandardStream::kError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  if (DWORD error = WriteAll(handle, bytes); error != 0) return WriteFailure(error);
  return {};
}

}  // namespace qdvz::detail
