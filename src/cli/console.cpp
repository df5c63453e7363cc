#include "cli/console.h"

#include <cstdio>
#include <iostream>

#include "convert/text.h"
#include "io/file_bytes.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace qdvz::cli {

std::filesystem::path ArgPath(const std::string& arg) {
#ifdef _WIN32
  return std::filesystem::path(std::u8string(arg.begin(), arg.end()));
#else
  return std::filesystem::path(arg);
#endif
}

std::string Shown(const std::filesystem::path& path) {
#ifdef _WIN32
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
#else
  return path.string();
#endif
}

void WriteError(const std::string& text) {
#ifdef _WIN32
  HANDLE console = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (console != INVALID_HANDLE_VALUE && GetConsoleMode(console, &mode)) {
    std::u16string wide = FromUtf8(text);
    DWORD written = 0;
    WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
#endif
  std::cerr << text << std::flush;
}

void UseBinaryStreams() {
#ifdef _WIN32
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  // Messages reach a file or pipe as UTF-8 bytes with LF line ends, as on POSIX.
  _setmode(_fileno(stderr), _O_BINARY);
#endif
}

bool ReadAllStdin(std::string& bytes) {
  char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) {
    bytes.append(buffer, got);
    if (bytes.size() > kMaxFileBytes) return false;
  }
  return !std::ferror(stdin);
}

void KeepFreedMemory() {
#ifdef __GLIBC__
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  mallopt(M_TOP_PAD, 16 << 20);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
}

bool WriteStdout(const std::string& bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
         std::fflush(stdout) == 0;
}

}  // namespace qdvz::cli
