#pragma once

#include <filesystem>
#include <string>
#include <vector>

// How qd2vz meets the operating system: arguments, paths, standard streams.
namespace qdvz::cli {

// Arguments and messages are UTF-8 text. On POSIX a path is the argument's bytes as they are;
// on Windows it is built from the UTF-8 text, which a plain std::string would not give.
std::filesystem::path ArgPath(const std::string& arg);

// A path as UTF-8 text for messages.
std::string Shown(const std::filesystem::path& path);

// Writes UTF-8 text to standard error. A Windows console shows it through the wide-character
// interface, whatever its code page; a file or pipe receives the UTF-8 bytes, as on POSIX.
void WriteError(const std::string& text);

// Standard input and output carry code page 932 bytes unchanged (no CR LF translation).
void UseBinaryStreams();

// A write into a pipe whose reader has gone fails (EPIPE) like any failed write, so that it
// is reported and the batch goes on, rather than ending the program without a word.
void FailWritesToClosedPipes();

// Every input allocates and frees the same few hundred kilobytes; handing them back to the
// system after each file and faulting them in again cost more than converting it.
void KeepFreedMemory();
// Writes bytes to standard output; false when they could not all be written.
bool WriteStdout(const std::string& bytes);

// Windows programs expand * and ? in file names themselves: cmd.exe hands them over as typed.
// Each such argument becomes the files it matches (not folders), in name order; one that
// matches nothing stays as it is. Elsewhere the shell has expanded them already, and a name
// may hold those characters.
std::vector<std::string> ExpandWildcards(const std::vector<std::string>& args);
// Whether an argument is a pattern that ExpandWildcards could not expand.
bool HasWildcard(const std::string& arg);

}  // namespace qdvz::cli
