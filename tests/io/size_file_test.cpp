#include "io/size_file.h"

#include <gtest/gtest.h>

#include "convert/messages.h"
#include "io/io_messages.h"
#include "support/refusal.h"
#include "support/temp_dir.h"

namespace qdvz {
namespace {

using test::Refusal;
using test::RefusalOf;

using Items = std::vector<std::u16string>;

TEST(LoadSizeFile, ReadsLinesForDisplayAndItemsForTheTable) {
  struct Case {
    const char* name;
    std::string bytes;
    std::u16string display;
    Items items;
  };
  const Case cases[] = {
      {"two lines",
       "1,2,3\r\n4,5,6\r\n",
       u"1,2,3\r\n4,5,6\r\n",
       {u"1", u"2", u"3", u"4", u"5", u"6"}},
      {"no final line end", "1, 2\r\n\"a,b\"", u"1, 2\r\n\"a,b\"\r\n", {u"1", u"2", u"a,b"}},
      {"leading comma", ",5\n", u",5\r\n", {u"", u"5"}},
      {"empty file", "", u"", {}},
      {"Japanese item", "\x95\xB6\x8E\x9A,3.5\r\n", u"文字,3.5\r\n", {u"文字", u"3.5"}},
  };
  test::TempDir dir;
  for (const Case& c : cases) {
    test::WriteBytes(dir / "size.qdc", c.bytes);
    auto loaded = LoadSizeFile(dir / "size.qdc");
    ASSERT_TRUE(loaded) << c.name;
    EXPECT_EQ(loaded->displayText, c.display) << c.name;
    SizeItems expected;
    std::copy(c.items.begin(), c.items.end(), expected.begin());
    EXPECT_EQ(loaded->table.items, expected) << c.name;
    EXPECT_FALSE(loaded->table.warning) << c.name;
  }
}

TEST(LoadSizeFile, HasNoLineLimit) {
  std::string bytes;
  for (int i = 0; i < 1500; ++i) bytes += "7\r\n";
  test::TempDir dir;
  test::WriteBytes(dir / "long.qdc", bytes);
  auto loaded = LoadSizeFile(dir / "long.qdc");
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->table.items[50], u"7");
  EXPECT_TRUE(loaded->table.warning);
  EXPECT_EQ(loaded->displayText.size(), 1500u * 3);
}

TEST(LoadSizeFile, RefusesAndLeavesNothing) {
  struct Case {
    const char* name;
    std::string bytes;
    Refusal refusal;
  };
  const Case cases[] = {
      {"unclosed quote", "1,2\r\n\"3,4\r\n", {msg::kUnclosedQuote, 2}},
      {"invalid byte", "1,2\r\n3,\xA0\r\n", {msg::kNotCp932, 2}},
      {"UTF-8 mark",
       "\xEF\xBB\xBF"
       "1,2\r\n",
       {msg::kUtf8File, 1}},
      {"NUL", std::string("1\0", 2), {msg::kNulInFile, 1}},
  };
  test::TempDir dir;
  for (const Case& c : cases) {
    test::WriteBytes(dir / "size.qdc", c.bytes);
    auto loaded = LoadSizeFile(dir / "size.qdc");
    ASSERT_FALSE(loaded) << c.name;
    EXPECT_EQ(RefusalOf(loaded), c.refusal) << c.name;
  }
  auto missing = LoadSizeFile(dir / "missing.qdc");
  ASSERT_FALSE(missing);
  EXPECT_EQ(RefusalOf(missing), (Refusal{msg::kFileNotFound, 0}));
}

}  // namespace
}  // namespace qdvz
