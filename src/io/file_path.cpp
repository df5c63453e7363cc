#include "io/file_path.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>

#include <string>
#endif

#include "convert/text.h"

namespace qdvz {

#ifdef _WIN32
inline constexpr char16_t kSeparator = u'\\';
#else
inline constexpr char16_t kSeparator = u'/';
#endif

namespace {

bool IsSeparator(char16_t c) {
#ifdef _WIN32
  return c == u'\\' || c == u'/';
#else
  return c == u'/';
#endif
}

}  // namespace

std::u16string SelectedFilePath(std::u16string_view directory, std::u16string_view name) {
  if (!name.empty() && IsSeparator(name.front())) {
#ifdef _WIN32
    // "\\server\share\x" is whole; "\data\x" is on the drive of the folder shown.
    if (name.size() > 1 && IsSeparator(name[1])) return std::u16string(name);
    const bool onDrive = directory.size() >= 2 && directory[1] == u':';
    return std::u16string(onDrive ? directory.substr(0, 2) : u"") + std::u16string(name);
#else
    return std::u16string(name);
#endif
  }
#ifdef _WIN32
  // "C:\data\x" is whole, and so is "C:x", which Windows reads from that drive's own
  // working folder.
  if (name.size() >= 2 && name[1] == u':') return std::u16string(name);
#endif
  std::u16string path(directory);
  if (path.empty() || path.back() != kSeparator) path += kSeparator;
  path += name;
  return path;
}

FolderAndName SplitFilePath(std::u16string_view path) {
#ifdef _WIN32
  const size_t cut = path.find_last_of(u"\\/");
#else
  const size_t cut = path.find_last_of(kSeparator);
#endif
  if (cut == std::u16string_view::npos) return {u"", std::u16string(path)};
  std::u16string_view folder = path.substr(0, cut);
  // Without its separator a root would name nothing ("") or the drive's working folder ("C:").
  if (folder.empty() || folder.back() == u':') folder = path.substr(0, cut + 1);
  return {std::u16string(folder), std::u16string(path.substr(cut + 1))};
}

#ifdef _WIN32

namespace {

// The path as the system reads it: "\\.\NAME" for a device.
std::wstring FullPath(const std::filesystem::path& path) {
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    DWORD length =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return {};
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);
  }
}

bool StartsWith(std::wstring_view text, std::wstring_view head) {
  return text.size() >= head.size() &&
         CompareStringOrdinal(text.data(), static_cast<int>(head.size()), head.data(),
                              static_cast<int>(head.size()), TRUE) == CSTR_EQUAL;
}

constexpr std::wstring_view kDeviceNamespace = L"\\\\.\\";
constexpr std::wstring_view kPipes = L"\\\\.\\pipe\\";

}  // namespace

bool IsDevicePath(const std::filesystem::path& path) {
  return StartsWith(FullPath(path), kDeviceNamespace);
}

#endif

FileKind KindOf(const std::filesystem::path& path) {
  using std::filesystem::file_type;
#ifdef _WIN32
  // Told by the name, not opened: opening a port or a printer may already do something.
  if (const std::wstring full = FullPath(path); StartsWith(full, kDeviceNamespace)) {
    return StartsWith(full, kPipes) ? FileKind::kPipeOrSocket : FileKind::kDevice;
  }
#endif
  std::error_code error;
  switch (std::filesystem::status(path, error).type()) {
    case file_type::regular:
      return FileKind::kRegular;
    case file_type::directory:
      return FileKind::kFolder;
    case file_type::fifo:
    case file_type::socket:
      return FileKind::kPipeOrSocket;
    case file_type::block:
    case file_type::character:
      return FileKind::kDevice;
    default:
      return FileKind::kMissing;  // or what cannot be looked at: opening it will say why
  }
}

std::filesystem::path ToFsPath(std::u16string_view path) {
#ifdef _WIN32
  return std::filesystem::path(std::wstring(path.begin(), path.end()));
#else
  return std::filesystem::path(ToUtf8(path));
#endif
}

}  // namespace qdvz
