#include "io/source_file.h"

#include <bit>

#include "cp932/ascii_words.h"
#include "cp932/cp932.h"
#include "io/file_bytes.h"
#include "io/io_messages.h"

namespace qdvz {
namespace {

using detail::HasByte;
using detail::HasUnit;
using detail::HasZeroByte;
using detail::kWordSize;
using detail::LoadWord;

// Where the line that starts at pos stops: at its CR or LF, at a NUL byte, or at the end.
// CR, LF and NUL are never trail bytes in code page 932, so the bytes can be split before
// they are decoded.
size_t FindLineStop(std::string_view bytes, size_t pos) {
  const char* in = bytes.data();
  const size_t size = bytes.size();
#ifdef QDVZ_HAS_SSE2
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i nul = _mm_setzero_si128();
  while (pos + 16 <= size) {
    __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + pos));
    __m128i stops = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)),
                                 _mm_cmpeq_epi8(block, nul));
    // The lowest bit set is the first stop in the block.
    if (int mask = _mm_movemask_epi8(stops); mask != 0) {
      return pos + static_cast<size_t>(std::countr_zero(static_cast<unsigned>(mask)));
    }
    pos += 16;
  }
#endif
  while (pos + kWordSize <= size) {
    uint64_t word = LoadWord(in + pos);
    if (HasZeroByte(word) || HasByte(word, '\r') || HasByte(word, '\n')) break;
    pos += kWordSize;
  }
  while (pos < size && in[pos] != '\r' && in[pos] != '\n' && in[pos] != '\0') ++pos;
  return pos;
}

// The same for decoded text, which holds no NUL.
size_t FindLineEnd(std::u16string_view text, size_t pos) {
  constexpr size_t kUnitsPerWord = kWordSize / sizeof(char16_t);
  const char16_t* in = text.data();
  const size_t size = text.size();
#ifdef QDVZ_HAS_SSE2
  const __m128i cr = _mm_set1_epi16(u'\r');
  const __m128i lf = _mm_set1_epi16(u'\n');
  while (pos + 8 <= size) {
    __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + pos));
    __m128i stops = _mm_or_si128(_mm_cmpeq_epi16(block, cr), _mm_cmpeq_epi16(block, lf));
    // Each unit gives two bits of the mask: the lowest set is the first line end's low byte.
    if (int mask = _mm_movemask_epi8(stops); mask != 0) {
      return pos + static_cast<size_t>(std::countr_zero(static_cast<unsigned>(mask))) / 2;
    }
    pos += 8;
  }
#endif
  while (pos + kUnitsPerWord <= size) {
    uint64_t word = LoadWord(in + pos);
    if (HasUnit(word, u'\r') || HasUnit(word, u'\n')) break;
    pos += kUnitsPerWord;
  }
  while (pos < size && in[pos] != u'\r' && in[pos] != u'\n') ++pos;
  return pos;
}

// Where the next line starts after a line that stops at end: past CR LF, CR or LF.
template <typename Text>
size_t AfterLineEnd(Text text, size_t end) {
  if (end == text.size()) return end;
  size_t next = end + 1;
  if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
  return next;
}

// The 1-based line that holds the byte at offset.
int LineOf(std::string_view bytes, size_t offset) {
  int line = 1;
  for (size_t pos = AfterLineEnd(bytes, FindLineStop(bytes, 0));
       pos <= offset && pos < bytes.size(); pos = AfterLineEnd(bytes, FindLineStop(bytes, pos))) {
    ++line;
  }
  return line;
}

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

// Where the lines to load end in a file's bytes, found without decoding them.
struct LinesToLoad {
  size_t end = 0;   // the bytes of the lines to load, with their line ends
  int count = 0;    // how many lines they are
  int nulLine = 0;  // the line after them when it holds a NUL byte, else 0
};

