#include "io/source_file.h"

#include <algorithm>
#include <cstring>

#include "io/cp932.h"
#include "io/file_bytes.h"
#include "io/io_messages.h"

namespace qdvz {
namespace {

// The line that starts at pos and where the next one starts. CR and LF are never trail
// bytes in code page 932, so the bytes can be split before they are decoded.
struct RawLine {
  std::string_view text;
  size_t next;
};

RawLine NextLine(std::string_view bytes, size_t pos) {
  // A plain loop: find_first_of looks each byte up in the set of two with a call of its own.
  size_t end = pos;
  while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
  if (end == bytes.size()) return {bytes.substr(pos), bytes.size()};
  size_t next = end + 1;
  if (bytes[end] == '\r' && next < bytes.size() && bytes[next] == '\n') ++next;
  return {bytes.substr(pos, end - pos), next};
}

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

}  // namespace

LoadedLines SplitSourceBytes(std::string_view bytes, int maxLines) {
  LoadedLines loaded;
  // Other encodings would decode to nonsense or fail on some line; name them instead.
  if (StartsWith(bytes, "\xEF\xBB\xBF")) {
    loaded.error = Refusal{msg::kUtf8File, 1};
    return loaded;
  }
  if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
    loaded.error = Refusal{msg::kUtf16File, 1};
    return loaded;
  }
  loaded.lines.reserve(static_cast<size_t>(std::clamp(maxLines, 0, kMaxLoadedLines)));
  size_t pos = 0;
  while (pos < bytes.size() && static_cast<int>(loaded.lines.size()) < maxLines) {
    RawLine line = NextLine(bytes, pos);
    int lineNumber = static_cast<int>(loaded.lines.size()) + 1;
    if (line.text.find('\0') != std::string_view::npos) {
      loaded.lines.clear();
      loaded.error = Refusal{msg::kNulInFile, lineNumber};
      return loaded;
    }
    Cp932Decoded decoded = DecodeCp932(line.text);
    if (!decoded.ok) {
      loaded.lines.clear();
      loaded.error = Refusal{msg::kNotCp932, lineNumber};
      return loaded;
    }
    loaded.lines.push_back(std::move(decoded.text));
    pos = line.next;
  }
  loaded.truncated = pos < bytes.size();
  return loaded;
}

LoadedLines LoadSourceLines(const std::filesystem::path& path, int maxLines) {
  FileBytes file = ReadFileBytes(path);
  if (file.error) {
    LoadedLines loaded;
    loaded.error = file.error;
    return loaded;
  }
  return SplitSourceBytes(file.bytes, maxLines);
}

}  // namespace qdvz
