#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>

#include "io/interrupt.h"
#include "io/io_messages.h"
#include "io/system_error.h"
#include "io/win32/device_name.h"
#include "io/win32/file_identity.h"
#include "io/win32/path_failure.h"
#include "io/win32/unique_handle.h"
#include "io/write_target.h"

namespace qdvz::detail {
namespace {

Failure WriteFailure(DWORD error, const std::filesystem::path& path) {
  return PathFailure(FileStep::kWrite, error, path);
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

// A temporary file beside target, created only where nothing is yet, and noted in the same
// step, which an interruption never cuts in two: from its first moment an interruption
// removes it. A failure names `shown`.
struct Temporary {
  std::filesystem::path path;
  UniqueHandle handle;
  int note = -1;
};

Result<Temporary> CreateTemporary(const std::filesystem::path& target,
                                  const std::filesystem::path& shown) {
  Temporary temporary;
  for (unsigned attempt = 0; !temporary.handle.Valid(); ++attempt) {
    temporary.path = TemporaryName(target, attempt);
    InterruptionHeld held;
    temporary.handle = UniqueHandle(CreateFileW(temporary.path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!temporary.handle.Valid()) {
      DWORD error = GetLastError();
      if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt == 100) {
        return WriteFailure(error, shown);
      }
    } else {
      temporary.note = NoteTemporaryFile(temporary.path);
    }
  }
  return temporary;
}

}  // namespace

Result<WriteTarget> InspectWriteTarget(const std::filesystem::path& path) {
  WriteTarget target;
  target.finalPath = path;
  // A device name ("con.txt", "LPT1") is written in place, and only opened for that: a device
  // that is not there fails to open as if it were a missing file.
  if (IsDevicePath(path)) {
    target.kind = WriteTarget::Kind::kOther;
    return target;
  }
  // Asking for no access opens devices and folders as well as files.
  UniqueHandle handle(CreateFileW(path.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.Valid()) {
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return target;
    return WriteFailure(error, path);
  }
  if (GetFileType(handle.Get()) != FILE_TYPE_DISK) {
    target.kind = WriteTarget::Kind::kOther;
    return target;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle.Get(), &info)) return WriteFailure(GetLastError(), path);
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
  Result<Temporary> temporary = CreateTemporary(path, path);
  if (!temporary) return temporary.failure();
  DWORD error = WriteAndClose(temporary->handle, bytes, false);
  InterruptionHeld held;
  // Without MOVEFILE_REPLACE_EXISTING the name is taken only if nothing has it.
  if (error == 0 && !MoveFileExW(temporary->path.c_str(), path.c_str(), 0)) error = GetLastError();
  if (error != 0) DeleteFileW(temporary->path.c_str());
  ForgetTemporaryFile(temporary->note);
  if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return NewFile::kTaken;
  if (error != 0) return WriteFailure(error, path);
  return NewFile::kWritten;
}

Result<void> ReplaceByRename(const std::filesystem::path& path, std::string_view bytes) {
  // ReplaceFileW takes absolute names only (wine fails with relative ones).
  std::error_code ignored;
  std::filesystem::path target = std::filesystem::absolute(path, ignored);
  if (target.empty()) target = path;
  // A file that another program holds open without letting it be deleted cannot be replaced:
  // say so before anything is written.
  UniqueHandle probe(CreateFileW(target.c_str(), DELETE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!probe.Valid() && GetLastError() == ERROR_SHARING_VIOLATION) {
    return WriteFailure(ERROR_SHARING_VIOLATION, path);
  }
  probe.Close();

  Result<Temporary> created = CreateTemporary(target, path);
  if (!created) return created.failure();
  const std::filesystem::path& temporary = created->path;
  // The old contents must survive until the new ones are on the disk.
  DWORD error = WriteAndClose(created->handle, bytes, true);
  // ReplaceFileW keeps the old file's attributes, ACL and creation time on Windows, but not
  // every implementation carries the attributes over (wine does not): they are given to the
  // new file beforehand as well. The archive attribute is set either way: the contents are new
  // since any backup.
  const DWORD old = GetFileAttributesW(target.c_str());
  if (error == 0 && old != INVALID_FILE_ATTRIBUTES) {
    const DWORD kept =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    SetFileAttributesW(temporary.c_str(), (old & kept) | FILE_ATTRIBUTE_ARCHIVE);
  }
  if (error == 0 && !ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                  REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
    error = GetLastError();
    // Gone meanwhile: nothing is left to keep, and the new file takes its name.
    if (error == ERROR_FILE_NOT_FOUND) {
      error = MoveFileExW(temporary.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                  ? 0
                  : GetLastError();
    }
  }
  {
    InterruptionHeld held;
    if (error != 0) DeleteFileW(temporary.c_str());
    ForgetTemporaryFile(created->note);
  }
  if (error != 0) return WriteFailure(error, path);
  return {};
}

Result<void> WriteInPlace(const std::filesystem::path& path, std::string_view bytes) {
  // Devices (NUL, CON, a serial port) and pipes. A device name that fails is named as one:
  // the user may not know that the name is taken, and the system's error would say that a
  // file or folder is missing.
  const bool device = IsDevicePath(path);
  auto failure = [&](DWORD error) {
    return device ? Failure{FailureKind::kFileAccess, msg::kCannotWriteDevice}
                  : WriteFailure(error, path);
  };
  UniqueHandle handle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.Valid()) return failure(GetLastError());
  if (DWORD error = WriteAndClose(handle, bytes, false); error != 0) return failure(error);
  return {};
}

Result<void> WriteToStream(StandardStream stream, std::string_view bytes) {
  HANDLE handle =
      GetStdHandle(stream == StandardStream::kError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  if (DWORD error = WriteAll(handle, bytes); error != 0) {
    return FileFailure(FileStep::kWrite, static_cast<int>(error));
  }
  return {};
}

}  // namespace qdvz::detail
