#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "convert/failure.h"
#include "io/file_identity.h"

namespace qdvz {

// The bytes saved for a display text: the text, one CR LF, encoded as code page 932.
// Refuses text with characters that the code page cannot hold, naming the character and
// its line.
Result<std::string> EncodeSavedText(std::u16string_view displayText);

// A standard stream open for writing, and the file behind it.
struct OpenStream {
  StandardStream stream;
  FileIdentity file;
};

// Writes bytes to path so that a failure never leaves a damaged or half-written file, and
// nothing that is open elsewhere is lost:
//  - what is already open as one of openStreams (standard output redirected to a log, say)
//    is written through that stream, at its place, appending if it was opened so: replacing
//    it would leave the stream writing to a file that no longer has a name;
//  - a device or a pipe, which cannot be replaced, is written in place;
//  - an existing regular file is replaced through a temporary file next to it, written and
//    flushed to the disk, then renamed over it; its permissions are kept. Through a
//    symbolic link the file it leads to is replaced, and the link stays;
//  - a new file is written under a temporary name next to it and appears under its own name
//    only whole, only if nothing has that name yet. A symbolic link that leads nowhere yet
//    is followed, as the shell's ">" does: the file is created where it points;
//  - a folder, or a read-only file, is refused.
Result<void> WriteFileSafely(const std::filesystem::path& path, std::string_view bytes,
                             std::span<const OpenStream> openStreams = {});

// The files that a run has read: the data files, the character-size file, the file behind
// standard input. What the run writes never replaces one of them unasked, whatever name leads
// there (a link, a hard link, and on Windows another spelling: case, "..", an 8.3 short name):
// files are told apart by their identity, not by their names. qd2vz refuses such an output;
// the window asks first.
class InputFiles {
 public:
  // Keeps the file that path leads to now, under that name; nothing when there is none.
  void Add(const std::filesystem::path& path);
  // Keeps the file behind a standard stream, under no name.
  void Add(StandardStream stream);
  // The name under which the input that writing to target would replace was kept; nothing
  // when target leads to none of them.
  std::optional<std::filesystem::path> ReplacedBy(const std::filesystem::path& target) const;

 private:
  std::map<FileIdentity, std::filesystem::path> files_;
};

// The files that a run has written, so that a second output of the run under one name (a/x.dat
// and b/x.dat both becoming x.txt, or on Windows names that differ only in case) never
// replaces the first.
class WrittenFiles {
 public:
  // Keeps the file that path leads to now, when it is a file on a disk: any number of names
  // may lead to one device such as /dev/null.
  void Add(const std::filesystem::path& path);
  // Whether writing to target would replace a file that this run wrote. The identity alone
  // does not tell: once another program replaces such a file (another run into the same
  // folder), its number is free and the system gives it to the next new file. So the name it
  // was written under must still lead to it.
  bool Holds(const std::filesystem::path& target) const;

 private:
  std::map<FileIdentity, std::filesystem::path> files_;
};

// EncodeSavedText followed by WriteFileSafely.
Result<void> SaveText(const std::filesystem::path& path, std::u16string_view displayText);

}  // namespace qdvz
