#include "io/name_pattern.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace qdvz {
namespace {

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c < 0xDC00;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c < 0xE000;
}

// The length in code units of the character at i: a surrogate pair is one character.
size_t CharLength(std::u16string_view text, size_t i) {
  return IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 1;
}

bool SameLetter(char16_t a, char16_t b) {
  if (a == b) return true;
#ifdef _WIN32
  // The comparison the file system makes: its own upper-case table, full-width letters too.
  const wchar_t left = a, right = b;
  return CompareStringOrdinal(&left, 1, &right, 1, TRUE) == CSTR_EQUAL;
#else
  auto upper = [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c; };
  return upper(a) == upper(b);
#endif
}

}  // namespace

bool MatchesNamePattern(std::u16string_view name, std::u16string_view pattern) {
  // Greedy with one step back: on a mismatch, the last * takes one more character.
  size_t n = 0, p = 0;
  size_t starName = std::u16string_view::npos, starPattern = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      starPattern = ++p;
      starName = n;
    } else if (p < pattern.size() && pattern[p] == u'?') {
      n += CharLength(name, n);
      ++p;
    } else if (p < pattern.size() && SameLetter(pattern[p], name[n])) {
      ++n;
      ++p;
    } else if (starName != std::u16string_view::npos) {
      starName += CharLength(name, starName);
      n = starName;
      p = starPattern;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

}  // namespace qdvz
