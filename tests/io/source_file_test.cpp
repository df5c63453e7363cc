#include "io/source_file.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <string>
#include <vector>

#include "io/io_messages.h"
#include "support/refusal.h"
#include "support/temp_dir.h"

namespace qdvz {
namespace {

using test::Refusal;
using test::RefusalOf;

using Lines = std::vector<std::u16string_view>;

TEST(SplitSourceBytes, SplitsAtEveryKindOfLineEnd) {
  struct Case {
    const char* name;
    std::string bytes;
    Lines lines;
  };
  const Case cases[] = {
      {"empty file", "", {}},
      {"CR LF", "a\r\nb\r\n", {u"a", u"b"}},
      {"LF", "a\nb\n", {u"a", u"b"}},
      {"CR", "a\rb\r", {u"a", u"b"}},
      {"mixed", "a\r\nb\nc\rd", {u"a", u"b", u"c", u"d"}},
      {"LF CR is two line ends", "a\n\rb", {u"a", u"", u"b"}},
      {"no final line end", "a\r\nlast", {u"a", u"last"}},
      {"empty lines", "\r\n\r\nx\r\n\r\n", {u"", u"", u"x", u""}},
      {"one line end", "\r\n", {u""}},
      {"lone CR at the end", "x\r", {u"x"}},
      {"Japanese", "\x82\xA0\x83\x5C\r\n\x95\x5C", {u"あソ", u"表"}},
  };
  for (const Case& c : cases) {
    auto loaded = SplitSourceBytes(c.bytes);
    ASSERT_TRUE(loaded) << c.name;
    EXPECT_EQ(loaded->lines, c.lines) << c.name;
    EXPECT_FALSE(loaded->truncated) << c.name;
  }
}

std::string NumberedLines(int count, const char* end = "\r\n") {
  std::string bytes;
  for (int i = 1; i <= count; ++i) bytes += std::to_string(i) + end;
  return bytes;
}

TEST(SplitSourceBytes, LoadsAtMostTheLimit) {
  struct Case {
    std::string bytes;
    size_t loaded;
    bool truncated;
  };
  const Case cases[] = {
      {NumberedLines(1198), 1198, false},
      {NumberedLines(1199), 1199, false},
      {NumberedLines(1199).append("\r\n"), 1199, true},  // one more, empty line
      {NumberedLines(1199) + "x", 1199, true},
      {NumberedLines(1200), 1199, true},
      {NumberedLines(5000), 1199, true},
      {NumberedLines(5000, "\n"), 1199, true},
  };
  for (const Case& c : cases) {
    auto loaded = SplitSourceBytes(c.bytes);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->lines.size(), c.loaded);
    EXPECT_EQ(loaded->lines.front(), u"1");
    EXPECT_EQ(loaded->lines.back(), FromUtf8(std::to_string(c.loaded)));
    EXPECT_EQ(loaded->truncated, c.truncated) << c.bytes.size();
  }
}

TEST(SplitSourceBytes, RefusesWhatIsNotCodePage932Text) {
  struct Case {
    const char* name;
    std::string bytes;
    Refusal refusal;
  };
  const Case cases[] = {
      {"invalid byte", "ok\r\nok\r\nbad\xA0\r\n", {msg::kNotCp932, 3}},
      {"cut-off lead byte at the end", "ok\r\n\x82", {msg::kNotCp932, 2}},
      {"lead byte before the line end", "\x82\r\nok", {msg::kNotCp932, 1}},
      {"UTF-8 text", "ok\r\n\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86\r\n", {msg::kNotCp932, 2}},
      {"UTF-8 mark", "\xEF\xBB\xBFok\r\n", {msg::kUtf8File, 1}},
      {"UTF-16LE mark", "\xFF\xFEo\0k\0", {msg::kUtf16File, 1}},
      {"UTF-16BE mark", "\xFE\xFF\0o\0k", {msg::kUtf16File, 1}},
      {"NUL", std::string("a\r\nb\r\nc\0d\r\n", 10), {msg::kNulInFile, 3}},
      {"NUL before an invalid byte", std::string("\0\xA0", 2), {msg::kNulInFile, 1}},
      {"invalid byte before a NUL", std::string("\xA0\r\n\0", 4), {msg::kNotCp932, 1}},
  };
  for (const Case& c : cases) {
    auto loaded = SplitSourceBytes(c.bytes);
    ASSERT_FALSE(loaded) << c.name;
    EXPECT_EQ(RefusalOf(loaded), c.refusal) << c.name;
  }
}

// Lines are searched and decoded eight bytes at a time: a line end, a NUL or a character
// outside ASCII must be found at any place within such a word.
TEST(SplitSourceBytes, FindsWhatEndsALineAtEveryPlaceInAWord) {
  for (size_t at = 0; at < 18; ++at) {
    SCOPED_TRACE(at);
    const std::string before(at, 'a');
    const std::string after(17 - at, 'b');
    for (const char* end : {"\r\n", "\n", "\r"}) {
      auto loaded = SplitSourceBytes(before + end + after + "\x82\xA0" + after);
      ASSERT_TRUE(loaded);
      std::u16string second = FromUtf8(after) + u"あ" + FromUtf8(after);
      EXPECT_EQ(loaded->lines, (Lines{FromUtf8(before), second}));
    }
    auto withNul = SplitSourceBytes("x\r\n" + before + '\0' + after);
    EXPECT_EQ(RefusalOf(withNul), (Refusal{msg::kNulInFile, 2}));
    auto withBadByte = SplitSourceBytes("x\r\n" + before + '\xA0' + after);
    EXPECT_EQ(RefusalOf(withBadByte), (Refusal{msg::kNotCp932, 2}));
  }
}

TEST(SplitSourceBytes, IgnoresFaultsBeyondTheLimit) {
  std::string bytes = NumberedLines(1199) + std::string("\xA0\0", 2);
  auto loaded = SplitSourceBytes(bytes);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->lines.size(), 1199u);
  EXPECT_TRUE(loaded->truncated);
}

