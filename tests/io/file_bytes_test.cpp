// Reading files whole, whatever their size and however the system hands them out.
#include "io/file_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "io/io_messages.h"
#include "support/temp_dir.h"
#ifndef _WIN32
#include "support/io_cli_faults.h"
#endif

namespace qdvz {
namespace {

std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
  return bytes;
}

// Files are read into room made from their size; every size around the steps of that room
// must come back whole.
TEST(ReadFileBytes, ReadsFilesOfEverySizeWhole) {
  test::TempDir dir;
  for (size_t size : {0, 1, 2, 65535, 65536, 65537, 200000}) {
    test::WriteBytes(dir / "f", Pattern(size));
    Result<std::string> file = ReadFileBytes(dir / "f");
    ASSERT_TRUE(file) << size;
    EXPECT_EQ(*file, Pattern(size)) << size;
  }
}

#ifndef _WIN32
// Some files of /proc report no size and hand out their text a page or so per call: a short
// read is no end there, and only an empty read is, even after an interrupted one.
TEST(ReadFileBytes, ReadsFilesThatReportNoSize) {
  const std::filesystem::path symbols = "/proc/kallsyms";
  if (!std::filesystem::exists(symbols)) GTEST_SKIP() << "no " << symbols;
  ASSERT_EQ(std::filesystem::file_size(symbols), 0u);
  Result<std::string> file = [&] {
    test::InjectedFaults interrupted({{test::Call::kRead, {test::kInterrupted}}});
    return ReadFileBytes(symbols);
  }();
  ASSERT_TRUE(file);
  std::string expected = test::ReadBytes(symbols);
  EXPECT_GT(expected.size(), 65536u);
  EXPECT_TRUE(*file == expected);
}

// Interrupted and short calls still read the whole file; failures are named in words, or by
// their number when they have none.
TEST(ReadFileBytes, FailuresOfTheSystem) {
  using test::Call;
  struct Row {
    const char* name;
    test::Faults faults;
    std::optional<std::u16string> message;  // none: the whole file is read
  };
  const Row rows[] = {
      {"open interrupted", {{Call::kOpen, {test::kInterrupted, test::kInterrupted}}}, {}},
      {"read interrupted", {{Call::kRead, {test::kInterrupted}}}, {}},
      {"short reads", {{Call::kRead, {test::kHalf, test::kHalf, test::kHalf}}}, {}},
      {"too many open files", {{Call::kOpen, {test::Failing(EMFILE)}}}, msg::kTooManyOpenFiles},
      {"read fails without words",
       {{Call::kRead, {test::Failing(EINVAL)}}},
       u"ファイルを読み込めません（エラー番号 22）"},
  };
  test::TempDir dir;
  test::WriteBytes(dir / "f", Pattern(100000));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::InjectedFaults faults(row.faults);
    Result<std::string> file = ReadFileBytes(dir / "f");
    if (row.message) {
      ASSERT_FALSE(file);
      EXPECT_EQ(file.failure().message, *row.message);
    } else {
      ASSERT_TRUE(file);
      EXPECT_TRUE(*file == Pattern(100000));
    }
  }
}
#endif

}  // namespace
}  // namespace qdvz
