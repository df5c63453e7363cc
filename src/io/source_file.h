#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "convert/failure.h"
#include "convert/limits.h"

namespace qdvz {

// The lines are views into text, which they share: moving the whole keeps them valid, and
// copying is not possible.
struct LoadedLines {
  std::vector<std::u16string_view> lines;      // without their line ends; at most the limit
  bool truncated = false;                      // lines were left unread beyond the limit
  std::unique_ptr<const std::u16string> text;  // the decoded lines with their line ends
};

// Splits code page 932 bytes into lines (CR LF, LF or CR ends a line; a last line without
// an end still counts) and decodes the first maxLines of them. Bytes that are not code page
// 932 text are refused, naming the line: invalid sequences, NUL bytes, and files that start
// with a UTF-8 or UTF-16 byte-order mark.
Result<LoadedLines> SplitSourceBytes(std::string_view bytes, int maxLines = kMaxLoadedLines);

// A QD data file as the window keeps it: the bytes of the lines loaded, still in code page 932
// (half the room of their UTF-16 text), and those lines decoded for the display box. A
// conversion decodes the bytes again (SplitSourceBytes), so that the window holds the file
// once as bytes and once as the display's text, never twice as text.
struct ShownSource {
  std::string bytes;       // the lines loaded with their line ends, as the file holds them
  std::u16string text;     // the same lines decoded, each followed by CR LF
  bool truncated = false;  // lines were left unread beyond the limit
};

// The lines of bytes that SplitSourceBytes would load, refused as it refuses them.
Result<ShownSource> ShowSourceBytes(std::string bytes, int maxLines = kMaxLoadedLines);

// Reads a QD data file as the window loads it.
Result<ShownSource> LoadShownSource(const std::filesystem::path& path,
                                    int maxLines = kMaxLoadedLines);

}  // namespace qdvz