Result<LinesToLoad> FindLinesToLoad(std::string_view bytes, int maxLines) {
  // Other encodings would decode to nonsense or fail on some line; name them instead.
  if (StartsWith(bytes, "\xEF\xBB\xBF"))
    return Failure{FailureKind::kNotCp932Text, msg::kUtf8File, 1};
  if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
    return Failure{FailureKind::kNotCp932Text, msg::kUtf16File, 1};
  }
  // What lies beyond the lines to load is never looked at. A line with a NUL byte ends the
  // search: it is refused once the lines before it have decoded.
  LinesToLoad found;
  while (found.end < bytes.size() && found.count < maxLines) {
    size_t stop = FindLineStop(bytes, found.end);
    if (stop < bytes.size() && bytes[stop] == '\0') {
      found.nulLine = found.count + 1;
      break;
    }
    ++found.count;
    found.end = AfterLineEnd(bytes, stop);
  }
  return found;
}

Failure NulRefused(const LinesToLoad& found) {
  return Failure{FailureKind::kNotCp932Text, msg::kNulInFile, found.nulLine};
}

}  // namespace

Result<LoadedLines> SplitSourceBytes(std::string_view bytes, int maxLines) {
  Result<LinesToLoad> found = FindLinesToLoad(bytes, maxLines);
  if (!found) return found.failure();

  // Decode them at once into one text and hand out the lines as views of it.
  std::string_view kept = bytes.substr(0, found->end);
  Result<std::u16string> decoded = DecodeCp932(kept);
  if (!decoded) {
    Failure failure = decoded.failure();
    if (failure.kind == FailureKind::kNotCp932Text) failure.line = LineOf(kept, failure.position);
    return failure;
  }
  if (found->nulLine != 0) return NulRefused(*found);
  LoadedLines loaded;
  loaded.truncated = kept.size() < bytes.size();
  loaded.text = std::make_unique<const std::u16string>(std::move(*decoded));
  std::u16string_view text = *loaded.text;
  loaded.lines.reserve(static_cast<size_t>(found->count));
  for (size_t start = 0; start < text.size();) {
    size_t end = FindLineEnd(text, start);
    loaded.lines.push_back(text.substr(start, end - start));
    start = AfterLineEnd(text, end);
  }
  return loaded;
}

Result<ShownSource> ShowSourceBytes(std::string bytes, int maxLines) {
  Result<LinesToLoad> found = FindLinesToLoad(bytes, maxLines);
  if (!found) return found.failure();

  // Each line is decoded straight onto the end of the display text: the file is never held
  // decoded a second time. Each byte gives at most one unit, and each CR LF written at most
  // one more than the line end it replaces (none for the last line).
  std::string_view kept = std::string_view(bytes).substr(0, found->end);
  ShownSource source;
  source.text.reserve(kept.size() + static_cast<size_t>(found->count) + 1);
  int line = 0;
  for (size_t start = 0; start < kept.size();) {
    const size_t stop = FindLineStop(kept, start);
    ++line;
    if (Result<void> decoded = AppendDecodedCp932(kept.substr(start, stop - start), source.text);
        !decoded) {
      Failure failure = decoded.failure();
      if (failure.kind == FailureKind::kNotCp932Text) {
        failure.line = line;
        failure.position += start;
      }
      return failure;
    }
    source.text += u"\r\n";
    start = AfterLineEnd(kept, stop);
  }
  if (found->nulLine != 0) return NulRefused(*found);

  // Only the bytes of the lines loaded are kept. Far fewer than were read are copied, and the
  // rest is freed; else the rest is cut off in place, as a copy would hold them twice.
  source.truncated = kept.size() < bytes.size();
  if (kept.size() < bytes.size() / 2) {
    source.bytes.assign(kept);
  } else {
    bytes.resize(kept.size());
    source.bytes = std::move(bytes);
  }
  return source;
}

Result<ShownSource> LoadShownSource(const std::filesystem::path& path, int maxLines) {
  Result<std::string> file = ReadFileBytes(path);
  if (!file) return file.failure();
  return ShowSourceBytes(std::move(*file), maxLines);
}

}  // namespace qdvz
