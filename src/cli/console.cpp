#include "cli/console.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iostream>

#include "convert/text.h"

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

void FailWritesToClosedPipes() {
#ifndef _WIN32
  signal(SIGPIPE, SIG_IGN);
#endif
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

bool HasWildcard(const std::string& arg) {
#ifdef _WIN32
  return arg.find_first_of("*?") != std::string::npos;
#else
  (void)arg;
  return false;
#endif
}

std::vector<std::string> ExpandWildcards(const std::vector<std::string>& args) {
#ifdef _WIN32
  std::vector<std::string> expanded;
  for (const std::string& arg : args) {
    if (!HasWildcard(arg)) {
      expanded.push_back(arg);
      continue;
    }
    // The folder part is kept as typed; only the last part of the name is a pattern.
    std::filesystem::path pattern = ArgPath(arg);
    std::string folder = arg.substr(0, arg.find_last_of("\\/:") + 1);
    std::vector<std::string> matches;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::wstring name = found.cFileName;
        matches.push_back(folder + ToUtf8(std::u16string(name.begin(), name.end())));
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    if (matches.empty()) {
      expanded.push_back(arg);  // reported as matching nothing when its turn comes
      continue;
    }
    std::sort(matches.begin(), matches.end());
    expanded.insert(expanded.end(), matches.begin(), matches.end());
  }
  return expanded;
#else
  return args;
#endif
}

}  // namespace qdvz::cli
