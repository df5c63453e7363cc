#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// How qd2vz meets the operating system: arguments, paths, standard streams. Each platform has
// its own version (cli/posix/console.cpp, cli/win32/console.cpp); what they share is in
// cli/console.cpp.
namespace qdvz::cli {

// Arguments and messages are UTF-8 text. On POSIX a path is the argument's bytes as they are;
// on Windows it is built from the UTF-8 text, which a plain std::string would not give.
std::filesystem::path ArgPath(const std::string& arg);

// A file named on the command line: the name as typed, for messages, and the path it names,
// made once when the arguments are read. "-" is a standard stream.
struct FileArg {
  std::string name;
  std::filesystem::path path;

  explicit FileArg(std::string typed) : name(std::move(typed)), path(ArgPath(name)) {}
  bool IsStandardStream() const { return name == "-"; }
};

// The help switch of the platform's own programs besides -h and --help ("/?" on Windows, where
// no file name can hold '?'); empty where there is none.
extern const char kPlatformHelpSwitch[];

// A path as UTF-8 text for messages.
std::string Shown(const std::filesystem::path& path);

// Writes UTF-8 text for the user (the help, the version, messages) to standard output or
// error; false when it could not all be written. On POSIX the bytes go out as they are. On
// Windows a console shows the text through the wide-character interface, whatever its code
// page, and a file or a pipe receives it as Windows programs write text there: in the ANSI
// code page (GetACP(), 932 on a Japanese Windows) with CR LF line ends, so that `type` and
// Notepad show it.
enum class TextStream { kOutput, kError };
bool WriteText(TextStream stream, const std::string& text);
inline void WriteError(const std::string& text) {
  WriteText(TextStream::kError, text);
}

// Standard input and output carry code page 932 bytes unchanged (no CR LF translation); text
// for the user is translated by WriteText itself.
void UseBinaryStreams();

// A write into a pipe whose reader has gone fails (EPIPE) like any failed write, so that it
// is reported and the batch goes on, rather than ending the program without a word.
void FailWritesToClosedPipes();

// Every input allocates and frees the same few hundred kilobytes; handing them back to the
// system after each file and faulting them in again cost more than converting it.
void KeepFreedMemory();
// Writes bytes (the macro: data, not text) to standard output exactly as they are; false when
// they could not all be written.
bool WriteStdout(const std::string& bytes);

// Windows programs expand * and ? in file names themselves: cmd.exe hands them over as typed.
// Each such argument becomes the files it matches (not folders) by their long names, in name
// order; one that matches nothing stays as it is. Elsewhere the shell has expanded them already,
// and a name may hold those characters.
std::vector<FileArg> ExpandWildcards(const std::vector<FileArg>& args);
// Whether an argument is a pattern that ExpandWildcards could not expand.
bool HasWildcard(const std::string& arg);

}  // namespace qdvz::cli
