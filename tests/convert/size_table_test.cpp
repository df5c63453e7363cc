#include <gtest/gtest.h>

#include "convert/messages.h"
#include "convert/size_table.h"
#include "test_support.h"

namespace qdvz {
namespace {

std::vector<std::string> Items(std::initializer_list<const char*> lines) {
  Result<std::vector<std::u16string>> read = ReadSizeItems(test::Views(test::Lines(lines)));
  if (!read) {
    ADD_FAILURE() << ToUtf8(Describe(read.failure()));
    return {};
  }
  std::vector<std::string> items;
  for (const auto& item : *read) items.push_back(ToUtf8(item));
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
  Result<std::vector<std::u16string>> read =
      ReadSizeItems(test::Views(test::Lines({"1,2", "3,\"4"})));
  ASSERT_FALSE(read);
  EXPECT_EQ(read.failure(), (Failure{FailureKind::kBadSizeFile, msg::kUnclosedQuote, 2}));
}

TEST(MakeSizeTable, FillsFromSlotZeroAndWarnsBeyondTheLastSlot) {
  std::vector<std::u16string> items(60, u"n");
  SizeTable some = MakeSizeTable(std::span(items).first(30));
  EXPECT_EQ(some.items[29], u"n");
  EXPECT_EQ(some.items[30], u"");
  EXPECT_FALSE(some.warning);
  SizeTable all = MakeSizeTable(std::span(items).first(kSizeSlots));
  EXPECT_EQ(all.items[50], u"n");
  EXPECT_FALSE(all.warning);
  SizeTable more = MakeSizeTable(items);
  EXPECT_EQ(more.items[50], u"n");
  ASSERT_TRUE(more.warning);
  EXPECT_EQ(more.warning->message, msg::kSizeItemsOverflow);
  EXPECT_TRUE(HasSizeData(more.items));
  EXPECT_FALSE(HasSizeData(MakeSizeTable({}).items));
}

}  // namespace
}  // namespace qdvz
