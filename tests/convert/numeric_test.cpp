#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "convert/numeric.h"
#include "support/text.h"

namespace qdvz {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// A sign and up to fifteen digits with or without a decimal point are read by a fast path,
// longer numbers parsed:
// each way gives the nearest double, and -0 stays -0. Beyond a double a number becomes
// infinity or zero by its size, for which digits beyond a double's precision still count.
TEST(ValueOf, ReadsTheLeadingNumericPart) {
  auto check = [](const std::string& text, double expected) {
    double value = ValueOf(test::U(text));
    EXPECT_EQ(value, expected) << '"' << text << '"';
    EXPECT_EQ(std::signbit(value), std::signbit(expected)) << '"' << text << '"';
  };
  struct {
    const char* text;
    double value;
  } cases[] = {
      {"", 0},          {"abc", 0},        {"12", 12},          {"  -5", -5},
      {"+7", 7},        {"100.5", 100.5},  {".5", 0.5},         {"1 2 3", 123},
      {"1\t2\n3", 123}, {"- 5", -5},       {"3e2", 300},        {"3E-2", 0.03},
      {"2D3", 2000},    {"5d-1", 0.5},     {"1e 2", 100},       {"1e", 1},
      {"1e+", 1},       {"12abc", 12},     {"1.2.3", 1.2},      {"e5", 0},
      {"-", 0},         {".", 0},          {"-.", 0},           {"30000.4", 30000.4},
      {"05", 5},        {"１２", 0},       {"10005abc", 10005}, {"0", 0},
      {"-0", -0.0},     {" -0", -0.0},     {"-0.0", -0.0},      {"1e400", kInf},
      {"1e-400", 0},    {"-1e-400", -0.0}, {"3e1", 30},         {"25E-10", 2.5e-9},
      {"1e2 3", 1e23},
  };
  for (const auto& c : cases) check(c.text, c.value);
  for (const char* digits : {"123456789",
                             "-123456789",
                             "+123456789",
                             "1234567890",
                             "-987654321098765",
                             "1234567890123456",
                             "-9007199254740993",
                             "12345678901234567",
                             "00000000000000000001",
                             "-00000000000000000000",
                             "0.1",
                             "-0.75",
                             "1234.5678",
                             "3.14159265358979",
                             "5.",
                             "999999999999999.",
                             "12345678901234.5",
                             "0.000000000000001",
                             "-1.2345678901234567",
                             "0.3000000000000000444",
                             "7.0e1"}) {
    check(digits, std::strtod(digits, nullptr));
  }
  check("0.0001e99999", kInf);
  check("-1e99999999999", -kInf);
  check(std::string(400, '9'), kInf);
  check("0." + std::string(400, '0') + "1", 0);
  check("9." + std::string(400, '9') + "e308", kInf);
  check("-" + std::string(400, '0') + "1e-330", -0.0);
  check("1" + std::string(59, '0') + ".5", 1e59);
  check("-0." + std::string(60, '0') + "25", -2.5e-61);
}

TEST(IntegerOf, RoundsHalvesToEvenWithinSixteenBits) {
  const std::pair<double, int16_t> cases[] = {
      {2.5, 2},  {3.5, 4},         {-2.5, -2},       {2.6, 3},
      {-0.5, 0}, {32767.0, 32767}, {32767.4, 32767}, {-32768.5, -32768},
  };
  for (auto [number, integer] : cases) EXPECT_EQ(IntegerOf(number), integer) << number;
  for (double number : {32767.5, -32769.0, kInf, -kInf, std::nan("")}) {
    EXPECT_EQ(IntegerOf(number), std::nullopt) << number;
  }
}

TEST(SignedText, BlankBeforeZeroAndPositive) {
  const std::pair<int, std::u16string_view> cases[] = {
      {20, u" 20"}, {0, u" 0"}, {-5, u"-5"}, {32767, u" 32767"}, {-32768, u"-32768"}};
  for (auto [value, text] : cases) EXPECT_EQ(SignedText(value), text) << value;
}

TEST(SingleText, SevenSignificantDigitsPlainOrWithExponent) {
  constexpr float kMax = std::numeric_limits<float>::max();
  const std::pair<float, const char*> cases[] = {
      {1.5f, "1.5"},
      {6.0f, "6"},
      {0.0f, "0"},
      {-0.0f, "0"},
      {0.2f, "0.2"},
      {-0.25f, "-0.25"},
      {1234567.0f, "1234567"},
      {9999999.0f, "9999999"},
      {12345678.0f, "1.234568E+07"},
      {15000000.0f, "1.5E+07"},
      {0.00001f, "0.00001"},
      {0.000001f, "1E-06"},
      {1.0e20f, "1E+20"},
      {-3.0e-9f, "-3E-09"},
      {100.0f, "100"},
      {0.1f + 0.2f, "0.3"},
      {2469.1356f, "2469.135"},  // the float below the decimal: rounds down
      {1234568.5f, "1234568"},   // an exact tie goes to the even digit
      {123456.75f, "123456.8"},  // ties with digits after the point, and before it none
      {0.25390625f, "0.2539062"},
      {999999.96f, "999999.9"},
      {-0.000123456789f, "-0.0001234568"},
      {kMax, "3.402823E+38"},
  };
  for (auto [value, text] : cases) EXPECT_EQ(SingleText(value), test::U(text)) << value;
}

}  // namespace
}  // namespace qdvz
