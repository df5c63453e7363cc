// File-name patterns as qd2vz.exe and the Win32 window match them: the long name only.
#include "io/name_pattern.h"

#include <gtest/gtest.h>

#include "convert/text.h"

namespace qdvz {
namespace {

TEST(MatchesNamePattern, LongNamesOnly) {
  struct Row {
    const char* name;
    const char* pattern;
    bool matches;
  };
  const Row rows[] = {
      {"a.dat", "*.dat", true},
      {"A.DAT", "*.dat", true},    // Windows names ignore case
      {"x.data", "*.dat", false},  // the short name X~1.DAT would match
      {"longername.dat2", "*.dat", false},
      {"a.dat.txt", "*.dat", false},
      {".dat", "*.dat", true},
      {"a.b.dat", "*.dat", true},
      {"a.dat", "?.dat", true},
      {"ab.dat", "?.dat", false},
      {".dat", "?.dat", false},
      {"線記号.dat", "???.dat", true},  // ? is one character, not one byte
      {"𠀋.dat", "?.dat", true},        // a surrogate pair is one character
      {"a.dat", "*", true},
      {"", "*", true},
      {"", "?", false},
      {"abcabd", "*abd", true},  // * gives back what the rest needs
      {"abcab", "*abd", false},
      {"ab", "a**b", true},
      {"sample.dat", "s*e.d?t", true},
      {"sizes.qdc", "*.dat", false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(MatchesNamePattern(FromUtf8(row.name), FromUtf8(row.pattern)), row.matches)
        << row.name << " against " << row.pattern;
  }
}

}  // namespace
}  // namespace qdvz
