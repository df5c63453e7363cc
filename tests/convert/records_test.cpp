// From data lines to records, and from a record to its fields.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "convert/records.h"
#include "support/text.h"

namespace qdvz {
namespace {

struct SplitCase {
  std::string_view record;
  std::vector<std::string_view> fields;  // fields 1 upward, the rest empty; none: no space
  int field2Start = 0;
};

TEST(SplitRecord, GivesTheFieldsOfEachRecord) {
  const SplitCase cases[] = {
      {"800", {}},
      {"800 ", {"800"}, 5},
      {"10  01   -5 0 5 0", {"10", "01", "-5", "0", "5", "0"}, 5},
      {"0 DASHED LINE A", {"0", "DASHED", "LINE", "A"}, 3},
      {"w1 w2 w3 w4 w5 w6 w7 w8 w9 w10 w11 w12 w13",
       {"w1", "w2", "w3", "w4", "w5", "w6", "w7", "w8", "w9", "w10", "w11", "w12 w13"},
       4},
      // From field 9 on, a double quote opens field 10, the text; the words before it (and
      // the blanks between them) are field 9.
      {"a b c d e f g h \"say it now",
       {"a", "b", "c", "d", "e", "f", "g", "h", "", "\"say it now"},
       3},
      {"a b c d e f g h i \"say", {"a", "b", "c", "d", "e", "f", "g", "h", "i ", "\"say"}, 3},
      {"a b c d e f g h i j \"q", {"a", "b", "c", "d", "e", "f", "g", "h", "i j ", "\"q"}, 3},
      {"a b \"c d e", {"a", "b", "\"c", "d", "e"}, 3},  // earlier, a quote means nothing
      // Trailing blanks give an empty next field; the twelfth field keeps them.
      {"a b  ", {"a", "b", ""}, 3},
      {"1 2 3 4 5 6 7 8 9 10 11 12  ",
       {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12  "},
       3},
      {"\t1 2\t3", {"\t1", "2\t3"}, 4},  // a tab is an ordinary character
      {"   a", {"", "a"}, 4},            // only an uncleaned line begins with a space
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.record);
    const std::u16string record = test::U(c.record);  // the fields are views into it
    RecordFields split = SplitRecord(record);
    EXPECT_EQ(split.hasSpace, !c.fields.empty());
    for (int n = 1; n <= kFieldCount; ++n) {
      std::string_view expected = n <= static_cast<int>(c.fields.size()) ? c.fields[n - 1] : "";
      EXPECT_EQ(ToUtf8(split.F(n)), expected) << "field " << n;
    }
    EXPECT_EQ(split.field2Start, c.field2Start);
  }
}

TEST(CleanRecord, DropsLeadingBlanksButNotBeforeAFinalCharacterAlone) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u" 10 01", u"10 01"},  {u"   10 01  ", u"10 01  "}, {u"  ab", u"ab"},
      {u"   a", u"   a"},     {u"    ", u"    "},          {u"", u""},
      {u"\t 1 2", u"\t 1 2"}, {u"10 01", u"10 01"},
  };
  for (auto [line, cleaned] : cases) EXPECT_EQ(CleanRecord(line), cleaned) << ToUtf8(line);
}

// The records kept (line number and text): neither comments nor lines too short to be
// records, nor the first marker, which a comment or a short line never is.
TEST(CollectSourceRecords, KeepsTheRecordsAfterTheFirstMarker) {
  const std::pair<std::vector<std::string_view>, std::vector<std::pair<int, std::string>>> cases[] =
      {
          {{"10 01 #999", "ab", "", "1 A", "x999y", "99", "999", "  0 B", "99 0"},
           {{4, "1 A"}, {7, "999"}, {8, "0 B"}, {9, "99 0"}}},
          {{"# 999", "99", "999 #", "999", "99 0"}, {{5, "99 0"}}},
          // A "#" anywhere in a longer line; units that only share a byte with it are no "#".
          {{"999", "1 2 3 4#", "1 2 3 4 5 6 7 #", "\u2323 a\u0123b 1 2", "12345678#9"},
           {{4, "\u2323 a\u0123b 1 2"}}},
      };
  for (const auto& [input, expected] : cases) {
    std::vector<std::u16string> lines;
    for (std::string_view line : input) lines.push_back(test::U(line));
    std::vector<std::pair<int, std::string>> records;
    for (const SourceRecord& record : CollectSourceRecords(test::Views(lines)).records) {
      records.emplace_back(record.line, ToUtf8(record.text));
    }
    EXPECT_EQ(records, expected) << input[0];
  }
}

TEST(CollectSourceRecords, LooksAtNoMoreThan1201Lines) {
  std::vector<std::u16string> lines(1300, u"1 2");
  lines[1200] = u"999";
  lines[1201] = u"999";
  EXPECT_TRUE(CollectSourceRecords(test::Views(lines)).markerSeen);
  lines[1200] = u"1 2";
  EXPECT_FALSE(CollectSourceRecords(test::Views(lines)).markerSeen);
}

}  // namespace
}  // namespace qdvz
