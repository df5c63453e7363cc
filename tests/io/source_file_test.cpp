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

// The window keeps a file's lines as bytes and shows them decoded: the same lines as the
// conversion loads, each followed by CR LF, and the same refusal, down to the byte it names.
TEST(ShowSourceBytes, ShowsAndKeepsWhatTheConversionLoads) {
  struct Row {
    std::string bytes;
    int maxLines = kMaxLoadedLines;
    size_t kept = std::string::npos;  // how many of the bytes are kept, when not all
  };
  const Row rows[] = {
      {""},
      {"\r\n"},
      {"a\r\nb\nc\rd"},
      {"a\n\rb\r\n\r\n"},
      {"\x82\xA0\x83\x5C\r\n\xB1"},
      {"a\nb\nc\nd", 3, 6},
      {"a\nb\r\nc\r\n" + std::string(100, 'x'), 3, 8},  // few kept: copied out
      {std::string(100, 'x') + "\n\n", 1, 101},         // most kept: cut off in place
      {std::string("a\nb\nc\n\xA0\0", 8), 3, 6},        // faults beyond: unread
      {"\xEF\xBB\xBF"
       "a\r\n"},
      {std::string("\xFF\xFE"
                   "a\0",
                   4)},
      {"ok\r\nab\xA0\r\n"},             // refused at byte 6 of line 2
      {"ok\r\n\x82\xA0\x82"},           // a lead byte cut off at the end
      {std::string("ok\nx\0\n", 7)},    // a NUL byte in line 2
      {std::string("\xA0\nx\0\n", 6)},  // a bad byte before the NUL is named first
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.bytes));
    Result<LoadedLines> loaded = SplitSourceBytes(row.bytes, row.maxLines);
    Result<ShownSource> shown = ShowSourceBytes(row.bytes, row.maxLines);
    if (!loaded) {
      ASSERT_FALSE(shown);
      EXPECT_EQ(shown.failure(), loaded.failure());
      continue;
    }
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->text, JoinWithCrLf(loaded->lines));
    EXPECT_EQ(shown->truncated, loaded->truncated);
    EXPECT_EQ(shown->bytes, row.bytes.substr(0, row.kept));
    EXPECT_EQ(shown->truncated, row.kept != std::string::npos);
  }
}

}  // namespace
}  // namespace qdvz
