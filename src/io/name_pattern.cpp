#include "io/name_pattern.h"

#include "convert/text.h"
#include "io/file_name_case.h"

namespace qdvz {
namespace {

// The length in code units of the character at i: a surrogate pair is one character.
size_t CharLength(std::u16string_view text, size_t i) {
  return IsSurrogatePair(text, i) ? 2 : 1;
}

bool SameLetter(char16_t a, char16_t b) {
  return a == b || SameLetterInFileNames(a, b);
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
