#pragma once

// Runs qd2vz as a user would, from a test: in a folder of the test's own, with its standard
// output and error caught in files outside that folder, so that the folder holds only what
// qd2vz itself left there.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include "support/temp_dir.h"

namespace qdvz::test {

struct Qd2vzResult {
  int status;
  std::string out;
  std::string err;
};

#ifndef _WIN32
// Runs qd2vz with the arguments (shell words) in dir, standard input from stdinFile if any.
inline Qd2vzResult RunQd2vz(const TempDir& dir, const std::string& args,
                            const std::string& stdinFile = "") {
  TempDir streams;
  std::string command = "cd '" + dir.path().string() + "' && '" QD2VZ "' " + args + " <" +
                        (stdinFile.empty() ? "/dev/null" : stdinFile) + " >'" +
                        (streams / "stdout.bin").string() + "' 2>'" +
                        (streams / "stderr.txt").string() + "'";
  int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(streams / "stdout.bin"),
          ReadBytes(streams / "stderr.txt")};
}
#else
// The words of a POSIX shell command line as the tests write them: blanks separate words,
// single quotes keep blanks and backslashes.
inline std::vector<std::string> ShellWords(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (char c : line) {
    if (quoted) {
      if (c == '\'') {
        quoted = false;
      } else {
        word += c;
      }
    } else if (c == '\'') {
      quoted = inWord = true;
    } else if (c == ' ') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

// One argument quoted so that the program's command-line parsing gives it back unchanged.
inline std::wstring QuotedArgument(const std::wstring& arg) {
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are escaped, and so is the quote.
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

inline std::wstring Wide(const std::string& utf8) {
  return Utf8Path(utf8).wstring();
}

inline HANDLE Inheritable(const std::filesystem::path& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Runs a program with a command line in dir, standard input from stdinFile.
inline Qd2vzResult RunCommandLine(const TempDir& dir, const std::wstring& program,
                                  std::wstring commandLine, const std::string& stdinFile) {
  std::vector<std::string> input = ShellWords(stdinFile);
  HANDLE in = Inheritable(input.empty() ? std::filesystem::path("NUL") : Utf8Path(input[0]),
                          GENERIC_READ, OPEN_EXISTING);
  TempDir streams;
  HANDLE out = Inheritable(streams / "stdout.bin", GENERIC_WRITE, CREATE_ALWAYS);
  HANDLE err = Inheritable(streams / "stderr.txt", GENERIC_WRITE, CREATE_ALWAYS);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  std::wstring directory = dir.path().wstring();
  int status = -1;
  if (in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
      CreateProcessW(program.empty() ? nullptr : program.c_str(), commandLine.data(), nullptr,
                     nullptr, TRUE, 0, nullptr, directory.c_str(), &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code)) status = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    ADD_FAILURE() << "cannot start " << QD2VZ << ": error " << GetLastError();
  }
  for (HANDLE handle : {in, out, err}) {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  return {status, ReadBytes(streams / "stdout.bin"), ReadBytes(streams / "stderr.txt")};
}

// Runs qd2vz with the arguments quoted in arguments in dir, standard input from stdinFile.
inline Qd2vzResult RunQd2vzWide(const TempDir& dir, const std::wstring& arguments,
                                const std::string& stdinFile) {
  const std::wstring program = std::filesystem::absolute(QD2VZ).wstring();
  return RunCommandLine(dir, program, QuotedArgument(program) + arguments, stdinFile);
}

// Runs qd2vz as typed in cmd.exe: the arguments reach it as cmd.exe hands them over,
// patterns unexpanded.
inline Qd2vzResult RunQd2vzInCmd(const TempDir& dir, const std::string& arguments) {
  const std::wstring program = std::filesystem::absolute(QD2VZ).wstring();
  return RunCommandLine(
      dir, L"", L"cmd.exe /s /c \"" + QuotedArgument(program) + L" " + Wide(arguments) + L"\"", "");
}

// Runs qd2vz with the arguments (shell words) in dir, standard input from stdinFile if any.
inline Qd2vzResult RunQd2vz(const TempDir& dir, const std::string& args,
                            const std::string& stdinFile = "") {
  std::wstring arguments;
  for (const std::string& word : ShellWords(args)) arguments += L" " + QuotedArgument(Wide(word));
  return RunQd2vzWide(dir, arguments, stdinFile);
}
#endif

inline std::string Quoted(const std::filesystem::path& path) {
  return "'" + Utf8Name(path) + "'";
}

}  // namespace qdvz::test
