// The conversion run as a whole: the worked runs (blocks, values carried from record to
// record), the macro's limits, and the refusals of data that is no QD data or goes beyond
// what the macro holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "convert/convert_records.h"
#include "convert/messages.h"
#include "cp932/cp932.h"
#include "io/source_file.h"
#include "support/data.h"
#include "support/refusal.h"
#include "support/temp_dir.h"
#include "support/text.h"

namespace qdvz {
namespace {

using test::Lines;

// Every worked run of tests/data/runs gives the document its saved bytes hold (code page 932,
// followed by one CR LF).
TEST(ConversionRun, EveryWorkedRunGivesItsDocument) {
  int runs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(test::DataPath("runs"))) {
    if (entry.path().extension() != ".dat") continue;
    ++runs;
    std::string name = entry.path().stem().string();
    Result<LoadedLines> loaded = SplitSourceBytes(test::ReadBytes(entry.path()));
    ASSERT_TRUE(loaded) << name;
    const Result<std::u16string> document = ConvertRecords(loaded->lines, test::ExampleSizes());
    ASSERT_TRUE(document) << name << ": " << ToUtf8(Describe(document.failure()));
    const Result<std::u16string> saved = DecodeCp932(
        test::ReadBytes(std::filesystem::path(entry.path()).replace_extension(".expected")));
    ASSERT_TRUE(saved && saved->ends_with(u"\r\n\r\n")) << name;
    // Compared as UTF-8 text, so that a failure shows the lines that differ.
    EXPECT_EQ(ToUtf8(*document), ToUtf8(saved->substr(0, saved->size() - 2))) << name;
  }
  EXPECT_GE(runs, 11);
}

// Head and block take slots 0 to 5, each statement one more; the last line is an empty slot.
std::vector<std::u16string> BlockOf(int statements) {
  std::vector<std::u16string> lines = {u"999", u"1 T"};
  lines.resize(2 + statements, u"02 20 1 2 3 4");
  return lines;
}

struct RefusalCase {
  std::vector<std::u16string> lines;
  test::Refusal refusal;  // none (empty) when the data converts
  FailureKind kind = FailureKind::kBeyondMacro;
  SizeItems sizes = test::ExampleSizes();
};

TEST(ConversionRun, RefusesWhatIsNoQdDataOrBeyondTheMacro) {
  using enum FailureKind;
  const RefusalCase cases[] = {
      {Lines({"1 A", "# 999"}), {msg::kNotQdData, 0}, kNotQdData},
      {Lines({"999", "1 A", "vzm", "99 0"}), {msg::kNotQdData, 3}, kNotQdData},
      {Lines({"999", "VZM 1"}), {msg::kNotQdData, 2}, kNotQdData},
      {Lines({"999"}), {msg::kNoSizeData, 0}, kNoSizeData, SizeItems{}},
      // No size number at all; a marker in field 8 leaves "E" there. (Numbers out of range
      // are the hostile files of tests/data/qd2vz_cases.tsv.)
      {Lines({"999", "1 T", "01 01 1 2 3 4 10003"}), {msg::kSizeNumberOutOfRange, 3}},
      {Lines({"999", "1 T", "01 01 1 2 3 4 10005 E 5 1"}), {msg::kSizeNumberOutOfRange, 3}},
      // An arc factor, twice the second value, must be a single-precision number.
      {Lines({"999", "1 T", "01 00 1 2 3 4 e -5 1e39"}), {msg::kFactorOutOfRange, 3}},
      {Lines({"999", "1 T", "01 00 1 2 3 4 e -5 2e38"}), {msg::kFactorOutOfRange, 3}},
      // The macro's limits without a block end (with one, and the longest records, are in
      // tests/data/qd2vz_cases.tsv).
      {BlockOf(1194), {}},
      {BlockOf(1195), {msg::kMacroFull, 1197}},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(ToUtf8(c.lines.back().substr(0, 40)));
    Result<std::u16string> document = ConvertRecords(c.lines, c.sizes);
    EXPECT_EQ(test::RefusalOf(document).value_or(test::Refusal{}), c.refusal);
    if (!document) {
      EXPECT_EQ(document.failure().kind, c.kind);
      EXPECT_FALSE(document.failure().message.empty());  // the user is told why
    }
  }
}

}  // namespace
}  // namespace qdvz
