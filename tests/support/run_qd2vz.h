#pragma once

// Runs qd2vz as a user would, from a test: in a folder of the test's own, with its standard
// output and error caught in files outside that folder, so that the folder holds only what
// qd2vz itself left there.
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#endif

#include "support/temp_dir.h"

namespace qdvz::test {

struct Qd2vzResult {
  int status;
  std::string out;
  std::string err;
};

#ifndef _WIN32
// A copy of qd2vz that every user may run, wherever the build lies.
inline std::string Qd2vzForAll() {
  static TempDir dir;
  static const std::filesystem::path copy = [] {
    std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
    std::filesystem::copy_file(QD2VZ, dir / "qd2vz");
    std::filesystem::permissions(dir / "qd2vz", std::filesystem::perms(0755));
    return dir / "qd2vz";
  }();
  return copy.string();
}

// Runs a shell command in dir: $Q is qd2vz, $OTHER runs what follows as a user who owns none
// of the files there (as root; otherwise the test's own user, for whom the row takes the
// permissions away). Afterwards the owner may read and write everything in dir again.
inline Qd2vzResult RunShell(const TempDir& dir, const std::string& command) {
  TempDir streams;
  const char* other = geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups" : "";
  WriteBytes(streams / "row.sh", "cd '" + dir.path().string() + "' || exit 99\nQ='" +
                                     Qd2vzForAll() + "'\nOTHER='" + other + "'\n(\n" + command +
                                     "\n)\ns=$?\nchmod -R u+rwX . 2>/dev/null\nexit $s\n");
  std::string run = "sh '" + (streams / "row.sh").string() + "' </dev/null >'" +
                    (streams / "out").string() + "' 2>'" + (streams / "err").string() + "'";
  int raw = std::system(run.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(streams / "out"),
          ReadBytes(streams / "err")};
}

// Runs qd2vz with the arguments (shell words) in dir.
inline Qd2vzResult RunQd2vz(const TempDir& dir, const std::string& args) {
  return RunShell(dir, "$Q " + args);
}
#else
// Runs a command line in dir, with no standard input.
inline Qd2vzResult RunCommandLine(const TempDir& dir, std::wstring commandLine) {
  TempDir streams;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  auto open = [&](const std::filesystem::path& path, DWORD access, DWORD disposition) {
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = open("NUL", GENERIC_READ, OPEN_EXISTING);
  startup.hStdOutput = open(streams / "out", GENERIC_WRITE, CREATE_ALWAYS);
  startup.hStdError = open(streams / "err", GENERIC_WRITE, CREATE_ALWAYS);
  PROCESS_INFORMATION process{};
  DWORD status = static_cast<DWORD>(-1);
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                     dir.path().wstring().c_str(), &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    ADD_FAILURE() << "cannot start " << QD2VZ << ": error " << GetLastError();
  }
  for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
    CloseHandle(handle);
  }
  return {static_cast<int>(status), ReadBytes(streams / "out"), ReadBytes(streams / "err")};
}

// Runs qd2vz with the arguments in dir: UTF-8 words, double quotes keeping blanks together
// as both a POSIX shell and a Windows program read them. In cmd.exe the arguments reach it
// as cmd.exe hands them over, patterns unexpanded.
inline Qd2vzResult RunQd2vz(const TempDir& dir, const std::string& args, bool inCmd = false) {
  std::wstring line =
      L"\"" + std::filesystem::absolute(QD2VZ).wstring() + L"\" " + Utf8Path(args).wstring();
  return RunCommandLine(dir, inCmd ? L"cmd.exe /s /c \"" + line + L"\"" : line);
}
#endif

// What qd2vz writes to a file or pipe for a text of its own (help, version, messages), given
// as UTF-8 with LF line ends: the same bytes on POSIX; on Windows code page 932 with CR LF,
// as on a Japanese Windows, whose ANSI code page the Windows tests give wine.
inline std::string WrittenText(const std::string& utf8) {
#ifdef _WIN32
  std::wstring wide;
  for (wchar_t c : Utf8Path(utf8).wstring()) {
    if (c == L'\n') wide += L'\r';
    wide += c;
  }
  std::string bytes(wide.size() * 2, '\0');
  bytes.resize(static_cast<size_t>(WideCharToMultiByte(
      932, 0, wide.data(), int(wide.size()), bytes.data(), int(bytes.size()), nullptr, nullptr)));
  return bytes;
#else
  return utf8;
#endif
}

inline std::string Quoted(const std::filesystem::path& path) {
  return "\"" + Utf8Name(path) + "\"";
}

}  // namespace qdvz::test
