#pragma once

// Windows only: names that the system reads as devices.
#include <filesystem>

#include "io/device_name.h"

namespace qdvz {

// Whether Windows reads path as a device rather than a file: a path in the device namespace
// ("\\.\COM1", "\\.\pipe\x") or a reserved name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to
// LPT9) in any folder, with any extension and trailing spaces, as this version of Windows
// reads them.
bool IsDevicePath(const std::filesystem::path& path);

namespace msg {
// qd2vz writes to a device name in place, and names the device when that fails.
inline constexpr char16_t kCannotWriteDevice[] =
    u"デバイスに書き込めません（CON・PRN・AUX・NUL・COM1～COM9・LPT1～LPT9 は、"
    u"拡張子を付けてもデバイスの名前です）";
}  // namespace msg

}  // namespace qdvz
