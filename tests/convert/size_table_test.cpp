// The character-size file: its items, and the table made of them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/messages.h"
#include "convert/size_table.h"
#include "support/refusal.h"
#include "support/text.h"

namespace qdvz {
namespace {

struct ItemsCase {
  std::vector<std::string_view> lines;
  std::vector<std::string> items;
  int refusedLine = 0;  // the line of an unclosed quote
};

TEST(ReadSizeItems, CommasAndLineEndsSeparateItems) {
  const ItemsCase cases[] = {
      {{}, {}},
      {{"2.5,3,3.5", "2,2.4"}, {"2.5", "3", "3.5", "2", "2.4"}},
      {{"  2.5 ,\t3  "}, {"2.5", "3"}},
      {{"1, ,2"}, {"1", "", "2"}},
      {{"1,", "2"}, {"1", "", "2"}},
      {{",1"}, {"", "1"}},
      {{"1", "", "2"}, {"1", "", "2"}},
      // A quoted item may hold commas and blanks; what follows its closing quote is dropped.
      {{"\"1,5\",2"}, {"1,5", "2"}},
      {{"  \" 3 \" x,4", "\"5\""}, {" 3 ", "4", "5"}},
      {{"\"\"\",6"}, {"", "6"}},
      {{"a\"b,c"}, {"a\"b", "c"}},
      {{"1,2", "3,\"4"}, {}, 2},
      {{"\"1"}, {}, 1},
  };
  for (const ItemsCase& c : cases) {
    std::vector<std::u16string> lines;
    for (std::string_view line : c.lines) lines.push_back(test::U(line));
    Result<std::vector<std::u16string>> read = ReadSizeItems(test::Views(lines));
    std::optional<test::Refusal> expected;
    if (c.refusedLine) expected = test::Refusal{msg::kUnclosedQuote, c.refusedLine};
    std::vector<std::string> items;
    if (read) {
      for (const auto& item : *read) items.push_back(ToUtf8(item));
    } else {
      EXPECT_EQ(read.failure().kind, FailureKind::kBadSizeFile);
      EXPECT_FALSE(read.failure().message.empty());  // the user is told why
    }
    EXPECT_EQ(test::RefusalOf(read), expected) << testing::PrintToString(c.lines);
    EXPECT_EQ(items, c.items) << testing::PrintToString(c.lines);
  }
}

// Items fill the slots from slot 0; beyond the last slot they are left out, with a warning.
TEST(MakeSizeTable, FillsFromSlotZeroAndWarnsBeyondTheLastSlot) {
  for (int count : {0, 1, 30, kSizeSlots, kSizeSlots + 1, 60}) {
    std::vector<std::u16string> items;
    for (int i = 0; i < count; ++i) items.push_back(test::U("n" + std::to_string(i)));
    SizeTable table = MakeSizeTable(items);
    for (int slot = 0; slot < kSizeSlots; ++slot) {
      EXPECT_EQ(table.items[slot], slot < count ? items[slot] : u"") << count << " " << slot;
    }
    EXPECT_EQ(table.warning.has_value(), count > kSizeSlots) << count;
    if (table.warning) {
      EXPECT_EQ(table.warning->message, msg::kSizeItemsOverflow);
      EXPECT_FALSE(table.warning->message.empty());
    }
    EXPECT_EQ(HasSizeData(table.items), count > 0) << count;
  }
}

}  // namespace
}  // namespace qdvz
