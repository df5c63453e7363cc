// What a name leads to, and a window's path as the file system takes it.
#include "io/file_kind.h"

#include <gtest/gtest.h>

#include "io/fs_path.h"
#include "support/temp_dir.h"

namespace qdvz {
namespace {

// What a name leads to. Windows reads a reserved name as its device in any folder, with any
// extension: such a name is told by the name alone, whether or not the device opens.
TEST(FileKind, KindsOfWhatANameLeadsTo) {
  namespace fs = std::filesystem;
  test::TempDir dir;
  test::WriteBytes(dir / "x.txt", "x");
  struct Row {
    fs::path path;
    FileKind kind;
  };
  const Row rows[] = {
      {dir / "x.txt", FileKind::kRegular},       {dir.path(), FileKind::kFolder},
      {dir / "missing.txt", FileKind::kMissing},
#ifdef _WIN32
      {L"\\\\.\\NUL", FileKind::kDevice},        {L"\\\\.\\pipe\\qdvz", FileKind::kPipeOrSocket},
      {dir / "nul.txt", FileKind::kDevice},      {dir / "Con .txt", FileKind::kDevice},
      {dir / "lpt1.x.dat", FileKind::kDevice},   {dir / "PRN", FileKind::kDevice},
      {dir / "COM9.txt", FileKind::kDevice},     {dir / "aux.", FileKind::kDevice},
      {dir / "xnul.txt", FileKind::kMissing},
#else
      {"/dev/null", FileKind::kDevice},
#endif
  };
  for (const Row& row : rows) {
    EXPECT_EQ(KindOf(row.path), row.kind) << test::Utf8Name(row.path);
  }
}

#ifdef _WIN32
// The text is the path itself: even a name that no code page can hold reaches the file system
// unchanged.
TEST(FsPath, KeepsEveryCodeUnit) {
  EXPECT_EQ(ToFsPath(u"C:\\\xD800x.dat").native(), L"C:\\\xD800x.dat");
}
#endif

}  // namespace
}  // namespace qdvz
