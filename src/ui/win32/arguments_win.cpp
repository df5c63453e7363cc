#include "ui/win32/arguments_win.h"

#include <windows.h>
// After windows.h.
#include <shellapi.h>

namespace qdvz::win32 {

std::vector<std::u16string> FileArguments(const wchar_t* commandLine) {
  std::vector<std::u16string> files;
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(commandLine, &count);
  if (arguments == nullptr) return files;
  for (int i = 1; i < count; ++i) {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length =
        GetFullPathNameW(arguments[i], static_cast<DWORD>(path.size()), path.data(), nullptr);
    if (length >= path.size()) {  // too long for the buffer: length is the size it needs
      path.resize(length);
      length = GetFullPathNameW(arguments[i], length, path.data(), nullptr);
    }
    // A name Windows cannot make whole is passed on as given, for the form to say why.
    path =
        length == 0 || length >= path.size() ? std::wstring(arguments[i]) : path.substr(0, length);
    files.emplace_back(path.begin(), path.end());
  }
  LocalFree(arguments);
  return files;
}

}  // namespace qdvz::win32
