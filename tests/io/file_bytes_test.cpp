#include "io/file_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace qdvz {
namespace {

// Files are read into room made from their size; every size around the steps of that room
// must come back whole.
TEST(ReadFileBytes, ReadsFilesOfEverySizeWhole) {
  test::TempDir dir;
  for (size_t size : {0, 1, 2, 65535, 65536, 65537, 200000}) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
    test::WriteBytes(dir / "f", bytes);
    Result<std::string> file = ReadFileBytes(dir / "f");
    ASSERT_TRUE(file) << size;
    EXPECT_EQ(*file, bytes) << size;
  }
}

#ifdef __linux__
// Some files of /proc report no size and hand out their text a page or so per call: a short
// read is no end there.
TEST(ReadFileBytes, ReadsFilesThatReportNoSize) {
  const std::filesystem::path symbols = "/proc/kallsyms";
  if (!std::filesystem::exists(symbols)) GTEST_SKIP() << "no " << symbols;
  ASSERT_EQ(std::filesystem::file_size(symbols), 0u);
  Result<std::string> file = ReadFileBytes(symbols);
  ASSERT_TRUE(file);
  std::string expected = test::ReadBytes(symbols);
  EXPECT_GT(expected.size(), 65536u);
  EXPECT_EQ(file->size(), expected.size());
  EXPECT_TRUE(*file == expected);
}
#endif

}  // namespace
}  // namespace qdvz
