// Runs the statement table in tests/data/statements.tsv: each record converted as the only
// element of an open block must give exactly the statement listed (or none).
#include <gtest/gtest.h>

#include "convert/convert_records.h"
#include "test_support.h"

namespace qdvz {
namespace {

struct StatementCase {
  int tsvLine;
  std::string record;
  std::string statement;  // "-" when nothing is written
};

std::vector<StatementCase> LoadCases() {
  std::vector<StatementCase> cases;
  std::istringstream in(test::ReadFile(QDVZ_TEST_DATA "/statements.tsv"));
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '%') continue;
    size_t tab = line.find('\t');
    if (tab == std::string::npos) {
      ADD_FAILURE() << "statements.tsv:" << number << ": no tab";
      continue;
    }
    cases.push_back({number, line.substr(0, tab), line.substr(tab + 1)});
  }
  return cases;
}

TEST(Statements, EveryTableRowGivesItsStatement) {
  auto cases = LoadCases();
  ASSERT_GT(cases.size(), 90u);
  SizeItems sizes = test::ExampleSizes();
  for (const auto& c : cases) {
    SCOPED_TRACE("statements.tsv:" + std::to_string(c.tsvLine) + ": " + c.record);
    auto lines = test::Lines({"999", "1 T", c.record.c_str()});
    Result<std::u16string> converted = ConvertRecords(lines, sizes);
    ASSERT_TRUE(converted) << ToUtf8(converted.failure().message);
    auto document = test::DocumentLines(*converted);
    // Head (3 slots), begin line and two reserved slots, then the statement.
    if (c.statement == "-") {
      EXPECT_EQ(document.size(), 7u);
    } else {
      ASSERT_EQ(document.size(), 8u);
      EXPECT_EQ(document[6], c.statement);
    }
  }
}

}  // namespace
}  // namespace qdvz
