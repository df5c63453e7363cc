#include "cli/console.h"

#include <algorithm>
#include <cstdio>

#include "convert/text.h"
#include "io/name_pattern.h"
#include "io/win32/unique_handle.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace qdvz::cli {

extern const char kPlatformHelpSwitch[] = "/?";

std::filesystem::path ArgPath(const std::string& arg) {
  return std::filesystem::path(std::u8string(arg.begin(), arg.end()));
}

std::string Shown(const std::filesystem::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

namespace {

// Text in the ANSI code page with CR LF line ends. A character the code page lacks (a name in
// another script) becomes '?', never a look-alike that names another file.
std::string AnsiText(std::u16string_view text) {
  std::wstring lines;
  lines.reserve(text.size() + text.size() / 32);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) lines += L'\r';
    lines += static_cast<wchar_t>(text[i]);
  }
  if (lines.empty()) return {};
  const UINT codePage = GetACP();
  const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int length = static_cast<int>(lines.size());
  const int size =
      WideCharToMultiByte(codePage, flags, lines.data(), length, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(std::max(size, 0)), '\0');
  WideCharToMultiByte(codePage, flags, lines.data(), length, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

}  // namespace

bool WriteText(TextStream stream, const std::string& text) {
  FILE* const file = stream == TextStream::kOutput ? stdout : stderr;
  const HANDLE handle =
      GetStdHandle(stream == TextStream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
    std::fflush(file);  // whatever went through the C stream comes first
    const std::u16string wide = FromUtf8(text);
    size_t done = 0;
    while (done < wide.size()) {
      // A console takes a limited amount at once; bigger writes fail on older Windows.
      DWORD chunk = static_cast<DWORD>(std::min<size_t>(wide.size() - done, 8192));
      if (chunk > 1 && IsHighSurrogate(wide[done + chunk - 1])) {
        --chunk;  // a surrogate pair stays together
      }
      DWORD written = 0;
      if (!WriteConsoleW(handle, wide.data() + done, chunk, &written, nullptr) || written == 0) {
        return false;
      }
      done += written;
    }
    return true;
  }
  const std::string bytes = AnsiText(FromUtf8(text));
  return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
}

void UseBinaryStreams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

// Windows has no SIGPIPE: a write to a closed pipe fails by itself.
void FailWritesToClosedPipes() {}

void KeepFreedMemory() {}

bool HasWildcard(const std::string& arg) {
  return arg.find_first_of("*?") != std::string::npos;
}

std::vector<FileArg> ExpandWildcards(const std::vector<FileArg>& args) {
  std::vector<FileArg> expanded;
  for (const FileArg& typed : args) {
    const std::string& arg = typed.name;
    if (!HasWildcard(arg)) {
      expanded.push_back(typed);
      continue;
    }
    // The folder part is kept as typed; only the last part of the name is a pattern.
    const std::filesystem::path& pattern = typed.path;
    std::string folder = arg.substr(0, arg.find_last_of("\\/:") + 1);
    const std::u16string namePattern = FromUtf8(arg.substr(folder.size()));
    std::vector<std::string> matches;
    WIN32_FIND_DATAW found{};
    HANDLE first = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                    nullptr, 0);
    if (first != INVALID_HANDLE_VALUE) {
      const UniqueFind search(first);
      do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::wstring name = found.cFileName;
        // The search also matched each file's 8.3 short name.
        if (!MatchesNamePattern(std::u16string(name.begin(), name.end()), namePattern)) continue;
        matches.push_back(folder + ToUtf8(std::u16string(name.begin(), name.end())));
      } while (FindNextFileW(search.get(), &found));
    }
    if (matches.empty()) {
      expanded.push_back(typed);  // reported as matching nothing when its turn comes
      continue;
    }
    std::sort(matches.begin(), matches.end());
    for (std::string& match : matches) expanded.emplace_back(std::move(match));
  }
  return expanded;
}

}  // namespace qdvz::cli