TEST(LoadSourceLines, ReadsAFile) {
  test::TempDir dir;
  test::WriteBytes(dir / "x.dat", "1,\x82\xA0\r\n999\r\n");
  auto loaded = LoadSourceLines(dir / "x.dat");
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->lines, (Lines{u"1,あ", u"999"}));
  EXPECT_FALSE(loaded->truncated);

  test::WriteBytes(dir / "big.dat", NumberedLines(1300));
  loaded = LoadSourceLines(dir / "big.dat", 1199);
  EXPECT_EQ(loaded->lines.size(), 1199u);
  EXPECT_TRUE(loaded->truncated);
}

TEST(LoadSourceLines, ReportsFilesThatCannotBeRead) {
  test::TempDir dir;
  test::WriteBytes(dir / "file", "x");
  struct Case {
    std::filesystem::path path;
    std::u16string message;
  };
  const Case cases[] = {
      {dir / "missing.dat", msg::kFileNotFound},
      {dir / "nofolder" / "x.dat", msg::kFileNotFound},
#ifdef _WIN32
      {dir / "file" / "x.dat", msg::kFileNotFound},
#else
      {dir / "file" / "x.dat", msg::kNotFolderOnPath},
#endif
      {dir.path(), msg::kIsFolder},
  };
  for (const Case& c : cases) {
    auto loaded = LoadSourceLines(c.path);
    ASSERT_FALSE(loaded) << c.path;
    EXPECT_EQ(RefusalOf(loaded), (Refusal{c.message, 0})) << c.path;
  }
}

#ifndef _WIN32
TEST(LoadSourceLines, ReportsAFileWithoutReadPermission) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  test::TempDir dir;
  test::WriteBytes(dir / "locked.dat", "x\r\n");
  chmod((dir / "locked.dat").c_str(), 0);
  auto loaded = LoadSourceLines(dir / "locked.dat");
  ASSERT_FALSE(loaded);
  EXPECT_EQ(RefusalOf(loaded), (Refusal{msg::kNoReadPermission, 0}));
}

TEST(LoadSourceLines, ReportsALinkThatLeadsNowhere) {
  // A link that points to itself never resolves.
  test::TempDir dir;
  std::filesystem::create_symlink("loop", dir / "loop");
  auto loaded = LoadSourceLines(dir / "loop");
  ASSERT_FALSE(loaded);
  EXPECT_EQ(RefusalOf(loaded), (Refusal{msg::kLinkLoop, 0}));
}

TEST(LoadSourceLines, RefusesAFileThatNeverEnds) {
  auto loaded = LoadSourceLines("/dev/zero");
  ASSERT_FALSE(loaded);
  EXPECT_EQ(RefusalOf(loaded), (Refusal{msg::kFileTooLarge, 0}));
}

#else

TEST(LoadSourceLines, ReadsJapaneseNames) {
  test::TempDir dir;
  test::WriteBytes(dir / "線記号.dat", "\x82\xA0\r\n");
  auto loaded = LoadSourceLines(dir / "線記号.dat");
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->lines, (Lines{u"あ"}));
}

TEST(LoadSourceLines, ReadsADevice) {
  auto loaded = LoadSourceLines("NUL");
  ASSERT_TRUE(loaded);
}

TEST(LoadSourceLines, ReportsAFileInUse) {
  // A file that another program holds open without sharing.
  test::TempDir dir;
  test::WriteBytes(dir / "held.dat", "x\r\n");
  HANDLE held = CreateFileW((dir / "held.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  auto loaded = LoadSourceLines(dir / "held.dat");
  CloseHandle(held);
  ASSERT_FALSE(loaded);
  EXPECT_EQ(RefusalOf(loaded), (Refusal{msg::kFileInUse, 0}));
}

#endif

}  // namespace
}  // namespace qdvz
