// The statement table of tests/data/statements.tsv: each record, converted as the only element
// of an open block, gives exactly the statement listed ("-": none), which can be saved.
#include <gtest/gtest.h>

#include "convert/convert_records.h"
#include "io/save_text.h"
#include "support/data.h"
#include "support/text.h"

namespace qdvz {
namespace {

TEST(Statements, EveryTableRowGivesItsStatement) {
  std::vector<test::TsvRow> rows = test::ReadTsv("statements.tsv");
  ASSERT_GT(rows.size(), 100u);
  for (const test::TsvRow& row : rows) {
    SCOPED_TRACE("statements.tsv:" + std::to_string(row.line) + ": " + row.cells[0]);
    ASSERT_EQ(row.cells.size(), 2u);
    const Result<std::u16string> converted =
        ConvertRecords(test::Lines({"999", "1 T", row.cells[0]}), test::ExampleSizes());
    ASSERT_TRUE(converted) << ToUtf8(Describe(converted.failure()));
    EXPECT_TRUE(EncodeSavedText(*converted));
    // The head (3 slots), the begin line and its two reserved slots, then the statement.
    std::vector<std::string> document = test::DocumentLines(*converted);
    ASSERT_EQ(document.size(), row.cells[1] == "-" ? 7u : 8u);
    if (document.size() == 8) {
      EXPECT_EQ(document[6], row.cells[1]);
    }
  }
}

}  // namespace
}  // namespace qdvz
