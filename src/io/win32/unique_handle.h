#pragma once

// Windows only: a handle that is closed when it goes out of scope.
#include <windows.h>

#include <memory>
#include <utility>

namespace qdvz {

class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~UniqueHandle() { Close(); }
  UniqueHandle(UniqueHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
    }
    return *this;
  }

  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Get() const { return handle_; }

  // Closes now; 0 or the error of closing.
  DWORD Close() {
    if (!Valid()) return 0;
    return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) ? 0 : GetLastError();
  }

 private:
  HANDLE handle_;
};

// A search of a folder (FindFirstFileExW), ended with FindClose; null rather than
// INVALID_HANDLE_VALUE when there is none.
struct FindDeleter {
  void operator()(HANDLE search) const { FindClose(search); }
};
using UniqueFind = std::unique_ptr<void, FindDeleter>;

}  // namespace qdvz
