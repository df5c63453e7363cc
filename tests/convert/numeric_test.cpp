#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "convert/numeric.h"
#include "convert/text.h"

namespace qdvz {
namespace {

TEST(ValueOf, ReadsTheLeadingNumericPart) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"", 0},       {"abc", 0},     {"12", 12},
      {"  -5", -5},  {"+7", 7},      {"100.5", 100.5},
      {".5", 0.5},   {"1 2 3", 123}, {"1\t2", 12},
      {"- 5", -5},   {"3e2", 300},   {"3E-2", 0.03},
      {"2D3", 2000}, {"1e", 1},      {"1e+", 1},
      {"12abc", 12}, {"1.2.3", 1.2}, {"e5", 0},
      {"-", 0},      {".", 0},       {"30000.4", 30000.4},
      {"05", 5},     {"１２", 0},    {"10005abc", 10005},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(ValueOf(FromUtf8(c.text)), c.value) << '"' << c.text << '"';
  }
}

// Integers up to 15 digits are added up digit by digit, longer ones and the rest parsed:
// both ways must give the same double, the sign of zero included.
TEST(ValueOf, ShortIntegersReadAsParsed) {
  for (const char* text : {"0", "-0", "7", "0000000000000042", "32767", "-32768", "999999999999999",
                           "-999999999999999", "9999999999999999", "12345678901234567",
                           "9007199254740993", "00000000000000000001"}) {
    double parsed = std::strtod(text, nullptr);
    double value = ValueOf(FromUtf8(text));
    EXPECT_EQ(value, parsed) << text;
    EXPECT_EQ(std::signbit(value), std::signbit(parsed)) << text;
  }
}

TEST(ValueOf, HugeNumbersBecomeInfinityTinyOnesZero) {
  EXPECT_TRUE(std::isinf(ValueOf(u"1e400")));
  EXPECT_TRUE(std::isinf(ValueOf(u"-1e99999999999")));
  EXPECT_LT(ValueOf(u"-1e400"), 0);
  EXPECT_EQ(ValueOf(u"1e-400"), 0.0);
  EXPECT_TRUE(std::isinf(ValueOf(FromUtf8(std::string(400, '9')))));
  // Digits beyond what a double holds still count for the size of the number.
  EXPECT_DOUBLE_EQ(ValueOf(FromUtf8("1" + std::string(59, '0') + ".5")), 1e59);
  EXPECT_DOUBLE_EQ(ValueOf(FromUtf8("-0." + std::string(60, '0') + "25")), -2.5e-61);
}

TEST(IntegerOf, RoundsHalvesToEvenWithinSixteenBits) {
  EXPECT_EQ(IntegerOf(2.5), 2);
  EXPECT_EQ(IntegerOf(3.5), 4);
  EXPECT_EQ(IntegerOf(-2.5), -2);
  EXPECT_EQ(IntegerOf(2.6), 3);
  EXPECT_EQ(IntegerOf(32767.0), 32767);
  EXPECT_EQ(IntegerOf(32767.4), 32767);
  EXPECT_EQ(IntegerOf(-32768.5), -32768);
  EXPECT_EQ(IntegerOf(32767.5), std::nullopt);
  EXPECT_EQ(IntegerOf(-32769.0), std::nullopt);
  EXPECT_EQ(IntegerOf(std::numeric_limits<double>::infinity()), std::nullopt);
  EXPECT_EQ(IntegerOf(std::nan("")), std::nullopt);
}

TEST(SignedText, BlankBeforeZeroAndPositive) {
  EXPECT_EQ(SignedText(20), u" 20");
  EXPECT_EQ(SignedText(0), u" 0");
  EXPECT_EQ(SignedText(-5), u"-5");
  EXPECT_EQ(SignedText(-32768), u"-32768");
}

TEST(SingleText, SevenSignificantDigitsPlainOrWithExponent) {
  struct Case {
    float value;
    const char* text;
  } cases[] = {
      {1.5f, "1.5"},
      {6.0f, "6"},
      {0.0f, "0"},
      {-0.0f, "0"},
      {0.2f, "0.2"},
      {-0.25f, "-0.25"},
      {1234567.0f, "1234567"},
      {9999999.0f, "9999999"},
      {12345678.0f, "1.234568E+07"},
      {0.00001f, "0.00001"},
      {0.000001f, "1E-06"},
      {1.0e20f, "1E+20"},
      {-3.0e-9f, "-3E-09"},
      {100.0f, "100"},
      {0.1f + 0.2f, "0.3"},
      {std::numeric_limits<float>::max(), "3.402823E+38"},
  };
  for (const auto& c : cases) EXPECT_EQ(ToUtf8(SingleText(c.value)), c.text) << c.value;
}

}  // namespace
}  // namespace qdvz
