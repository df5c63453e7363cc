// Splitting a file's bytes into lines and decoding them; what the command line shows of this
// (the 1199 lines, the lines named for bad bytes) is in tests/data/qd2vz_cases.tsv.
#include "io/source_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/text.h"
#include "io/io_messages.h"
#include "io/save_text.h"
#include "support/refusal.h"

namespace qdvz {
namespace {

using test::Refusal;
using test::RefusalOf;

// The lines loaded, as UTF-8.
std::vector<std::string> Utf8Lines(const LoadedLines& loaded) {
  std::vector<std::string> lines;
  for (std::u16string_view line : loaded.lines) lines.push_back(ToUtf8(line));
  return lines;
}

TEST(SplitSourceBytes, SplitsAtEveryKindOfLineEndUpToTheLimit) {
  struct Row {
    std::string bytes;
    std::vector<std::string> lines;
    bool truncated = false;
    int maxLines = kMaxLoadedLines;
  };
  const Row rows[] = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"a\n\rb", {"a", "", "b"}},  // LF CR is two line ends
      {"\r\n\r\nx\r\n\r\n", {"", "", "x", ""}},
      {"\r\n", {""}},
      {"a\nb\nc", {"a", "b", "c"}, false, 3},
      {"a\nb\nc\r\n", {"a", "b", "c"}, false, 3},
      {"a\nb\nc\r\n\r\n", {"a", "b", "c"}, true, 3},  // one more, empty line
      {"a\nb\nc\nd", {"a", "b", "c"}, true, 3},
      {std::string("a\nb\nc\n\xA0\0", 8), {"a", "b", "c"}, true, 3},  // faults beyond: unread
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.bytes);
    auto loaded = SplitSourceBytes(row.bytes, row.maxLines);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(Utf8Lines(*loaded), row.lines);
    EXPECT_EQ(loaded->truncated, row.truncated);
  }
}

// Bytes are searched, decoded and encoded eight bytes (four UTF-16 units) at a time: a line
// end, a NUL or a character outside ASCII, good or bad, must be found at any place in a word.
TEST(SplitSourceBytes, FindsWhatMattersAtEveryPlaceInAWord) {
  for (size_t at = 0; at < 18; ++at) {
    SCOPED_TRACE(at);
    const std::string before(at, 'a'), after(17 - at, 'b');
    const std::u16string before16 = FromUtf8(before), after16 = FromUtf8(after);
    for (const char* end : {"\r\n", "\n", "\r"}) {
      auto loaded = SplitSourceBytes(before + end + after + "\x82\xA0" + after);
      ASSERT_TRUE(loaded);
      EXPECT_EQ(Utf8Lines(*loaded), (std::vector<std::string>{before, after + "あ" + after}));
    }
    EXPECT_EQ(RefusalOf(SplitSourceBytes("x\r\n" + before + '\0' + after)),
              (Refusal{msg::kNulInFile, 2}));
    EXPECT_EQ(RefusalOf(SplitSourceBytes("x\r\n" + before + '\xA0' + after)),
              (Refusal{msg::kNotCp932, 2}));
    EXPECT_EQ(*EncodeSavedText(before16 + u"あ" + after16), before + "\x82\xA0" + after + "\r\n");
    EXPECT_EQ(EncodeSavedText(before16 + u"\u0100" + after16).failure().position, at);
  }
}

}  // namespace
}  // namespace qdvz
