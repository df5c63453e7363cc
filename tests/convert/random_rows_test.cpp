// Every row of the statement tables, with random field values: the record on the left, with
// {a} to {f} replaced by random numbers (and {d} by a digit 1 to 9), must give the statement on
// the right with the same values in their places ({m} is a number that is never negative).
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "convert/convert_records.h"
#include "test_support.h"

namespace qdvz {
namespace {

struct Row {
  const char* record;
  const char* statement;
};

constexpr Row kRows[] = {
    // Line rows.
    {"10 01 {a} {b} {c} {d}", "line(11, {a},  {b},  {c},  {d},  0,  0,  0 )"},
    {"101 10 {a} {b} {c} {d}", "line(12, {a},  {b},  {c},  {d},  0,  0,  0 )"},
    {"110 10 {a} {b} {c} {d}", "line(10, {a},  {b},  {c},  {d},  0,  0,  0 )"},
    {"102 20 {a} {b} {c} {d}", "line(21, {a},  {d},  {c},  {b},  0,  0,  0 )"},
    {"120 02 {a} {b} {c} {d}", "line(22, {a},  {d},  {c},  {b},  0,  0,  0 )"},
    {"3 01 {a} {b} {c} {d}", "# QDのｺｰﾄﾞ03,04 line(10, {a},  {b},  {c},   {d},  9,  9,  9 )"},
    {"55 03 {a} {b} {c} {d}", "# QDのｺｰﾄﾞ03,04 line(20, {a},  {b},  {c},  {d},  9,  9,  9 )"},
    {"101 00 {a} {b} {c} {d} {e} {f}", "line(10, {a},  {b},  {c},  {d},  {e},  {f},  9 )"},
    {"202 5 {a} {b} {c} {d} {e}", "line(20, {a},  {b},  {c},  {d},  {e},  9,  9 )"},
    {"55 08 {a} {b} {c} {d} {e} {f}", "line(99, {a},  {b},  {c},  {d},  {e},  {f}, 9 )"},
    {"00 55 {a} {b} {c} {d}", "line( 0, {a},  {b},  {c},  {d},  9,  9, 9 )"},
    {"55 1 {a} {b} {c} {d}", "line(10, {a},  {b},  {c},  {d},  9,  9,  9 )"},
    {"2 55 {a} {b} {c} {d}", "line(20, {a},  {b},  {c},   {d},  9,  9,  9 )"},
    {"55 0 {a} {b} {c} {d}", "line(10, {a},  {b},  {c},  {d},  9,  9,  9 )"},
    {"8 55 {a} {b} {c} {d}", "line(99, {a},  {b},  {c},  {d},  9,  9,  9 )"},
    // Arc rows, first form unless the marker stands later.
    {"4 00 {a} {b} {c} {d} e {m} {f}",
     "# QDのｺｰﾄﾞ03,04 arc(10,{a},  {b},  {m},  {c},  {d},  1,  9,  9,  9 )"},
    {"55 3 {a} {b} {c} {d} e {m} {f}",
     "# QDのｺｰﾄﾞ03,04 arc(20,{a},  {b},  {m},  {c},  {d},  1,  9,  9,  9 )"},
    {"101 00 {a} {b} {c} {d} {f} E {m} 1",
     "arc(10,{a},  {b},  {m},  {c},  {d},  1,  {f},  9,  9 )"},
    {"02 00 {a} {b} {c} {d} 7 8 e {m} 1", "arc(20, {a},  {b},  {m},  {c},  {d},  1,  9,  9 ,  9 )"},
    {"08 55 {a} {b} {c} {d} 7 8 9 E {m} 1",
     "arc(99, {a},  {b},  {m},  {c},  {d},  1,  9,  9 ,  9 )"},
    {"55 00 {a} {b} {c} {d} e {m} {f}", "arc(0 , {a},  {b},  {m},  {c},  {d},  1,  9,  9,  9 )"},
    {"55 1 {a} {b} {c} {d} {f} e {m}", "arc(10, {a},  {b},  {m},  {c},  {d},  1,  9,  9 ,  9 )"},
    {"2 55 {a} {b} {c} {d} e {m}", "arc(20, {a},  {b},  {m},  {c},  {d},  1,  9,  9 ,  9 )"},
    {"8 55 {a} {b} {c} {d} e {m}", "arc(99, {a},  {b},  {m},  {c},  {d},  1,  9,  9 ,  9 )"},
    {"0 55 {a} {b} {c} {d} {f} e {m}", "arc(0, {a},  {b},  {m},  {c},  {d},  1,  {f},  9,  9 )"},
    // Dot rows.
    {"03 00 {a} {b} {c} {d} 3100{d}", "# QDのｺｰﾄﾞ03,04 dot(10, {a},  {b},  {d},  9 )"},
    {"55 4 {a} {b} {c} {d} 3200{d}", "# QDのｺｰﾄﾞ03,04 dot(20, {a},  {b},  {d},  9 )"},
    {"1 00 {a} {b} {c} {d} 3000{d}", "dot(10, {a},  {b},  {d},  9 )"},
    {"202 00 {a} {b} {c} {d} 3000{d}", "dot(20, {a},  {b},  {d},  9 )"},
    {"09 00 {a} {b} {c} {d} 3000{d}", "dot(99, {a},  {b},  {d},  9 )"},
    {"0 00 {a} {b} {c} {d} 3000{d}", "dot(0 , {a},  {b},  {d},  9 )"},
    // Text cases; fields 4 and 6 are equal so the direction is 0.
    {"00 00 {a} {b} {c} {b} 1001{d} 103 \"{f}",
     "text(0 ,{a},  {b},  0,  2,  0,  {d},  3.5,  2.8,  9,  \"{f}\" )"},
    {"55 08 {a} {b} {c} {b} 1000{d} 2110 \"{e}",
     "text(99, {a},  {b},  0,  2,  1,  {d},  12,  9.6,  9,  \"{e}\" )"},
    {"01 01 {a} {b} {c} {b} 1000{d} 201 \"{f}",
     "text(10, {a},  {b},  0,  3,  0,  {d},  2.5,  2,  9,  \"{f}\" )"},
    {"22001 02 {a} {b} {c} {b} 1001{d} 702 \"{f}",
     "gettxt(20, {a},  {b},  0,  6,  0,  {d},  3,  2.4,  9,  \"{f}\" )"},
};

// A number as QD writes coordinates: an integer or a short decimal, sometimes negative.
// Below 10000, so that a type number in field 7 never makes a record a text or a dot.
std::string RandomNumber(std::mt19937& random, bool mayBeNegative = true) {
  std::uniform_int_distribution<int> magnitude(0, 9999), decimals(0, 3), sign(0, 3);
  std::string text = std::to_string(magnitude(random));
  int places = decimals(random);
  if (places > 0) {
    std::uniform_int_distribution<int> digit(0, 9);
    text += '.';
    for (int i = 0; i < places; ++i) text += static_cast<char>('0' + digit(random));
  }
  return mayBeNegative && sign(random) == 0 ? "-" + text : text;
}

std::string Fill(std::string text, const std::map<std::string, std::string>& values) {
  for (const auto& [name, value] : values) {
    for (size_t at; (at = text.find(name)) != std::string::npos;)
      text.replace(at, name.size(), value);
  }
  return text;
}

TEST(RandomRows, EveryRowCopiesTheFieldsIntoItsPlaces) {
  std::mt19937 random(20261206);
  SizeItems sizes = test::ExampleSizes();
  for (const Row& row : kRows) {
    for (int trial = 0; trial < 40; ++trial) {
      std::map<std::string, std::string> values;
      for (const char* name : {"{a}", "{b}", "{c}", "{e}", "{f}"})
        values[name] = RandomNumber(random);
      values["{d}"] = std::to_string(std::uniform_int_distribution<int>(1, 9)(random));
      values["{m}"] = RandomNumber(random, false);  // an arc's marker value: factor 1
      std::string record = Fill(row.record, values);
      std::string statement = Fill(row.statement, values);
      SCOPED_TRACE(record);
      auto document =
          test::DocumentLines(*ConvertRecords(test::Lines({"999", "1 T", record.c_str()}), sizes));
      ASSERT_EQ(document.size(), 8u);
      EXPECT_EQ(document[6], statement);
    }
  }
}

}  // namespace
}  // namespace qdvz
