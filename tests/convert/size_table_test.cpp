#include <gtest/gtest.h>

#include "convert/messages.h"
#include "convert/size_table.h"
#include "test_support.h"

namespace qdvz {
namespace {

std::vector<std::string> Items(std::initializer_list<const char*> lines) {
  SizeItemsRead read = ReadSizeItems(test::Views(test::Lines(lines)));
  EXPECT_FALSE(read.error);
  std::vector<std::string> items;
  for (const auto& item : read.items) items.push_back(ToUtf8(item));
  return items;
}

using V = std::vector<std::string>;

TEST(ReadSizeItems, CommasAndLineEndsSeparateItems) {
  EXPECT_EQ(Items({"2.5,3,3.5", "2,2.4"}), (V{"2.5", "3", "3.5", "2", "2.4"}));
  EXPECT_EQ(Items({"  2.5 ,\t3  "}), (V{"2.5", "3"}));
  EXPECT_EQ(Items({"1,,2"}), (V{"1", "", "2"}));
  EXPECT_EQ(Items({"1,", "2"}), (V{"1", "", "2"}));
  EXPECT_EQ(Items({",1"}), (V{"", "1"}));
  EXPECT_EQ(Items({"1", "", "2"}), (V{"1", "", "2"}));
  EXPECT_EQ(Items({}), V{});
}

TEST(ReadSizeItems, QuotedItemsMayHoldCommas) {
  EXPECT_EQ(Items({"\"1,5\",2"}), (V{"1,5", "2"}));
  EXPECT_EQ(Items({"  \" 3 \" x,4"}), (V{" 3 ", "4"}));
  EXPECT_EQ(Items({"a\"b,c"}), (V{"a\"b", "c"}));
}

TEST(ReadSizeItems, UnclosedQuoteIsRefusedWithItsLine) {
  SizeItemsRead read = ReadSizeItems(test::Views(test::Lines({"1,2", "3,\"4"})));
  ASSERT_TRUE(read.error);
  EXPECT_EQ(*read.error, (Refusal{msg::kUnclosedQuote, 2}));
  EXPECT_TRUE(read.items.empty());
}

TEST(StoreSizeItems, FillsFromSlotZeroAndNeverPastTheLastSlot) {
  SizeItems table;
  table[40] = u"old";
  std::vector<std::u16string> items(60, u"n");
  EXPECT_EQ(StoreSizeItems(std::span(items).first(30), table), 30);
  EXPECT_EQ(table[29], u"n");
  EXPECT_EQ(table[40], u"old");
  EXPECT_EQ(StoreSizeItems(items, table), kSizeSlots);
  EXPECT_EQ(table[50], u"n");
  EXPECT_TRUE(HasSizeData(table));
  table[0].clear();
  EXPECT_FALSE(HasSizeData(table));
}

}  // namespace
}  // namespace qdvz
