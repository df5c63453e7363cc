#include "io/win32/device_name.h"

#include <windows.h>

#include <string>

#include "io/io_messages.h"

namespace qdvz {
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

std::optional<FileKind> KindOfDeviceName(const std::filesystem::path& path) {
  const std::wstring full = FullPath(path);
  if (!StartsWith(full, kDeviceNamespace)) return std::nullopt;
  return StartsWith(full, kPipes) ? FileKind::kPipeOrSocket : FileKind::kDevice;
}

namespace msg {
extern const char16_t kCannotSaveToDevice[] =
    u"デバイスには保存できません（CON・PRN・AUX・NUL・COM1～COM9・LPT1～LPT9 は、"
    u"拡張子を付けてもデバイスの名前です）";
}  // namespace msg

}  // namespace qdvz
