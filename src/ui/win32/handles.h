#pragma once

// Guards for the handles of the Win32 window that Windows does not close with CloseHandle:
// each is given back by its own function when its guard goes out of scope.
#ifdef _WIN32

#include <windows.h>

#include <memory>
#include <type_traits>

#include "io/win32/unique_handle.h"  // UniqueFind, for a search of a folder

namespace qdvz::win32 {

struct GdiDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiDeleter>;

struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// A wait on a folder's changes (FindFirstChangeNotificationW); null rather than
// INVALID_HANDLE_VALUE when there is none.
struct ChangeNotificationDeleter {
  void operator()(HANDLE change) const { FindCloseChangeNotification(change); }
};
using UniqueChangeNotification = std::unique_ptr<void, ChangeNotificationDeleter>;

// The device context of a window, for measuring text, released at the end of the scope.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() { ReleaseDC(window_, dc_); }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context for the scope, the one before selected again at
// its end.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), before_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, before_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ before_;
};

}  // namespace qdvz::win32

#endif  // _WIN32
