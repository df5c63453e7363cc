// The conversion run as a whole: block bookkeeping, values carried between records, and the
// refusals for data beyond the macro's limits.
#include <gtest/gtest.h>

#include "convert/convert_records.h"
#include "convert/messages.h"
#include "test_support.h"

namespace qdvz {
namespace {

using test::DocumentLines;
using test::Lines;

std::vector<std::string> Convert(const std::vector<std::u16string>& lines,
                                 const SizeItems& sizes = test::ExampleSizes()) {
  Result<std::u16string> document = ConvertRecords(lines, sizes);
  if (!document) {
    ADD_FAILURE() << ToUtf8(Describe(document.failure()));
    return {};
  }
  return DocumentLines(*document);
}

Failure Refused(const std::vector<std::u16string>& lines,
                const SizeItems& sizes = test::ExampleSizes()) {
  Result<std::u16string> document = ConvertRecords(lines, sizes);
  return document ? Failure{FailureKind::kCutOff, u"(converted)"} : document.failure();
}

Failure Beyond(const char16_t* message, int line) {
  return Failure{FailureKind::kBeyondMacro, message, line};
}

const std::string kHead = "#----------------------------------------------";

TEST(ConversionRun, DataWithoutMarkerOrWithMacroInputIsNotQdData) {
  EXPECT_EQ(Refused(Lines({"1 A", "# 999"})),
            (Failure{FailureKind::kNotQdData, msg::kNotQdData, 0}));
  EXPECT_EQ(Refused(Lines({"999", "1 A", "vzm", "99 0"})),
            (Failure{FailureKind::kNotQdData, msg::kNotQdData, 3}));
  EXPECT_EQ(Refused(Lines({"999", "VZM 1"})),
            (Failure{FailureKind::kNotQdData, msg::kNotQdData, 2}));
  // Only the all-lower and all-upper forms count.
  EXPECT_EQ(Convert(Lines({"999", "Vzm", "vZM 1"})).size(), 5u);
}

TEST(ConversionRun, HeaderNeedsAZeroFieldSeenFirst) {
  // 0 12 34 56 has no zero field 3 or 4: it is a line of code 0, not a block.
  auto doc = Convert(Lines({"999", "0 12 34 56", "0 NAME"}));
  ASSERT_EQ(doc.size(), 8u);
  EXPECT_EQ(doc[3], "line(10, 34,  56,  ,  ,  9,  9,  9 )");
  EXPECT_EQ(doc[4], "begin  \"NAME\"");
}

TEST(ConversionRun, BlockNameKeepsEveryWordAndTrailingSpaces) {
  auto doc = Convert(Lines({"999", "  1  DASHED LINE A  "}));
  EXPECT_EQ(doc[3], "begin  \"DASHED LINE A  \"");
}

TEST(ConversionRun, ReferenceLineBeforeAnyBlockGoesToTheOverwrittenHead) {
  auto doc = Convert(Lines({"999", "10 01 5 5 6 6"}));
  EXPECT_EQ(doc, (std::vector<std::string>{"vzm", kHead, "", "line(11, 5,  5,  6,  6,  0,  0,  0 )",
                                           ""}));
}

TEST(ConversionRun, ReferenceLineClosesCodeZeroBlockSoItsEndStopsTheRun) {
  auto doc = Convert(Lines({"999", "0 A", "10 01 -7 0 3 0", "99 0", "0 B", "99 0"}));
  ASSERT_EQ(doc.size(), 12u);
  EXPECT_EQ(doc[4], "scale(12, 0, 0, 0, 0)");
  EXPECT_EQ(doc[5], "select(0 ,0)");
  EXPECT_EQ(doc[7], "end");
}

TEST(ConversionRun, LastReferenceLineWinsInCodeOneBlocks) {
  auto doc = Convert(Lines({"999", "1 A", "10 10 1 0 5 0", "10 01 -3 0 8 0", "99 0"}));
  EXPECT_EQ(doc[4], "scale( 3, 0, 0, 0, 0)");
  EXPECT_EQ(doc[5], "select(9 ,0)");
}

TEST(ConversionRun, ScaleRecordsFeedTheNextScaleStatementOnly) {
  auto doc = Convert(
      Lines({"999", "1 A", "800 1", "500 0 0 x 7", "10 10 1 0 5 0", "10 10 1 0 6 0", "99 0"}));
  // The first reference line takes "800" and "500"; the second finds them reset.
  EXPECT_EQ(doc[4], "scale(6, 0, 0, 0, 0)");
  auto first = Convert(Lines({"999", "1 A", "800 1", "500 0 0 x 7", "10 10 1 0 5 0", "99 0"}));
  EXPECT_EQ(first[4], "scale(5, 0, 1, 7, 0)");
  auto halves = Convert(Lines({"999", "1 A", "500 12.5 -12", "10 10 1 0 5 0", "99 0"}));
  EXPECT_EQ(halves[4], "scale(5, 0, 0,  2, -2)");
}

TEST(ConversionRun, DataWithoutBlockEndLeavesTheBlockOpen) {
  auto doc = Convert(Lines({"999", "2 A", "02 20 1 2 3 4"}));
  EXPECT_EQ(doc, (std::vector<std::string>{"vzm", kHead, "", "begin  \"A\"", "", "", "",
                                           "line(21, 1,  4,  3,  2,  0,  0,  0 )", ""}));
}

TEST(ConversionRun, TextRecordKeepsHeadCodeAndDirectionOfThePreviousText) {
  auto doc = Convert(
      Lines({"999", "1 T", "01 01 1 2 1 9 10003 105 \"A", "77 55 3 4 5 6 10003 105 \"B", "99 0"}));
  EXPECT_EQ(doc[7], "text(10, 3,  4,  90,  2,  0,  3,  5,  4,  9,  \"B\" )");
  // With no earlier text there is nothing to keep.
  auto first = Convert(Lines({"999", "1 T", "77 55 3 4 5 6 10003 105 \"B", "99 0"}));
  EXPECT_EQ(first[6], "3,  4,  ,  2,  0,  3,  5,  4,  9,  \"B\" )");
}

TEST(ConversionRun, ArcWithoutMarkerOrHeadKeepsThoseOfThePreviousArc) {
  auto doc = Convert(Lines({"999", "1 T", "02 00 1 2 3 4 x e -5 2", "55 00 1 2 3 4 x y zeta",
                            "55 77 1 2 3 4 7 E 8 1", "99 0"}));
  EXPECT_EQ(doc[6], "arc(20, 1,  2,  5,  3,  4,  4,  x,  9,  9 )");
  EXPECT_EQ(doc[7], "arc(0 , 1,  2,  5,  3,  4,  4,  x,  9,  9 )");
  EXPECT_EQ(doc[8], "arc(0 , 1,  2,  8,  3,  4,  1,  7,  9,  9 )");
  // The first arc of a run without a marker: the third form and empty values.
  auto first = Convert(Lines({"999", "1 T", "55 66 1 2 3 4 x y zeta", "99 0"}));
  EXPECT_EQ(first[6], "1,  2,  ,  3,  4,  1,  9,  9 ,  9 )");
}

TEST(ConversionRun, RefusesIntegersBeyondSixteenBitsNamingTheLine) {
  const Failure outOfRange = Beyond(msg::kIntegerOutOfRange, 3);
  EXPECT_EQ(Refused(Lines({"999", "1 T", "500 163840 5"})), outOfRange);
  EXPECT_EQ(Refused(Lines({"999", "1 T", "500 5 163840"})), outOfRange);
  EXPECT_EQ(Refused(Lines({"999", "1 T", "101 10 1 0 40000 0"})), outOfRange);
  EXPECT_EQ(Refused(Lines({"999", "1 T", "10 01 40000 0 1 0"})), outOfRange);
  EXPECT_EQ(Refused(Lines({"999", "1 T", "10 01 -32768 0 1 0"})), outOfRange);
  EXPECT_EQ(Refused(Lines({"999", "1 T", "1 2 3 4 5 6 32767.5"})), outOfRange);
  // Field 1 is only compared as a value.
  auto doc = Convert(Lines({"999", "1 T", "88888888888 1 1 2 3 4", "10 01 -32767 0 1 0"}));
  EXPECT_EQ(doc[6], "line(10, 1,  2,  3,  4,  9,  9,  9 )");
  EXPECT_EQ(doc[4], "scale( 32767, 0, 0, 0, 0)");
}

TEST(ConversionRun, SizeNumbersOneToFortyOneOnly) {
  SizeItems sizes;
  for (int i = 0; i < kSizeSlots; ++i) sizes[i] = FromUtf8("s" + std::to_string(i));
  auto doc = Convert(
      Lines({"999", "1 T", "01 01 1 2 3 4 10003 141 \"x", "01 01 1 2 3 4 10003 001 \"x"}), sizes);
  EXPECT_EQ(doc[6], "text(10, 1,  2,  ,  2,  0,  3,  s40,  s50,  9,  \"x\" )");
  EXPECT_EQ(doc[7], "text(10, 1,  2,  ,  1,  0,  3,  s0,  s10,  9,  \"x\" )");
  for (const char* code : {"100", "142", "199", "1-1", "", "E"}) {
    std::string record = std::string("01 01 1 2 3 4 10003 ") + code + " \"x";
    EXPECT_EQ(Refused(Lines({"999", "1 T", record.c_str()}), sizes),
              Beyond(msg::kSizeNumberOutOfRange, 3))
        << code;
  }
  // A marker in field 8 does not make a text record an arc: its size code is then "E".
  EXPECT_EQ(Refused(Lines({"999", "1 T", "01 01 1 2 3 4 10005 E 5 1"}), sizes).message,
            msg::kSizeNumberOutOfRange);
}

TEST(ConversionRun, ArcFactorBeyondSinglePrecisionIsRefused) {
  EXPECT_EQ(Refused(Lines({"999", "1 T", "01 00 1 2 3 4 e -5 1e39"})),
            Beyond(msg::kFactorOutOfRange, 3));
  EXPECT_EQ(Refused(Lines({"999", "1 T", "01 00 1 2 3 4 e -5 2e38"})),
            Beyond(msg::kFactorOutOfRange, 3));
}

std::vector<std::u16string> BlockWithLines(int statements) {
  std::vector<std::u16string> lines = {u"999", u"1 T"};
  for (int i = 0; i < statements; ++i) lines.push_back(u"02 20 1 2 3 4");
  return lines;
}

TEST(ConversionRun, MacroHoldsTwelveHundredSlotsAndNoMore) {
  // Head and block take slots 0 to 5; each record one more; the last line is slot NextSlot.
  auto doc = Convert(BlockWithLines(1194));
  EXPECT_EQ(doc.size(), 1201u);
  EXPECT_EQ(Refused(BlockWithLines(1195)), Beyond(msg::kMacroFull, 1197));
  // A block end that would pass the last slot is refused as well.
  auto lines = BlockWithLines(1191);
  lines.push_back(u"99 0");
  EXPECT_EQ(Refused(lines), Beyond(msg::kMacroFull, 1194));
}

TEST(ConversionRun, RecordsUpTo32767Characters) {
  auto record = [](size_t length) {
    std::u16string text = u"7 5 10 20 30 40 ";
    text.resize(length, u'x');
    return text;
  };
  EXPECT_EQ(Convert({u"999", u"1 T", record(32767)}).size(), 7u);
  EXPECT_EQ(Refused({u"999", u"1 T", record(32768)}), Beyond(msg::kRecordTooLong, 3));
  // Long lines that never become records do not matter.
  std::u16string comment = u"#" + std::u16string(40000, u'x');
  EXPECT_EQ(Convert({comment, u"999", u"1 T"}).size(), 7u);
}

}  // namespace
}  // namespace qdvz
