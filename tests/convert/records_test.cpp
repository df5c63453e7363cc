#include <gtest/gtest.h>

#include "convert/records.h"
#include "test_support.h"

namespace qdvz {
namespace {

struct SplitCase {
  const char* record;
  std::vector<const char*> fields;  // fields 1 upward; the rest must be empty
  int field2Start;
};

void PrintTo(const SplitCase& c, std::ostream* out) {
  *out << '"' << c.record << '"';
}

class SplitTable : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTable, GivesTheFields) {
  const SplitCase& c = GetParam();
  const std::u16string record = FromUtf8(c.record);  // the fields are views into it
  RecordFields split = SplitRecord(record);
  ASSERT_TRUE(split.hasSpace);
  for (int n = 1; n <= kFieldCount; ++n) {
    std::string expected = n <= static_cast<int>(c.fields.size()) ? c.fields[n - 1] : "";
    EXPECT_EQ(ToUtf8(split.F(n)), expected) << "field " << n;
  }
  EXPECT_EQ(split.field2Start, c.field2Start);
}

INSTANTIATE_TEST_SUITE_P(
    Records, SplitTable,
    testing::Values(
        SplitCase{"10  01   -5 0 5 0", {"10", "01", "-5", "0", "5", "0"}, 5},
        SplitCase{"0 NAME", {"0", "NAME"}, 3},
        SplitCase{"0 DASHED LINE A", {"0", "DASHED", "LINE", "A"}, 3},
        SplitCase{"800 ", {"800"}, 5},
        SplitCase{"w1 w2 w3 w4 w5 w6 w7 w8 w9 w10 w11 w12 w13",
                  {"w1", "w2", "w3", "w4", "w5", "w6", "w7", "w8", "w9", "w10", "w11", "w12 w13"},
                  4},
        SplitCase{"a b c d e f g h \"say it now",
                  {"a", "b", "c", "d", "e", "f", "g", "h", "", "\"say it now"},
                  3},
        SplitCase{
            "a b c d e f g h i \"say", {"a", "b", "c", "d", "e", "f", "g", "h", "i ", "\"say"}, 3},
        // Several words may stand before the quote in field 9.
        SplitCase{
            "a b c d e f g h i j \"q", {"a", "b", "c", "d", "e", "f", "g", "h", "i j ", "\"q"}, 3},
        // A quote before the ninth field means nothing.
        SplitCase{"a b \"c d e", {"a", "b", "\"c", "d", "e"}, 3},
        // Trailing spaces give an empty next field; the twelfth keeps them.
        SplitCase{"a b  ", {"a", "b", ""}, 3},
        SplitCase{"1 2 3 4 5 6 7 8 9 10 11 12  ",
                  {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12  "},
                  3},
        // A tab is an ordinary character.
        SplitCase{"\t1 2\t3", {"\t1", "2\t3"}, 4},
        // Only an uncleaned line begins with a space: field 1 is then empty.
        SplitCase{"   a", {"", "a"}, 4}));

TEST(SplitRecord, RecordWithoutSpaceHasNoFields) {
  RecordFields split = SplitRecord(u"800");
  EXPECT_FALSE(split.hasSpace);
  EXPECT_TRUE(split.F(1).empty());
}

TEST(CleanRecord, DropsLeadingSpacesButNotAFinalLetterAlone) {
  EXPECT_EQ(CleanRecord(u"  10 01"), u"10 01");
  EXPECT_EQ(CleanRecord(u"   a"), u"   a");
  EXPECT_EQ(CleanRecord(u"    "), u"    ");
  EXPECT_EQ(CleanRecord(u"\t 1 2"), u"\t 1 2");
  EXPECT_EQ(CleanRecord(u"10 01  "), u"10 01  ");
}

TEST(CollectSourceRecords, KeepsRecordsAroundTheFirstMarker) {
  auto lines = test::Lines({"10 01 #999", "ab", "", "1 A", "x999y", "99", "999", "  0 B", "99 0"});
  CollectedRecords collected = CollectSourceRecords(test::Views(lines));
  EXPECT_TRUE(collected.markerSeen);
  ASSERT_EQ(collected.records.size(), 4u);
  EXPECT_EQ(collected.records[0].text, u"1 A");
  EXPECT_EQ(collected.records[0].line, 4);
  // The second "999" line is an ordinary record.
  EXPECT_EQ(collected.records[1].text, u"999");
  EXPECT_EQ(collected.records[2].text, u"0 B");
  EXPECT_EQ(collected.records[2].line, 8);
}

TEST(CollectSourceRecords, CommentOrShortLineIsNeverTheMarker) {
  EXPECT_FALSE(CollectSourceRecords(test::Views(test::Lines({"# 999", "99", "1 2"}))).markerSeen);
  auto lines = test::Lines({"999 #", "999"});
  CollectedRecords collected = CollectSourceRecords(test::Views(lines));
  EXPECT_TRUE(collected.markerSeen);
  EXPECT_TRUE(collected.records.empty());
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
