#pragma once

#ifdef _WIN32

#include <string>
#include <vector>

namespace qdvz::win32 {

// The files named on a command line after the program's own name, as whole paths: a relative
// name is taken from the working folder, where Explorer and cmd.exe mean it. Explorer passes
// the files dropped onto the program's icon, "Open with" and "Send to" this way.
std::vector<std::u16string> FileArguments(const wchar_t* commandLine);

}  // namespace qdvz::win32

#endif  // _WIN32
